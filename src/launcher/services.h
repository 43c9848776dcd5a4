#pragma once

#include "common/app_settings.h"
#include "common/list_server.h"
#include "platform/dialogs.h"

// What the launcher's windows are given by whoever creates them: the application gives the real
// store and boxes, tests give a temporary store and scripted boxes.
struct Services {
    AppSettings* settings = nullptr;
    platform::Dialogs* dialogs = nullptr;
    // The list server; tests point it at a peer of their own on 127.0.0.1.
    QString listServerHost = defaultListServerHost();
    quint16 serverListPort = kServerListPort;
};

// The application's title, used by message and input boxes that name no title of their own.
inline QString applicationTitle() { return QStringLiteral("Quillmere"); }

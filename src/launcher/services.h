#pragma once

#include "common/app_settings.h"
#include "platform/dialogs.h"
#include "platform/program_start.h"

// What the launcher's windows are given by whoever creates them: the application gives the real
// store and boxes, tests give a temporary store and scripted boxes.
struct Services {
    AppSettings* settings = nullptr;
    platform::Dialogs* dialogs = nullptr;
    platform::ProgramStarter* starter = nullptr;
};

// The application's title, used by message and input boxes that name no title of their own.
inline QString applicationTitle() { return QStringLiteral("Quillmere"); }

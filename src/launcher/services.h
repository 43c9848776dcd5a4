#pragma once

#include "common/app_settings.h"
#include "platform/dialogs.h"

#include <functional>

namespace platform {
class Registry;
}

// What the launcher's windows are given by whoever creates them: the application gives the real
// store and boxes, tests give a temporary store and scripted boxes.
struct Services {
    AppSettings* settings = nullptr;
    platform::Dialogs* dialogs = nullptr;
    platform::Registry* registry = nullptr; // the game's registry; none: no key opens
    std::function<bool(const QString&)> launch = {}; // starts a program by its command line
};

// The application's title, used by message and input boxes that name no title of their own.
inline QString applicationTitle() { return QStringLiteral("Quillmere"); }

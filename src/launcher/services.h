#pragma once

#include "common/app_settings.h"
#include "common/game_port.h"
#include "common/list_server.h"
#include "platform/dialogs.h"
#include "platform/program_start.h"

namespace platform {
class NativePopupMenu;
class Registry;
} // namespace platform

// What the launcher's windows are given by whoever creates them: the application gives the real
// store, boxes, program start and registry; tests give a temporary store, scripted boxes, a
// recording program start and a registry in a temporary Wine prefix.
struct Services {
    AppSettings* settings = nullptr;
    platform::Dialogs* dialogs = nullptr;
    platform::ProgramStarter* starter = nullptr;
    platform::Registry* registry = nullptr; // the game's registry; none: no key opens
    // The list server; tests point it at a peer of their own on 127.0.0.1.
    QString listServerHost = defaultListServerHost();
    quint16 serverListPort = kServerListPort;
    platform::NativePopupMenu* popupMenu = nullptr; // the "Add-ons" popup; none: nothing is chosen
    // The password check of a private server: the server's port and the fixed local one.
    quint16 passwordServerPort = kGamePort;
    quint16 passwordLocalPort = kGamePort;
    quint16 listingPort = kListingPort;
    // The port game servers are queried on; tests point it at a peer of their own.
    quint16 gamePort = kGamePort;
};

// The application's title, used by message and input boxes that name no title of their own.
inline QString applicationTitle() { return QStringLiteral("Quillmere"); }

// Said once for an action whose settings were not all stored.
inline void ReportUnsavedSettings(platform::Dialogs& dialogs, bool saved) {
    if (!saved)
        dialogs.messageBox(QStringLiteral("Sorry, the settings could not be saved."),
                           QStringLiteral("Error"));
}

// Stores one action's values in their order; any that could not be stored is said once.
inline void SaveSettings(const Services& services,
                         const QList<std::pair<SettingKey, QString>>& values) {
    bool saved = true;
    for (const auto& [key, value] : values)
        saved = services.settings->SaveSetting(key, value) && saved;
    ReportUnsavedSettings(*services.dialogs, saved);
}

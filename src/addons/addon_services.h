#pragma once

class AppSettings;

namespace platform {
class Dialogs;
class NativePopupMenu;
class ProgramStarter;
} // namespace platform

// What the add-on windows are given by the window that holds the "Add-ons" button.
struct AddonServices {
    AppSettings* settings = nullptr;
    platform::Dialogs* dialogs = nullptr;
    platform::ProgramStarter* starter = nullptr;
    platform::NativePopupMenu* popupMenu = nullptr;
};

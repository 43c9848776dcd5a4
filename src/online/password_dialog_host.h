#pragma once

#include <QString>
#include <optional>

class PasswordDialog;

// What opening the password window needs of the main window, read when it opens.
class PasswordDialogHost {
public:
    virtual ~PasswordDialogHost() = default;

    // The bare address of the selected server, without its private mark.
    virtual QString privateServerAddress() const = 0;
    // The version column of the server table's selected row; nullopt when no row is selected.
    virtual std::optional<QString> selectedServerVersion() const = 0;
    // The executables of the 1.24 build and of the 1.21 to 1.23 build, as the window holds them.
    virtual QString tsfExecutable() const = 0;
    virtual QString gameExecutable() const = 0;
    // The password window, loaded on first use; the same one while it stays loaded.
    virtual PasswordDialog& passwordDialog() = 0;
};

// What the password window reads of the main window when it opens.
#include "launcher/main_window.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "protocol/server_table_model.h"

QString MainWindow::privateServerAddress() const {
    return Frame1->Text5;
}

std::optional<QString> MainWindow::selectedServerVersion() const {
    const int row = Frame1->selectedRow();
    if (row < 0)
        return std::nullopt;
    return Frame1->serverTable().text(row, ServerTableModel::VersionColumn);
}

QString MainWindow::tsfExecutable() const {
    return TSFPath;
}

QString MainWindow::gameExecutable() const {
    return path;
}

PasswordDialog& MainWindow::passwordDialog() {
    if (!m_form9) {
        m_form9 = new PasswordDialog(*m_services.dialogs, m_services.starter,
                                     m_services.passwordServerPort, m_services.passwordLocalPort);
        m_form9->setWindowIcon(windowIcon());
    }
    return *m_form9;
}

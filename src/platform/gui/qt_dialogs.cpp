#include "platform/gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

void QtDialogs::messageBox(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter,
                                           const QString& initialFolder) {
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), title,
                                                        initialFolder, toQtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

QString QtDialogs::toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString name = parts[i];
        // Qt reads the patterns only from "(...)" at the end of a filter; without it every word
        // of the description would become a pattern ("[*.exe]" matches no file).
        const QString tail = u'(' + patterns + u')';
        out << (name.endsWith(tail) ? name : name + u' ' + tail);
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace platform

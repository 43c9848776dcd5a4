#include "platform/gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace platform {

// The texts shown come from outside (addresses, command lines, server names): a box that guessed
// rich text would draw "<h2>..." as a heading.
void QtDialogs::messageBox(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    // QInputDialog has no setter for the prompt's text format; its one label is the prompt.
    if (auto* label = dialog.findChild<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter,
                                           const QString& initialFolder) {
    QFileDialog dialog(QApplication::activeWindow(), title, initialFolder, toQtFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Wine keeps the game under ~/.wine, which Qt's own dialog would hide. A desktop's dialog
    // ignores this and keeps its own setting.
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
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

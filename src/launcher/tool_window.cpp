#include "launcher/tool_window.h"

#include "platform/gui/place.h"

ToolWindow::ToolWindow(const char* name, const QString& caption, QSize clientSize) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(clientSize);
}

void ToolWindow::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        platform::centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

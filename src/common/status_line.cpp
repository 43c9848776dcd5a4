#include "common/status_line.h"

StatusLine::StatusLine(QObject* parent)
    : QObject(parent), m_text(QStringLiteral("Status: Program Loaded")) {}

void StatusLine::setText(const QString& text) {
    m_text = text;
    emit changed(m_text);
}

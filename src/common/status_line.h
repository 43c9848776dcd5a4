#pragma once

#include <QObject>
#include <QString>

// The main window's one-line status text. Every write replaces it whole; the last writer wins.
class StatusLine : public QObject {
    Q_OBJECT
public:
    explicit StatusLine(QObject* parent = nullptr);

    const QString& text() const { return m_text; }
    void setText(const QString& text);

signals:
    void changed(const QString& text);

private:
    QString m_text;
};

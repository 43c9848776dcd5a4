#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace support {

// Writes a shell script at `file` (folders made as needed) that records how it was started:
// `head` (a shell word; by default its current folder), then each argument, into
// recordOf(file). Returns `file`.
QString writeRecordingProgram(const QString& file, const QByteArray& head = "\"$(pwd -P)\"");

QString recordOf(const QString& program);

// The record of a started recording program, waited for at most `timeoutMs`: its current
// folder followed by its arguments. nullopt when none appeared in time.
std::optional<QStringList> waitForRecord(const QString& program, int timeoutMs = 5000);

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace support

#include "support/recording_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace support {

QString writeRecordingProgram(const QString& file, const QByteArray& head) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile script(file);
    if (script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Written aside and renamed, so a reader never sees half a record.
        script.write("#!/bin/sh\n"
                     "PATH=/usr/bin:/bin\n"
                     "printf '%s\\0' " +
                     head +
                     " \"$@\" > \"$0.args.part\" &&"
                     " mv \"$0.args.part\" \"$0.args\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
    }
    return file;
}

QString recordOf(const QString& program) {
    return program + QStringLiteral(".args");
}

std::optional<QStringList> waitForRecord(const QString& program, int timeoutMs) {
    const QString record = recordOf(program);
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(record); }, timeoutMs))
        return std::nullopt;
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList fields;
    const QList<QByteArray> parts = file.readAll().split('\0');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) // the last NUL ends the record
        fields << QString::fromLocal8Bit(parts[i]);
    return fields;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const QString& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value.toLocal8Bit());
}

ScopedEnvironment::~ScopedEnvironment() {
    if (m_wasSet)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

} // namespace support

#pragma once

#include "platform/program_start.h"

#include <QStringList>

namespace support {

// Starts nothing: records every command line it is given and reports the scripted result.
class RecordingStarter final : public platform::ProgramStarter {
public:
    bool start(const QString& commandLine) override {
        m_lines << commandLine;
        return m_result;
    }

    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }
    void setResult(bool started) { m_result = started; }

private:
    QStringList m_lines;
    bool m_result = true;
};

} // namespace support

#pragma once

#include "platform/program_start.h"

#include <QStringList>

namespace support {

// Starts nothing: records every command line it is given and reports the scripted result.
class RecordingStarter final : public platform::ProgramStarter {
public:
    platform::StartResult start(const QString& commandLine) override {
        m_lines << commandLine;
        platform::StartResult result = m_result;
        // A line that names no program is reported with the line itself.
        if (result.outcome == platform::StartResult::Outcome::NoProgram)
            result.subject = commandLine;
        return result;
    }

    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }
    // false: every line names no program.
    void setResult(bool started) {
        m_result = started
                       ? platform::StartResult{}
                       : platform::StartResult{platform::StartResult::Outcome::NoProgram, {}, {}};
    }
    void setResult(platform::StartResult result) { m_result = std::move(result); }

private:
    QStringList m_lines;
    platform::StartResult m_result;
};

} // namespace support

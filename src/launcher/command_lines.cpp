#include "launcher/command_lines.h"

namespace {

std::optional<QString> executable(int tsfValue, const QString& path, const QString& tsfPath) {
    if (tsfValue == 1)
        return tsfPath;
    if (tsfValue == 0)
        return path;
    return std::nullopt;
}

} // namespace

std::optional<QString> JoinCommandLine(const JoinValues& values) {
    const std::optional<QString> exe = executable(values.tsCheck, values.path, values.tsfPath);
    if (!exe)
        return std::nullopt;
    return *exe + QStringLiteral(" -connect ") + values.address + values.spySwitch;
}

std::optional<QString> ServerCommandLine(const ServeValues& values) {
    const std::optional<QString> exe = executable(values.check1, values.path, values.tsfPath);
    if (!exe)
        return std::nullopt;
    QString line = *exe + QStringLiteral(" -server -") + values.gameType;
    if (values.gameType == QStringLiteral("Coop")) {
        const QString difficulty =
            values.coopDifficulty.isEmpty() ? QStringLiteral("easy") : values.coopDifficulty;
        line += QStringLiteral(" -") + difficulty;
    }
    return line + QStringLiteral(" -Counts ") + values.count + QStringLiteral(" -Maxplayers ") +
           values.maxPlayersArg + u' ' + values.level + values.spySwitch;
}

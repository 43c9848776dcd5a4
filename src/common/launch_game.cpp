#include "common/launch_game.h"

#include "platform/dialogs.h"

using Outcome = platform::StartResult::Outcome;

platform::StartResult LaunchGame(platform::ProgramStarter* starter, const QString& commandLine) {
    if (!starter)
        return {Outcome::NoProgram, commandLine, {}};
    return starter->start(commandLine);
}

void ReportStartFailure(platform::Dialogs& dialogs, const platform::StartResult& result) {
    QString text;
    switch (result.outcome) {
    case Outcome::Started:
        return;
    case Outcome::NoProgram:
        text = QStringLiteral("Could not find a program to start in: ") + result.subject;
        break;
    case Outcome::NoWine:
        text = QStringLiteral("Wine is needed to start ") + result.subject +
               QStringLiteral(". Install Wine and try again.");
        break;
    case Outcome::Failed:
        text = QStringLiteral("Could not start ") + result.subject + QStringLiteral(": ") +
               result.reason;
        break;
    }
    dialogs.messageBox(text, QStringLiteral("Error"));
}

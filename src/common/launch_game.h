#pragma once

#include "platform/program_start.h"

#include <QString>

namespace platform {
class Dialogs;
}

// The one way the launcher starts a program: the game, an add-on or the character map. The
// program named at the head of the line starts with the rest as its arguments; nothing waits for
// it. The result says why nothing started (no such file, a game path that was never set, no
// Wine, a start the system refused).
platform::StartResult LaunchGame(platform::ProgramStarter* starter, const QString& commandLine);

// A start that failed is shown in a box titled "Error"; a started program says nothing.
void ReportStartFailure(platform::Dialogs& dialogs, const platform::StartResult& result);

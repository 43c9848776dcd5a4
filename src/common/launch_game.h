#pragma once

#include <QString>

namespace platform {
class ProgramStarter;
}

// The one way the launcher starts a program: the game, an add-on or the character map. The
// program named at the head of the line starts with the rest as its arguments; nothing waits for
// it. False when it could not be started (no such file, a game path that was never set); callers
// pass over a failed start without a word.
bool LaunchGame(platform::ProgramStarter* starter, const QString& commandLine);

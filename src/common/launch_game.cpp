#include "common/launch_game.h"

#include "platform/program_start.h"

bool LaunchGame(platform::ProgramStarter* starter, const QString& commandLine) {
    return starter && starter->start(commandLine);
}

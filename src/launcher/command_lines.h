#pragma once

#include <QString>
#include <optional>

// The game's command lines, built from the values of the join and serve pages as they stand at
// "Finish". Every piece goes in as it is: nothing is trimmed, checked or quoted, and an executable
// path with blanks stays unquoted (the program start finds where it ends).

// What joining reads.
struct JoinValues {
    QString path;      // `path`: the 1.21 to 1.23 executable
    QString tsfPath;   // `TSFPath`: the 1.24 executable
    int tsCheck = 0;   // `TSCheck`: 1 joins with the 1.24 build, 0 with the older one
    QString address;   // `Text4`
    QString spySwitch; // `SpySwitch`
};

// What hosting reads.
struct ServeValues {
    QString path;           // `path`
    QString tsfPath;        // `TSFPath`
    int check1 = 0;         // `Check1`: 1 hosts with the 1.24 build, 0 with the older one
    QString gameType;       // `GameType`: "Battle", "Coop", "Capture", "Race" or "Treasure"
    QString coopDifficulty; // `CoopDifficulty`: "easy", "medium", "hard", or empty
    QString count;          // `Text3`: roasts, laps, gems or points
    QString maxPlayersArg;  // `MaxPlayersArg`, copied from `Text1` before the line is built
    QString level;          // `Level`: the level file name
    QString spySwitch;      // `SpySwitch`
};

// executable " -connect " address spy. nullopt when `tsCheck` is neither 0 nor 1: no build is
// chosen, so nothing is to be started.
std::optional<QString> JoinCommandLine(const JoinValues& values);

// executable " -server -" type [" -" difficulty, for "Coop" only] " -Counts " count
// " -Maxplayers " max " " level spy. A coop game whose difficulty was never chosen carries
// "easy", the one the page shows selected. nullopt when `check1` is neither 0 nor 1.
std::optional<QString> ServerCommandLine(const ServeValues& values);

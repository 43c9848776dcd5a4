#pragma once

#include <functional>
#include <memory>
#include <signal.h>

namespace platform {

// A write past the file-size limit (RLIMIT_FSIZE) would kill the launcher with SIGXFSZ, silently
// and with a cut temporary file left behind; ignored, the write fails with EFBIG and is reported
// like any other failed write. Called once, at the start of main.
void ignoreFileSizeSignal();

// An ignored signal stays ignored across exec, so a program the launcher starts would inherit
// what ignoreFileSizeSignal() set. While one of these lives, the launcher's own actions are the
// defaults, and so are those of every process it forks meanwhile; hold one around each start.
// (Qt 6.4 runs no child-process modifier for a detached start, hence the switch in this process.
// One thread: nothing else runs while it is switched.)
class DefaultSignalsForChildren {
public:
    DefaultSignalsForChildren();
    ~DefaultSignalsForChildren();
    DefaultSignalsForChildren(const DefaultSignalsForChildren&) = delete;
    DefaultSignalsForChildren& operator=(const DefaultSignalsForChildren&) = delete;

private:
    struct sigaction m_fileSize {};
};

// SIGTERM (logout, shutdown, kill), SIGINT (Ctrl+C) and SIGHUP (the terminal gone) would end the
// launcher at once, losing a profile still on its way into Wine. While one of these lives, each
// of them calls `received` from the event loop instead, as a request to end. A signal that is
// ignored when it is made stays ignored (nohup ignores SIGHUP). One at a time.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> received);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    struct State;
    std::unique_ptr<State> m;
};

} // namespace platform

#include "platform/signal_actions.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
void setFileSizeAction(void (*action)(int), struct sigaction* previous) {
    struct sigaction wanted {};
    wanted.sa_handler = action;
    ::sigaction(SIGXFSZ, &wanted, previous);
}

constexpr std::array kTerminationSignals{SIGTERM, SIGINT, SIGHUP};

// Where the handler tells the event loop: writing to a socket is among the few things a signal
// handler may safely do.
volatile sig_atomic_t g_signalWriteEnd = -1;

void onTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalWriteEnd, &byte, 1);
    errno = saved;
}
} // namespace

void ignoreFileSizeSignal() {
    setFileSizeAction(SIG_IGN, nullptr);
}

DefaultSignalsForChildren::DefaultSignalsForChildren() {
    setFileSizeAction(SIG_DFL, &m_fileSize);
}

DefaultSignalsForChildren::~DefaultSignalsForChildren() {
    ::sigaction(SIGXFSZ, &m_fileSize, nullptr);
}

struct TerminationSignals::State {
    std::function<void()> received;
    int ends[2] = {-1, -1}; // read, write
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<struct sigaction, kTerminationSignals.size()> previous{};
    std::array<bool, kTerminationSignals.size()> handled{};
};

TerminationSignals::TerminationSignals(std::function<void()> received)
    : m(std::make_unique<State>()) {
    m->received = std::move(received);
    // Close-on-exec, so that Wine and the game do not inherit it; non-blocking, so that a burst
    // of signals never stops the handler, and the reader takes all that came at once.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m->ends) != 0)
        return;
    g_signalWriteEnd = m->ends[1];
    m->notifier = std::make_unique<QSocketNotifier>(m->ends[0], QSocketNotifier::Read);
    QObject::connect(m->notifier.get(), &QSocketNotifier::activated, [state = m.get()] {
        char bytes[64];
        while (::read(state->ends[0], bytes, sizeof bytes) > 0) {
        }
        if (state->received)
            state->received();
    });
    for (std::size_t i = 0; i < kTerminationSignals.size(); ++i) {
        struct sigaction current {};
        if (::sigaction(kTerminationSignals[i], nullptr, &current) != 0 ||
            current.sa_handler == SIG_IGN)
            continue;
        struct sigaction wanted {};
        wanted.sa_handler = onTerminationSignal;
        wanted.sa_flags = SA_RESTART;
        sigemptyset(&wanted.sa_mask);
        m->handled[i] = ::sigaction(kTerminationSignals[i], &wanted, &m->previous[i]) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < kTerminationSignals.size(); ++i)
        if (m->handled[i])
            ::sigaction(kTerminationSignals[i], &m->previous[i], nullptr);
    m->notifier.reset();
    if (g_signalWriteEnd == m->ends[1])
        g_signalWriteEnd = -1;
    for (const int end : m->ends)
        if (end >= 0)
            ::close(end);
}

} // namespace platform

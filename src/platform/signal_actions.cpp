#include "platform/signal_actions.h"

namespace platform {

namespace {
void setFileSizeAction(void (*action)(int), struct sigaction* previous) {
    struct sigaction wanted {};
    wanted.sa_handler = action;
    ::sigaction(SIGXFSZ, &wanted, previous);
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

} // namespace platform

#include "platform/program_exit.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
EndProgramHandler& handler() {
    static EndProgramHandler h;
    return h;
}
} // namespace

void endProgram() {
    if (handler()) {
        handler()();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

EndProgramHandler setEndProgramHandler(EndProgramHandler h) {
    EndProgramHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace platform

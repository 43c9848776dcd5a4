#pragma once

#include <cstdlib>

// Stops the run when a property of the code under test does not hold, so that libFuzzer keeps
// the input that broke it.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

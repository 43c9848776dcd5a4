#include "common/timing.h"

#include <algorithm>
#include <cmath>

namespace timing {

namespace {
double g_scale = 1.0;
}

int scaled(int milliseconds) {
    if (milliseconds <= 0)
        return milliseconds;
    return std::max(1, int(std::lround(milliseconds * g_scale)));
}

void setScale(double factor) { g_scale = factor; }
double scale() { return g_scale; }

} // namespace timing

#include "common/timing.h"

#include <algorithm>
#include <cmath>

#include <QTimer>

namespace timing {

QTimer* oneShot(QObject* parent, const char* name) {
    auto* t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setSingleShot(true);
    return t;
}

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

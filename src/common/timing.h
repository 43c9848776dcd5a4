#pragma once

// Delays of the launcher's timers, in milliseconds as the launcher uses them. Tests shrink them
// all by one factor so that their order (100 ms before 200 ms) is kept without waiting.
class QObject;
class QTimer;

namespace timing {

// A stopped one-shot timer owned by `parent`, named `name` (its objectName) so tests can find it.
QTimer* oneShot(QObject* parent, const char* name);

int scaled(int milliseconds);
void setScale(double factor);
double scale();

} // namespace timing

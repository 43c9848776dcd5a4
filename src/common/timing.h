#pragma once

// Delays of the launcher's timers, in milliseconds as the launcher uses them. Tests shrink them
// all by one factor so that their order (100 ms before 200 ms) is kept without waiting.
namespace timing {

int scaled(int milliseconds);
void setScale(double factor);
double scale();

} // namespace timing

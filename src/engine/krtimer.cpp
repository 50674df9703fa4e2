#include "engine/krtimer.h"

FrameTimer::FrameTimer(plat::Clock* clock) : m_clock(clock) {
    start = last = Now();
}

// Millisecond resolution as the game has always had, but 64-bit: it never wraps.
double FrameTimer::Now() {
    plat::Clock* clock = m_clock != nullptr ? m_clock : plat::Platform().clock;
    return static_cast<double>(clock->Milliseconds()) / 1000.0;
}

void FrameTimer::Tick() {
    double t = Now();
    rawDelta = t > last ? t - last : 0.0;
    gameDelta = rawDelta;
    last = t > last ? t : last;
    if (clampOn && gameDelta > maxDelta) {
        gameDelta = maxDelta;
    }
    if (scaleOn) {
        gameDelta = gameDelta * scale;
    }
}

float FrameTimer::Elapsed() { return static_cast<float>(Now()) - static_cast<float>(start); }

void FrameTimer::Reset() {
    start = last = Now();
    gameDelta = rawDelta = 0.0;
    scale = 1.0;
    clampOn = false;
    scaleOn = false;
}

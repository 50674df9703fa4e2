// Frame clock: a raw delta for the GUI, cameras and input, and a clamped, scaled game delta for the
// simulation.
#pragma once

#include "platform/platform.h"

#include <cstdint>

class FrameTimer {
public:
    // Reads the platform's clock unless given one.
    explicit FrameTimer(plat::Clock* clock = nullptr);

    void Tick();
    // Seconds since construction or the last Reset.
    float Elapsed();
    void Reset();

    double start = 0.0;
    double last = 0.0;
    double gameDelta = 0.0;
    double maxDelta = 0.05;
    bool clampOn = false;
    double scale = 1.0;
    bool scaleOn = false;
    double rawDelta = 0.0;

private:
    double Now();

    plat::Clock* m_clock;
};

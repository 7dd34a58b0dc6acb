#pragma once

// Keeps frames from starting more often than a cap allows, on a drift-free schedule: each frame's
// start is the previous target plus one period, not "now plus a period", so small sleeping errors
// do not add up. A frame that ends late by less than a period is caught up by starting the next at
// once; one later than that restarts the schedule from now rather than rushing to catch up (which
// would run the world in a burst after a hitch).
//
// Pure logic on a clock the caller reads: tests drive it with made-up times.
class FramePacer {
public:
    explicit FramePacer(int framesPerSecond = 0) { setCap(framesPerSecond); }
    // 0 or less: no cap, every wait is 0.
    void setCap(int framesPerSecond);
    double period() const { return period_; }

    // Called once a frame ends (after the swap and the event poll), at time `now` in seconds.
    // Returns how long to wait before the next frame starts (0: start it now).
    double waitAfterFrame(double now);

private:
    double period_ = 0.0;
    double next_ = 0.0; // when the next frame is due
    bool started_ = false;
};

// Sleeps the calling thread for about `seconds` (nothing for 0 or less); never spins.
void sleepSeconds(double seconds);

#include "app/FramePacer.h"

#include <time.h>

#include <cerrno>
#include <cmath>

void FramePacer::setCap(int framesPerSecond) {
    period_ = framesPerSecond > 0 ? 1.0 / framesPerSecond : 0.0;
    started_ = false;
}

double FramePacer::waitAfterFrame(double now) {
    if (period_ <= 0.0)
        return 0.0;
    if (!started_) {
        // The schedule starts with the first frame that ends: the next one may begin right away.
        started_ = true;
        next_ = now;
        return 0.0;
    }
    next_ += period_;
    if (now <= next_)
        return next_ - now;
    if (now - next_ > period_)
        next_ = now; // too far behind: start over from here
    return 0.0;
}

void sleepSeconds(double seconds) {
    if (!(seconds > 0.0))
        return;
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(seconds);
    wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
    // A signal may cut the sleep short; go on sleeping for what is left.
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

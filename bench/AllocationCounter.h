#pragma once

#include <cstdint>

// Counts every call of the global operator new in this process (the benchmark binary replaces it),
// so that a stretch of frames can be checked for heap traffic. Counting never allocates.
namespace alloccount {

struct Counts {
    std::uint64_t all = 0;        // every thread: the physics worker, driver threads, ...
    std::uint64_t mainThread = 0; // the thread that called markMainThread
    std::uint64_t bytes = 0;      // requested bytes, every thread
};

// Call once, first thing in main: allocations on this thread are counted apart.
void markMainThread();
Counts current();

// While on, each allocation (any thread) also keeps its call stack, the first few hundred only;
// printSites writes the distinct stacks with their counts to stderr, with symbol names where the
// binary exports them.
void startRecordingSites();
void stopRecordingSites();
void printSites(int maxSites);

} // namespace alloccount

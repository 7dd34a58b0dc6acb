#include "AllocationCounter.h"

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<std::uint64_t> allCount{0}, mainCount{0}, byteCount{0};
thread_local bool onMainThread = false;
thread_local bool insideRecorder = false;

// Fixed storage: recording must not allocate, or it would count (and record) itself.
constexpr int StackDepth = 14;
constexpr int SiteCapacity = 512;
struct Site {
    void* frames[StackDepth];
    int depth;
};
Site sites[SiteCapacity];
std::atomic<int> siteCount{0};
std::atomic<bool> recording{false};

void count(std::size_t size) {
    allCount.fetch_add(1, std::memory_order_relaxed);
    byteCount.fetch_add(size, std::memory_order_relaxed);
    if (onMainThread)
        mainCount.fetch_add(1, std::memory_order_relaxed);
    if (recording.load(std::memory_order_relaxed) && !insideRecorder) {
        const int slot = siteCount.fetch_add(1, std::memory_order_relaxed);
        if (slot < SiteCapacity) {
            insideRecorder = true;
            sites[slot].depth = backtrace(sites[slot].frames, StackDepth);
            insideRecorder = false;
        }
    }
}

void* allocate(std::size_t size) {
    count(size);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    count(size);
    void* p = nullptr;
    const std::size_t a = static_cast<std::size_t>(alignment) < sizeof(void*) ? sizeof(void*)
                                                                                : static_cast<std::size_t>(alignment);
    if (posix_memalign(&p, a, size ? size : 1) != 0)
        throw std::bad_alloc();
    return p;
}

bool sameStack(const Site& a, const Site& b) {
    return a.depth == b.depth && std::memcmp(a.frames, b.frames, sizeof(void*) * static_cast<std::size_t>(a.depth)) == 0;
}

} // namespace

namespace alloccount {

void markMainThread() {
    onMainThread = true;
    // backtrace loads its unwinder on first use, which allocates: do that now, outside any count.
    void* warmUp[2];
    backtrace(warmUp, 2);
}

Counts current() {
    Counts c;
    c.all = allCount.load(std::memory_order_relaxed);
    c.mainThread = mainCount.load(std::memory_order_relaxed);
    c.bytes = byteCount.load(std::memory_order_relaxed);
    return c;
}

void startRecordingSites() {
    siteCount.store(0);
    recording.store(true);
}

void stopRecordingSites() { recording.store(false); }

void printSites(int maxSites) {
    const int n = siteCount.load() < SiteCapacity ? siteCount.load() : SiteCapacity;
    bool counted[SiteCapacity] = {};
    int printed = 0;
    for (int i = 0; i < n && printed < maxSites; ++i) {
        if (counted[i])
            continue;
        int same = 0;
        for (int j = i; j < n; ++j)
            if (!counted[j] && sameStack(sites[i], sites[j])) {
                counted[j] = true;
                ++same;
            }
        std::fprintf(stderr, "allocation site (%d times):\n", same);
        std::fflush(stderr);
        backtrace_symbols_fd(sites[i].frames, sites[i].depth, STDERR_FILENO);
        ++printed;
    }
}

} // namespace alloccount

// The replaced global allocation functions. Every form funnels into allocate / allocateAligned.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    try {
        return allocateAligned(size, a);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    try {
        return allocateAligned(size, a);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

// How fast the game starts and plays: the real start-up and frame loop at the settings' window
// size, driven by a fixed script, with every frame's stages timed (glFinish after the GL stages).
// Prints numbers; it checks nothing. Run from the build's run folder (runtree/game) under an X server:
//   ./glorbit_bench [--frames N] [--warmup N] [--physics-steps N] [--alloc-sites] [--soak N]
//                   [--shots DIR]          also save every 50th frame, on a fixed 1/60 s game clock
//                   [--scale S]            the timed session at render scale S instead of 1
//   ./glorbit_bench --compare DIR_A DIR_B  compare two sets of saved frames, nothing else
//   ./glorbit_bench --physics [--physics-steps N]  one line: the physics step against raw Bullet, no window
#include "AllocationCounter.h"
#include "PhysicsComparison.h"
#include "RealTime.h"
#include "ScriptedPlay.h"
#include "Screenshots.h"

#include "app/AppState.h"
#include "app/Game.h"
#include "model/AnimatedModel.h"

#include <GLFW/glfw3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Ahead of main: the moment the process's own code first runs.
const double codeStart =
    std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Seconds the process has existed, from the kernel's record of its start (1/CLK_TCK resolution).
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    // Field 22 (starttime) counted from field 3, which follows the command name.
    const char* p = text.c_str() + close + 2;
    for (int field = 3; field < 22 && *p; ++field)
        p = std::strchr(p, ' ') + 1;
    const double startTicks = std::strtod(p, nullptr);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    return static_cast<double>(boot.tv_sec) + static_cast<double>(boot.tv_nsec) * 1e-9 -
           startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long residentKiB() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

struct Options {
    int frames = ScriptedPlay::CycleFrames;
    int warmup = 60;
    int physicsSteps = 3000;
    int physicsRounds = 3;
    bool allocSites = false;
    bool physicsOnly = false;
    int soak = 0;
    std::string shots;                    // folder for pictures; empty: none
    float stageScale = 1.0f;              // render scale of the timed session (--scale)
    std::string compareBefore, compareAfter; // --compare: only compare two folders
};

// Every this many frames a picture, when asked for.
constexpr int ShotEvery = 50;
// Every this many steady frames, this many reference frames (outside the frames' own timings).
constexpr int ReferenceEvery = 10, ReferenceGroup = 2;

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--alloc-sites") {
            o.allocSites = true;
            continue;
        }
        if (arg == "--physics") {
            o.physicsOnly = true;
            continue;
        }
        if (arg == "--shots" && hasValue) {
            o.shots = argv[++i];
            continue;
        }
        if (arg == "--scale" && hasValue) {
            bool ok = true;
            o.stageScale = parseRenderScale(argv[++i], ok);
            if (!ok || o.stageScale == RenderScaleAuto) {
                std::cout << "not a render scale from " << MinRenderScale << " to 1: " << argv[i] << std::endl;
                return false;
            }
            continue;
        }
        if (arg == "--compare" && i + 2 < argc) {
            o.compareBefore = argv[++i];
            o.compareAfter = argv[++i];
            continue;
        }
        int* target = arg == "--frames"          ? &o.frames
                      : arg == "--warmup"        ? &o.warmup
                      : arg == "--physics-steps" ? &o.physicsSteps
                      : arg == "--soak"          ? &o.soak
                                                 : nullptr;
        if (!target || !hasValue) {
            std::cout << "usage: glorbit_bench [--frames N] [--warmup N] [--physics-steps N] [--alloc-sites] "
                         "[--soak N] [--shots DIR] [--scale S] | --compare DIR_A DIR_B | --physics"
                      << std::endl;
            return false;
        }
        char* end = nullptr;
        const long value = std::strtol(argv[++i], &end, 10);
        if (*end != '\0' || value < 0 || value > 10000000) {
            std::cout << "not a count: " << argv[i] << std::endl;
            return false;
        }
        *target = static_cast<int>(value);
    }
    if (o.frames < 1)
        o.frames = 1;
    if (o.warmup >= o.frames)
        o.warmup = o.frames - 1;
    return true;
}

double percentile(std::vector<double> v, double q) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(v.size())));
    return v[rank == 0 ? 0 : rank - 1];
}

double mean(const std::vector<double>& v) {
    double sum = 0.0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
}

// One frame's measurements.
struct FrameRecord {
    double total = 0;
    FrameTimings stages;
    std::uint64_t mainAllocations = 0, allAllocations = 0;
    bool freeCamera = false;
};

// Runs one frame of the script with its stages timed; the allocation counts cover the input
// script too, which itself allocates nothing.
FrameRecord timedFrame(Game& game, ScriptedPlay& script, int frame) {
    FrameRecord r;
    r.freeCamera = ScriptedPlay::freeCameraFrame(frame);
    const alloccount::Counts before = alloccount::current();
    const double start = now();
    script.before(frame);
    runFrame(game, FrameOptions{true, &r.stages});
    r.total = now() - start;
    const alloccount::Counts after = alloccount::current();
    r.mainAllocations = after.mainThread - before.mainThread;
    r.allAllocations = after.all - before.all;
    return r;
}

void printStages(const std::vector<FrameRecord>& frames) {
    struct Stage {
        const char* name;
        double FrameTimings::*slot;
    };
    const Stage stages[] = {{"input+cameras", &FrameTimings::input}, {"physics step", &FrameTimings::physics},
                            {"animation clock", &FrameTimings::animation}, {"draw (objects)", &FrameTimings::draw},
                            {"sky", &FrameTimings::sky}, {"bloom", &FrameTimings::bloom},
                            {"swap+events", &FrameTimings::swap}};
    std::printf("  %-16s %9s %9s %9s\n", "stage", "mean ms", "median", "p95");
    for (const Stage& s : stages) {
        std::vector<double> ms;
        for (const FrameRecord& f : frames)
            ms.push_back(f.stages.*(s.slot) * 1e3);
        std::printf("  %-16s %9.3f %9.3f %9.3f\n", s.name, mean(ms), percentile(ms, 0.5), percentile(ms, 0.95));
    }
}

// CPU cost of posing the creature's skeleton, which the draw stage does once per frame.
double poseMicroseconds() {
    AnimatedModel& model = appState().playerObject.animatedModel;
    constexpr int Calls = 2000;
    const double start = now();
    for (int i = 0; i < Calls; ++i)
        model.animate();
    return (now() - start) / Calls * 1e6;
}

int soak(Game& game, ScriptedPlay& script, int frames) {
    const int segment = std::max(1, frames / 10);
    std::printf("soak: %d frames at %dx%d, a line every %d frames\n", frames, game.settings.width,
                game.settings.height, segment);
    std::printf("  %-13s %10s %10s %13s %23s\n", "frames", "median ms", "p95 ms", "resident MiB",
                "allocs/frame main, all");
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(segment));
    std::uint64_t allocations = 0, allThreadAllocations = 0;
    long residentAtHalf = 0;
    int frame = 0;
    for (; frame < frames && !glfwWindowShouldClose(game.window); ++frame) {
        const FrameRecord r = timedFrame(game, script, frame);
        ms.push_back(r.total * 1e3);
        allocations += r.mainAllocations;
        allThreadAllocations += r.allAllocations;
        if (frame + 1 == frames / 2)
            residentAtHalf = residentKiB();
        if ((frame + 1) % segment == 0 || frame + 1 == frames) {
            const double n = static_cast<double>(ms.size());
            std::printf("  %6d-%-6d %10.2f %10.2f %13.1f %15.3f %7.3f\n", frame + 1 - static_cast<int>(ms.size()),
                        frame, percentile(ms, 0.5), percentile(ms, 0.95), residentKiB() / 1024.0,
                        static_cast<double>(allocations) / n, static_cast<double>(allThreadAllocations) / n);
            std::fflush(stdout);
            ms.clear();
            allocations = allThreadAllocations = 0;
        }
    }
    if (frame < frames)
        std::printf("the game ended after %d frames\n", frame);
    std::printf("resident memory growth over the second half: %ld KiB; peak (ru_maxrss) %.1f MiB\n",
                residentKiB() - residentAtHalf, peakResidentKiB() / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    alloccount::markMainThread();
    const double mainStart = now();
    Options options;
    if (!parse(argc, argv, options))
        return 2;
    if (!options.compareBefore.empty()) {
        const int largest = screenshots::compare(options.compareBefore, options.compareAfter);
        std::printf("largest difference over all pictures: %d of 255\n", largest);
        return largest < 0 ? 1 : 0;
    }
    if (options.physicsOnly)
        return printPhysicsStep(options.physicsSteps);

    // The start-up of main, each step timed.
    Game game;
    Settings shipped;
    double t = now(), seconds[6] = {};
    const StartResult started = startGame(game, [&](StartStep step, Game& g) {
        seconds[static_cast<int>(step)] = now() - t;
        if (step == StartStep::Settings) {
            // Full size for the stage timings and the pictures, so that they compare across builds;
            // the shipped settings get their own session below.
            shipped = g.settings;
            g.settings.renderscale = options.stageScale;
        }
        t = now();
    });
    if (started == StartResult::PlayerRefused)
        std::cout << "the player's model was refused; nothing to measure" << std::endl;
    if (started != StartResult::Started)
        return 1;
    const double tWindow = seconds[static_cast<int>(StartStep::Window)];
    const double tPrograms = seconds[static_cast<int>(StartStep::Programs)];
    const double tLevel = seconds[static_cast<int>(StartStep::Level)];
    const double tCamerasBloom =
        seconds[static_cast<int>(StartStep::Cameras)] + seconds[static_cast<int>(StartStep::Bloom)];

    ScriptedPlay script(game.window);
    if (!options.shots.empty())
        glfwSetTime(PhysicsStep);
    t = now();
    FrameRecord first = timedFrame(game, script, 0);
    const double tFirstFrame = now() - t;
    const double sinceProcessStart = secondsSinceProcessStart();
    const double sinceCode = now() - codeStart, sinceMain = now() - mainStart;

    std::printf("\n== glorbit frame benchmark ==\n");
    std::printf("load average at start: %s\n", loadAverage().c_str());
    std::printf("time to first frame (process start to first swap): %.0f ms (kernel start time, 10 ms steps); "
                "%.0f ms from static init, %.0f ms from main\n",
                sinceProcessStart * 1e3, sinceCode * 1e3, sinceMain * 1e3);
    std::printf("  openWindow %.1f ms, buildPrograms %.1f ms, buildLevel %.1f ms, cameras+bloom %.1f ms, "
                "first frame %.1f ms\n",
                tWindow * 1e3, tPrograms * 1e3, tLevel * 1e3, tCamerasBloom * 1e3, tFirstFrame * 1e3);
    std::fflush(stdout);

    if (options.soak > 0)
        return soak(game, script, options.soak);

    std::vector<FrameRecord> frames;
    frames.reserve(static_cast<std::size_t>(options.frames));
    frames.push_back(first);
    // The frame cost's unit, sampled in groups among the steady frames it is compared with.
    realtime::ReferenceFrame reference(game);
    int ended = -1;
    for (int frame = 1; frame < options.frames; ++frame) {
        if (glfwWindowShouldClose(game.window)) {
            ended = frame;
            break;
        }
        if (frame == options.warmup && options.allocSites)
            alloccount::startRecordingSites();
        // Pictures need the same game on every run: the frame time then no longer moves the clock.
        if (!options.shots.empty())
            glfwSetTime((frame + 1) * static_cast<double>(PhysicsStep));
        frames.push_back(timedFrame(game, script, frame));
        if (!options.shots.empty() && frame % ShotEvery == 0 &&
            !screenshots::save(options.shots, frame, game.settings.width, game.settings.height))
            std::cout << "cannot write a picture into " << options.shots << std::endl;
        if (frame >= options.warmup && frame % ReferenceEvery == 0)
            reference.sample(ReferenceGroup);
    }
    alloccount::stopRecordingSites();

    const std::vector<FrameRecord> steady(frames.begin() + std::min<std::ptrdiff_t>(options.warmup, frames.size()),
                                          frames.end());
    std::vector<double> all, follow, freeCam;
    std::uint64_t mainAllocs = 0, allAllocs = 0, worstFrame = 0;
    int framesWithAllocs = 0;
    for (const FrameRecord& f : steady) {
        all.push_back(f.total * 1e3);
        (f.freeCamera ? freeCam : follow).push_back(f.total * 1e3);
        mainAllocs += f.mainAllocations;
        allAllocs += f.allAllocations;
        worstFrame = std::max(worstFrame, f.mainAllocations);
        framesWithAllocs += f.mainAllocations > 0 ? 1 : 0;
    }
    const double n = static_cast<double>(std::max<std::size_t>(1, steady.size()));

    std::printf("frames: %zu at %dx%d, statistics over the %zu after %d warm-up frames%s\n", frames.size(),
                game.settings.width, game.settings.height, steady.size(), options.warmup,
                ended >= 0 ? " (the game ended early)" : "");
    std::printf("frame time (glFinish after GL stages): median %.2f ms, p95 %.2f ms, mean %.2f ms, max %.2f ms\n",
                percentile(all, 0.5), percentile(all, 0.95), mean(all), percentile(all, 1.0));
    std::printf("  follow camera (orbit sweep, pushes): median %.2f ms, p95 %.2f ms over %zu frames\n",
                percentile(follow, 0.5), percentile(follow, 0.95), follow.size());
    std::printf("  free camera (fly-over, whole level): median %.2f ms, p95 %.2f ms over %zu frames\n",
                percentile(freeCam, 0.5), percentile(freeCam, 0.95), freeCam.size());
    printStages(steady);
    std::printf("  skeleton pose (part of draw, CPU): %.2f us per frame\n", poseMicroseconds());
    std::printf("heap allocations per frame (operator new), steady state: main thread %.2f (most in one frame %llu, "
                "%d of %zu frames allocate), all threads %.2f\n",
                static_cast<double>(mainAllocs) / n, static_cast<unsigned long long>(worstFrame), framesWithAllocs,
                steady.size(), static_cast<double>(allAllocs) / n);
    std::printf("peak memory (ru_maxrss): %.1f MiB; resident now %.1f MiB\n", peakResidentKiB() / 1024.0,
                residentKiB() / 1024.0);
    std::fflush(stdout);
    if (options.allocSites)
        alloccount::printSites(12);

    // What the frame costs in units of the cheapest frame this machine can show, and whether the
    // game keeps real time with the shipped settings (the render scale chosen as it plays, frames
    // paced to the cap).
    if (reference.samples() == 0)
        reference.sample(ReferenceGroup * 20);
    const double referenceMs = reference.medianMs();
    std::printf("frame cost: %.2f full-window passes (median full-size frame %.2f ms; reference frame %.2f ms: "
                "clear, one full-window quad from an RGBA16F image, swap)\n",
                percentile(all, 0.5) / referenceMs, percentile(all, 0.5), referenceMs);
    game.settings = shipped;
    game.renderScale = RenderScaleController();
    game.pacer.setCap(game.settings.framecap);
    useRenderScale(game, game.settings.renderscale == RenderScaleAuto ? 1.0f : game.settings.renderscale);
    const realtime::Session session = realtime::play(game, script, options.frames);
    std::printf("real-time ratio: %.3f (%.2f game s in %.2f wall s over %d frames; framecap %d, renderscale %s)\n",
                session.gameSeconds / session.wallSeconds, session.gameSeconds, session.wallSeconds, session.frames,
                game.settings.framecap, game.settings.renderscale == RenderScaleAuto ? "auto" : "fixed");
    std::printf("render scales chosen: %s; %d changes; median frame %.2f ms at the last\n",
                realtime::describeScales(session).c_str(), session.changes, session.medianCostMs);
    std::fflush(stdout);
    std::printf("paced frame rate: %.1f frames per second (64x64 window, framecap %d, over 3 s)\n",
                realtime::pacedFrameRate(game, 64, 64, 3.0), game.settings.framecap);
    std::fflush(stdout);

    double physicsRatio = 0.0, physicsSameSettingsRatio = 0.0;
    if (options.physicsSteps > 0) {
        const PhysicsTimes p = comparePhysics(game.levelPositions, options.physicsSteps, options.physicsRounds);
        const double perStep = 1e6 / p.steps;
        std::printf("physics, %d steps of 1/60 s with the player pushed, best (median) of %d rounds:\n", p.steps,
                    p.rounds);
        std::printf("  our layer (simulate + fetchResults):    %8.2f us/step (%.2f)\n", p.layerBest * perStep,
                    p.layerMedian * perStep);
        std::printf("  raw Bullet, default world:              %8.2f us/step (%.2f)\n", p.rawBest * perStep,
                    p.rawMedian * perStep);
        std::printf("  raw Bullet, the layer's settings:       %8.2f us/step (%.2f)\n", p.matchedBest * perStep,
                    p.matchedMedian * perStep);
        physicsRatio = p.layerBest / p.rawBest;
        physicsSameSettingsRatio = p.layerBest / p.matchedBest;
        std::printf("  layer / raw default = %.2f; layer / raw with the same settings = %.2f\n", physicsRatio,
                    physicsSameSettingsRatio);
        std::printf("  player ends at (%.1f, %.1f, %.1f) in the layer, (%.1f, %.1f, %.1f) raw, (%.1f, %.1f, %.1f) "
                    "raw with the layer's settings\n",
                    p.layerPlayer.x, p.layerPlayer.y, p.layerPlayer.z, p.rawPlayer.x, p.rawPlayer.y, p.rawPlayer.z,
                    p.matchedPlayer.x, p.matchedPlayer.y, p.matchedPlayer.z);
        printPhysicsStep(options.physicsSteps);
    }
    std::printf("load average at end: %s\n", loadAverage().c_str());

    const double median = percentile(all, 0.5);
    std::printf("targets: median frame <= 33 ms: %s (goal 16.7 ms: %s); first frame < 1 s: %s; "
                "no allocation per frame: %s; physics layer within 1.2x of raw Bullet: %s against its defaults, "
                "%s against the same settings\n",
                median <= 33.0 ? "met" : "missed", median <= 16.7 ? "met" : "missed",
                sinceProcessStart < 1.0 ? "met" : "missed", mainAllocs == 0 && allAllocs == 0 ? "met" : "missed",
                physicsRatio == 0.0 ? "not measured" : physicsRatio <= 1.2 ? "met" : "missed",
                physicsSameSettingsRatio == 0.0 ? "not measured" : physicsSameSettingsRatio <= 1.2 ? "met" : "missed");
    glfwTerminate();
    return 0;
}

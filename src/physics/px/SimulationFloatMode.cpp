#include "physics/px/SimulationFloatMode.h"

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#else
#include <cfenv>
#endif

namespace physx {
namespace detail {

#if defined(__x86_64__) || defined(__i386__)

namespace {
// MXCSR: flush-to-zero (bit 15), denormals-are-zero (bit 6), all six exception masks (bits 7-12), rounding
// bits 13-14 clear (to nearest); the exception flags (bits 0-5) start clear.
const std::uint32_t simulationSse = (1u << 15) | (1u << 6) | (0x3Fu << 7);
// x87: all exceptions masked, rounding to nearest; precision control as the caller has it.
const std::uint16_t x87RoundingBits = 0x0C00, x87ExceptionMasks = 0x003F;
} // namespace

SimulationFloatMode::SimulationFloatMode() {
    savedSse = _mm_getcsr();
    asm volatile("fnstcw %0" : "=m"(savedX87));
    const std::uint16_t x87 = static_cast<std::uint16_t>((savedX87 & ~x87RoundingBits) | x87ExceptionMasks);
    asm volatile("fldcw %0" : : "m"(x87));
    _mm_setcsr(simulationSse);
}

SimulationFloatMode::~SimulationFloatMode() {
    asm volatile("fldcw %0" : : "m"(savedX87));
    _mm_setcsr(savedSse);
}

#else

// Elsewhere only the rounding is fixed; denormal handling stays the platform's.
SimulationFloatMode::SimulationFloatMode() {
    savedSse = static_cast<std::uint32_t>(std::fegetround());
    std::fesetround(FE_TONEAREST);
}

SimulationFloatMode::~SimulationFloatMode() {
    std::fesetround(static_cast<int>(savedSse));
}

#endif

} // namespace detail
} // namespace physx

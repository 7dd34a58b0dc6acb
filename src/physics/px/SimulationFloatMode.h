#pragma once

#include <cstdint>

namespace physx {
namespace detail {

// Layer-internal: while one lives, the calling thread computes as the original SDK's simulation does:
// denormal inputs read as zero and denormal results flush to zero, no floating-point exception traps, round to
// nearest. The caller's own mode (rounding, masks, flags) comes back when it goes, so a caller that rounds
// differently neither changes the simulation nor sees its mode changed.
class SimulationFloatMode {
  public:
    SimulationFloatMode();
    ~SimulationFloatMode();
    SimulationFloatMode(const SimulationFloatMode&) = delete;
    SimulationFloatMode& operator=(const SimulationFloatMode&) = delete;

  private:
    std::uint32_t savedSse = 0;   // MXCSR
    std::uint16_t savedX87 = 0;   // x87 control word: libm's long double paths round by it
};

} // namespace detail
} // namespace physx

#pragma once

#include "physics/px/PxFlags.h"

namespace physx {

struct PxPvdSceneFlag {
    enum Enum {
        eTRANSMIT_CONTACTS = 1 << 0,
        eTRANSMIT_SCENEQUERIES = 1 << 1,
        eTRANSMIT_CONSTRAINTS = 1 << 2
    };
};
typedef PxFlags<PxPvdSceneFlag::Enum, PxU8> PxPvdSceneFlags;
PX_FLAGS_OPERATORS(PxPvdSceneFlag::Enum, PxU8)

// What a scene would send to the visual debugger. This layer sends no scene data: the flags are only kept.
class PxPvdSceneClient {
  public:
    void setScenePvdFlag(PxPvdSceneFlag::Enum flag, bool value) {
        if (value)
            flags.raise(flag);
        else
            flags.clear(flag);
    }
    void setScenePvdFlags(PxPvdSceneFlags newFlags) { flags = newFlags; }
    PxPvdSceneFlags getScenePvdFlags() const { return flags; }

  private:
    PxPvdSceneFlags flags;
};

} // namespace physx

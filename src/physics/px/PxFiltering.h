#pragma once

#include "physics/px/PxFlags.h"

namespace physx {

// What the simulation does with a pair of shapes the filter shader lets through.
struct PxPairFlag {
    enum Enum {
        eSOLVE_CONTACT = 1 << 0,
        eNOTIFY_TOUCH_FOUND = 1 << 2,
        eNOTIFY_TOUCH_PERSISTS = 1 << 3,
        eNOTIFY_TOUCH_LOST = 1 << 4,
        eDETECT_DISCRETE_CONTACT = 1 << 10,
        eCONTACT_DEFAULT = eSOLVE_CONTACT | eDETECT_DISCRETE_CONTACT
    };
};
typedef PxFlags<PxPairFlag::Enum, PxU16> PxPairFlags;
PX_FLAGS_OPERATORS(PxPairFlag::Enum, PxU16)

// eKILL and eSUPPRESS drop the pair; eDEFAULT keeps it.
struct PxFilterFlag {
    enum Enum {
        eKILL = 1 << 0,
        eSUPPRESS = 1 << 1,
        eCALLBACK = 1 << 2,
        eNOTIFY = (1 << 3) | eCALLBACK,
        eDEFAULT = 0
    };
};
typedef PxFlags<PxFilterFlag::Enum, PxU16> PxFilterFlags;
PX_FLAGS_OPERATORS(PxFilterFlag::Enum, PxU16)

struct PxFilterObjectType {
    enum Enum { eRIGID_STATIC, eRIGID_DYNAMIC, eMAX_TYPE_COUNT = 16, eUNDEFINED = eMAX_TYPE_COUNT - 1 };
};
typedef PxU32 PxFilterObjectAttributes;
inline PxFilterObjectType::Enum PxGetFilterObjectType(PxFilterObjectAttributes attributes) {
    return static_cast<PxFilterObjectType::Enum>(attributes & (PxFilterObjectType::eMAX_TYPE_COUNT - 1));
}

// User data for filtering; this layer gives every shape zeros.
struct PxFilterData {
    PxFilterData() : word0(0), word1(0), word2(0), word3(0) {}
    PxFilterData(PxU32 w0, PxU32 w1, PxU32 w2, PxU32 w3) : word0(w0), word1(w1), word2(w2), word3(w3) {}
    PxU32 word0, word1, word2, word3;
};

// Decides, the first time two actors' bounds overlap, whether and how they interact. Called during the step,
// inside fetchResults on its caller's thread; must not touch scene objects. Pairs of two static actors never get here.
typedef PxFilterFlags (*PxSimulationFilterShader)(PxFilterObjectAttributes attributes0,
                                                  PxFilterData filterData0,
                                                  PxFilterObjectAttributes attributes1,
                                                  PxFilterData filterData1, PxPairFlags& pairFlags,
                                                  const void* constantBlock, PxU32 constantBlockSize);

} // namespace physx

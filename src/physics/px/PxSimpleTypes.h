#pragma once

#include <cfloat>
#include <cstdint>

namespace physx {

typedef uint8_t PxU8;
typedef uint16_t PxU16;
typedef uint32_t PxU32;
typedef uint64_t PxU64;
typedef int32_t PxI32;
typedef float PxReal;
typedef float PxF32;

static const PxReal PX_MAX_F32 = FLT_MAX;

// Tag for the identity constructors of the math types.
enum PxIDENTITY { PxIdentity };

} // namespace physx

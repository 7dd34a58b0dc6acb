#pragma once

#include "physics/px/PxFoundation.h"

// Layer-internal: how the implementation reports misuse, through the newest foundation's error callback.
namespace physx {
namespace detail {
void reportError(PxErrorCode::Enum code, const char* message, const char* file, int line);
} // namespace detail
} // namespace physx

#define PX_REPORT_INVALID_OPERATION(message)                                                                 \
    ::physx::detail::reportError(::physx::PxErrorCode::eINVALID_OPERATION, message, __FILE__, __LINE__)

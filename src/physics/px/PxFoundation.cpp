#include "physics/px/PxFoundation.h"
#include "physics/px/PxErrorReport.h"

#include <cstdlib>
#include <iostream>
#include <vector>

namespace physx {

void* PxDefaultAllocator::allocate(size_t size, const char*, const char*, int) {
    void* ptr = nullptr;
    if (posix_memalign(&ptr, 16, size ? size : 16) != 0)
        return nullptr;
    return ptr;
}

void PxDefaultAllocator::deallocate(void* ptr) {
    std::free(ptr);
}

void PxDefaultErrorCallback::reportError(PxErrorCode::Enum code, const char* message, const char* file,
                                         int line) {
    const char* kind = "unknown error";
    switch (code) {
    case PxErrorCode::eNO_ERROR:
        kind = "no error";
        break;
    case PxErrorCode::eDEBUG_INFO:
        kind = "info";
        break;
    case PxErrorCode::eDEBUG_WARNING:
        kind = "warning";
        break;
    case PxErrorCode::eINVALID_PARAMETER:
        kind = "invalid parameter";
        break;
    case PxErrorCode::eINVALID_OPERATION:
        kind = "invalid operation";
        break;
    case PxErrorCode::eOUT_OF_MEMORY:
        kind = "out of memory";
        break;
    case PxErrorCode::eINTERNAL_ERROR:
        kind = "internal error";
        break;
    case PxErrorCode::eABORT:
        kind = "abort";
        break;
    case PxErrorCode::ePERF_WARNING:
        kind = "performance warning";
        break;
    default:
        break;
    }
    std::cout << (file ? file : "") << " (" << line << ") : " << kind << " : " << (message ? message : "")
              << std::endl;
}

namespace {
// Live foundations, newest last; errors are reported to the newest.
std::vector<PxFoundation*>& liveFoundations() {
    static std::vector<PxFoundation*> list;
    return list;
}
} // namespace

PxFoundation::~PxFoundation() {
    auto& list = liveFoundations();
    for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == this) {
            list.erase(it);
            break;
        }
}

void PxFoundation::release() {
    delete this;
}

PxFoundation* PxCreateFoundation(PxU32 version, PxAllocatorCallback& allocator,
                                 PxErrorCallback& errorCallback) {
    if (version != PX_FOUNDATION_VERSION) {
        errorCallback.reportError(PxErrorCode::eINVALID_PARAMETER,
                                  "Wrong version: foundation version does not match the requested one",
                                  __FILE__, __LINE__);
        return nullptr;
    }
    auto* foundation = new PxFoundation(allocator, errorCallback);
    liveFoundations().push_back(foundation);
    return foundation;
}

namespace detail {
void reportError(PxErrorCode::Enum code, const char* message, const char* file, int line) {
    auto& list = liveFoundations();
    if (!list.empty())
        list.back()->getErrorCallback().reportError(code, message, file, line);
}
} // namespace detail

} // namespace physx

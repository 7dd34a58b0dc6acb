#pragma once

#include "physics/px/PxSimpleTypes.h"

#include <cstddef>

// The version of the SDK whose interface this layer follows (4.1.1).
#define PX_PHYSICS_VERSION_MAJOR 4
#define PX_PHYSICS_VERSION_MINOR 1
#define PX_PHYSICS_VERSION_BUGFIX 1
#define PX_PHYSICS_VERSION                                                                                   \
    ((PX_PHYSICS_VERSION_MAJOR << 24) + (PX_PHYSICS_VERSION_MINOR << 16) + (PX_PHYSICS_VERSION_BUGFIX << 8))
#define PX_FOUNDATION_VERSION PX_PHYSICS_VERSION

namespace physx {

class PxAllocatorCallback {
  public:
    virtual ~PxAllocatorCallback() {}
    // Must return memory aligned to 16 bytes.
    virtual void* allocate(size_t size, const char* typeName, const char* filename, int line) = 0;
    virtual void deallocate(void* ptr) = 0;
};

// Plain aligned heap allocation.
class PxDefaultAllocator : public PxAllocatorCallback {
  public:
    void* allocate(size_t size, const char* typeName, const char* filename, int line) override;
    void deallocate(void* ptr) override;
};

struct PxErrorCode {
    enum Enum {
        eNO_ERROR = 0,
        eDEBUG_INFO = 1,
        eDEBUG_WARNING = 2,
        eINVALID_PARAMETER = 4,
        eINVALID_OPERATION = 8,
        eOUT_OF_MEMORY = 16,
        eINTERNAL_ERROR = 32,
        eABORT = 64,
        ePERF_WARNING = 128,
        eMASK_ALL = -1
    };
};

class PxErrorCallback {
  public:
    virtual ~PxErrorCallback() {}
    virtual void reportError(PxErrorCode::Enum code, const char* message, const char* file, int line) = 0;
};

// Writes "file (line) : kind : message" as one line on standard output.
class PxDefaultErrorCallback : public PxErrorCallback {
  public:
    void reportError(PxErrorCode::Enum code, const char* message, const char* file, int line) override;
};

// Holds the allocator and error callback the rest of the layer reports through. Both callbacks must outlive
// it. Create with PxCreateFoundation, destroy with release() after everything made from it.
class PxFoundation {
  public:
    void release();
    PxErrorCallback& getErrorCallback() const { return errorCallback; }
    PxAllocatorCallback& getAllocatorCallback() const { return allocator; }

  private:
    friend PxFoundation* PxCreateFoundation(PxU32, PxAllocatorCallback&, PxErrorCallback&);
    PxFoundation(PxAllocatorCallback& a, PxErrorCallback& e) : allocator(a), errorCallback(e) {}
    ~PxFoundation();

    PxAllocatorCallback& allocator;
    PxErrorCallback& errorCallback;
};

// Returns null if version is not the one this layer implements. Unlike the original SDK, several
// foundations may exist at once (tests build independent worlds in one process); errors go to the most
// recently created one that is still alive.
PxFoundation* PxCreateFoundation(PxU32 version, PxAllocatorCallback& allocator,
                                 PxErrorCallback& errorCallback);

} // namespace physx

#pragma once

#include "physics/px/PxFlags.h"

namespace physx {

class PxScene;

struct PxActorType {
    enum Enum { eRIGID_STATIC, eRIGID_DYNAMIC };
};

struct PxActorTypeFlag {
    enum Enum { eRIGID_STATIC = 1 << 0, eRIGID_DYNAMIC = 1 << 1 };
};
typedef PxFlags<PxActorTypeFlag::Enum, PxU16> PxActorTypeFlags;
PX_FLAGS_OPERATORS(PxActorTypeFlag::Enum, PxU16)

// Anything that can be placed in a scene.
class PxActor {
  public:
    // Removes the actor from its scene, detaches its shapes and deletes it.
    virtual void release() = 0;
    virtual PxActorType::Enum getType() const = 0;
    PxScene* getScene() const { return scene; }

    // Stores the pointer, not a copy: the text must outlive the actor (or the next setName). Takes effect at
    // once, also inside a contact callback.
    void setName(const char* newName) { name = newName; }
    const char* getName() const { return name; }

    template <class T> T* is() { return dynamic_cast<T*>(this); }
    template <class T> const T* is() const { return dynamic_cast<const T*>(this); }

  protected:
    PxActor() = default;
    virtual ~PxActor() = default;
    PxActor(const PxActor&) = delete;
    PxActor& operator=(const PxActor&) = delete;

    friend class PxScene;
    PxScene* scene = nullptr;
    const char* name = nullptr;
};

} // namespace physx

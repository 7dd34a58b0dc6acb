#include "physics/px/PxMaterial.h"

#include "physics/px/PxPhysics.h"

namespace physx {

PxMaterial::~PxMaterial() {
    owner->materials.erase(this);
}

void PxMaterial::release() {
    if (referenceCount > 0 && --referenceCount == 0)
        delete this;
}

} // namespace physx

#include "physics/px/PxSimpleFactory.h"

#include "physics/px/PxPhysics.h"
#include "physics/px/PxRigidStatic.h"

#include <cmath>

namespace physx {

PxQuat PxShortestRotation(const PxVec3& from, const PxVec3& target) {
    const PxReal d = from.dot(target);
    const PxVec3 c = from.cross(target);
    // Opposite vectors: any half turn about an axis perpendicular to `from`.
    const PxQuat q = d > -1.0f                  ? PxQuat(c.x, c.y, c.z, 1.0f + d)
                     : std::fabs(from.x) < 0.1f ? PxQuat(0.0f, from.z, -from.y, 0.0f)
                                                : PxQuat(from.y, -from.x, 0.0f, 0.0f);
    return q.getNormalized();
}

PxRigidStatic* PxCreatePlane(PxPhysics& sdk, const PxPlane& plane, PxMaterial& material) {
    if (!plane.n.isNormalized())
        return nullptr;
    // The plane shape is the half-space x <= 0 of its frame: turn local x onto the normal.
    const PxTransform pose(plane.pointInPlane(), PxShortestRotation(PxVec3(1, 0, 0), plane.n));
    PxShape* shape = sdk.createShape(PxPlaneGeometry(), material, true);
    if (!shape)
        return nullptr;
    PxRigidStatic* actor = sdk.createRigidStatic(pose);
    actor->attachShape(*shape);
    shape->release();
    return actor;
}

} // namespace physx

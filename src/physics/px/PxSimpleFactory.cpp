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

namespace {

// The plane shape is the half-space x <= 0 of its frame, so its frame turns local x onto the normal. The
// original takes the shortest arc, except for normals along an axis: +-x get the identity or a half turn about
// z, and normals along y or z a quarter turn written out (the same turn as the shortest arc).
PxQuat planeRotation(const PxVec3& n) {
    const int zeros = (n.x == 0.0f) + (n.y == 0.0f) + (n.z == 0.0f);
    if (zeros != 2)
        return PxShortestRotation(PxVec3(1, 0, 0), n);
    if (n.x > 0)
        return PxQuat(PxIdentity);
    if (n.x < 0)
        return PxQuat(0, 0, 1, 0);
    const PxReal halfSqrt2 = 0.707106781f;
    return PxQuat(0.0f * halfSqrt2, -n.z * halfSqrt2, n.y * halfSqrt2, halfSqrt2);
}

} // namespace

PxRigidStatic* PxCreatePlane(PxPhysics& sdk, const PxPlane& plane, PxMaterial& material) {
    if (!plane.n.isNormalized())
        return nullptr;
    // Normalized once more, as the original does: a normal within the unit-length tolerance may move a bit.
    const PxReal inverseLength = 1.0f / plane.n.magnitude();
    const PxPlane unit(plane.n * inverseLength, plane.d * inverseLength);
    const PxTransform pose(unit.pointInPlane(), planeRotation(unit.n));
    PxShape* shape = sdk.createShape(PxPlaneGeometry(), material, true);
    if (!shape)
        return nullptr;
    PxRigidStatic* actor = sdk.createRigidStatic(pose);
    actor->attachShape(*shape);
    shape->release();
    return actor;
}

} // namespace physx

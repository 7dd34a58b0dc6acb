#include "physics/px/PxShape.h"

#include "physics/px/PxMaterial.h"
#include "physics/px/PxPhysics.h"

#include <btBulletCollisionCommon.h>

#include <algorithm>

namespace physx {

namespace {
// Below this half extent Bullet's default box margin of 0.04 would round a box visibly.
const PxReal thinBoxHalfExtent = 0.2f;
const btScalar thinBoxMargin = 0.01f;
} // namespace

PxShape::PxShape(PxPhysics& physics, const GeometryData& g, PxMaterial& m, bool isExclusive, PxShapeFlags f)
    : owner(&physics), geometry(g), material(&m), exclusive(isExclusive), flags(f) {
    material->acquireReference();
    switch (g.type) {
    case PxGeometryType::eSPHERE:
        bullet = new btSphereShape(g.radius);
        break;
    case PxGeometryType::eCAPSULE:
        bullet = new btCapsuleShapeX(g.radius, 2.0f * g.halfHeight);
        break;
    case PxGeometryType::ePLANE:
        bullet = new btStaticPlaneShape(btVector3(1, 0, 0), 0);
        break;
    case PxGeometryType::eBOX: {
        auto* box = new btBoxShape(btVector3(g.halfExtents.x, g.halfExtents.y, g.halfExtents.z));
        const PxReal smallest = std::min(g.halfExtents.x, std::min(g.halfExtents.y, g.halfExtents.z));
        if (smallest < thinBoxHalfExtent)
            box->setMargin(std::min(box->getMargin(), thinBoxMargin));
        // Faces for the convex test to clip against: whole contact patches between boxes.
        box->initializePolyhedralFeatures();
        bullet = box;
        break;
    }
    default:
        break;
    }
}

PxShape::~PxShape() {
    delete bullet;
    owner->shapes.erase(this);
    material->release();
}

void PxShape::release() {
    if (referenceCount > 0 && --referenceCount == 0)
        delete this;
}

bool PxShape::getSphereGeometry(PxSphereGeometry& out) const {
    if (geometry.type != PxGeometryType::eSPHERE)
        return false;
    out = PxSphereGeometry(geometry.radius);
    return true;
}

bool PxShape::getBoxGeometry(PxBoxGeometry& out) const {
    if (geometry.type != PxGeometryType::eBOX)
        return false;
    out = PxBoxGeometry(geometry.halfExtents);
    return true;
}

bool PxShape::getCapsuleGeometry(PxCapsuleGeometry& out) const {
    if (geometry.type != PxGeometryType::eCAPSULE)
        return false;
    out = PxCapsuleGeometry(geometry.radius, geometry.halfHeight);
    return true;
}

bool PxShape::getPlaneGeometry(PxPlaneGeometry& out) const {
    if (geometry.type != PxGeometryType::ePLANE)
        return false;
    out = PxPlaneGeometry();
    return true;
}

PxU32 PxShape::getMaterials(PxMaterial** userBuffer, PxU32 bufferSize, PxU32 startIndex) const {
    if (startIndex > 0 || bufferSize == 0)
        return 0;
    userBuffer[0] = material;
    return 1;
}

} // namespace physx

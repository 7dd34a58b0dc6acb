#include "physics/px/PxPhysics.h"

#include "physics/px/PxErrorReport.h"
#include "physics/px/PxMaterial.h"
#include "physics/px/PxRigidDynamic.h"
#include "physics/px/PxRigidStatic.h"
#include "physics/px/PxScene.h"
#include "physics/px/PxSceneDesc.h"

#include <algorithm>
#include <vector>

namespace physx {

namespace {

bool geometryValid(const PxGeometry& g) {
    switch (g.getType()) {
    case PxGeometryType::eSPHERE:
        return static_cast<const PxSphereGeometry&>(g).isValid();
    case PxGeometryType::eBOX:
        return static_cast<const PxBoxGeometry&>(g).isValid();
    case PxGeometryType::eCAPSULE:
        return static_cast<const PxCapsuleGeometry&>(g).isValid();
    case PxGeometryType::ePLANE:
        return true;
    default:
        return false;
    }
}

} // namespace

void PxPhysics::release() {
    // Whatever is still alive goes with the factory: scenes first, so no body is still in a world.
    for (PxScene* s : std::vector<PxScene*>(scenes.begin(), scenes.end()))
        s->release();
    for (PxRigidActor* a : std::vector<PxRigidActor*>(actors.begin(), actors.end()))
        a->release();
    for (PxShape* s : std::vector<PxShape*>(shapes.begin(), shapes.end()))
        delete s;
    for (PxMaterial* m : std::vector<PxMaterial*>(materials.begin(), materials.end()))
        delete m;
    delete this;
}

PxScene* PxPhysics::createScene(const PxSceneDesc& desc) {
    if (!desc.isValid()) {
        detail::reportError(PxErrorCode::eINVALID_PARAMETER,
                            "PxPhysics::createScene: invalid scene description", __FILE__, __LINE__);
        return nullptr;
    }
    auto* scene = new PxScene(*this, desc);
    scenes.insert(scene);
    return scene;
}

PxRigidStatic* PxPhysics::createRigidStatic(const PxTransform& pose) {
    auto* actor = new PxRigidStatic(*this, pose);
    actors.insert(actor);
    return actor;
}

PxRigidDynamic* PxPhysics::createRigidDynamic(const PxTransform& pose) {
    auto* actor = new PxRigidDynamic(*this, pose);
    actors.insert(actor);
    return actor;
}

PxShape* PxPhysics::createShape(const PxGeometry& geometry, const PxMaterial& material, bool isExclusive,
                                PxShapeFlags shapeFlags) {
    if (!geometryValid(geometry)) {
        detail::reportError(PxErrorCode::eINVALID_PARAMETER, "PxPhysics::createShape: invalid geometry",
                            __FILE__, __LINE__);
        return nullptr;
    }
    PxShape::GeometryData g;
    g.type = geometry.getType();
    switch (g.type) {
    case PxGeometryType::eSPHERE:
        g.radius = static_cast<const PxSphereGeometry&>(geometry).radius;
        break;
    case PxGeometryType::eBOX:
        g.halfExtents = static_cast<const PxBoxGeometry&>(geometry).halfExtents;
        break;
    case PxGeometryType::eCAPSULE:
        g.radius = static_cast<const PxCapsuleGeometry&>(geometry).radius;
        g.halfHeight = static_cast<const PxCapsuleGeometry&>(geometry).halfHeight;
        break;
    default:
        break;
    }
    auto* shape = new PxShape(*this, g, const_cast<PxMaterial&>(material), isExclusive, shapeFlags);
    shapes.insert(shape);
    return shape;
}

PxMaterial* PxPhysics::createMaterial(PxReal staticFriction, PxReal dynamicFriction, PxReal restitution) {
    auto* material = new PxMaterial(*this, staticFriction, dynamicFriction, restitution);
    materials.insert(material);
    return material;
}

PxPhysics* PxCreateBasePhysics(PxU32 version, PxFoundation& foundation, const PxTolerancesScale& scale, bool,
                               PxPvd* pvd) {
    if (version != PX_PHYSICS_VERSION) {
        foundation.getErrorCallback().reportError(PxErrorCode::eINVALID_PARAMETER,
                                                  "Wrong version: physics version does not match", __FILE__,
                                                  __LINE__);
        return nullptr;
    }
    return new PxPhysics(foundation, scale, pvd);
}

void PxRegisterArticulations(PxPhysics&) {}
void PxRegisterArticulationsReducedCoordinate(PxPhysics&) {}
void PxRegisterHeightFields(PxPhysics&) {}

} // namespace physx

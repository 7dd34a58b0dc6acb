#pragma once

#include "physics/px/PxFoundation.h"
#include "physics/px/PxGeometry.h"
#include "physics/px/PxShape.h"
#include "physics/px/PxTolerancesScale.h"

#include <set>

namespace physx {

class PxMaterial;
class PxPvd;
class PxRigidActor;
class PxRigidDynamic;
class PxRigidStatic;
class PxScene;
class PxSceneDesc;

// Factory of scenes, actors, shapes and materials. release() also deletes whatever it made that is still
// alive, so release it after the scenes and before the foundation.
class PxPhysics {
  public:
    void release();

    // Null (with an error report) if the description is not valid.
    PxScene* createScene(const PxSceneDesc& sceneDesc);
    PxRigidStatic* createRigidStatic(const PxTransform& pose);
    PxRigidDynamic* createRigidDynamic(const PxTransform& pose);
    // Null (with an error report) for an invalid geometry.
    PxShape* createShape(const PxGeometry& geometry, const PxMaterial& material, bool isExclusive = false,
                         PxShapeFlags shapeFlags = PxShapeFlag::eVISUALIZATION |
                                                   PxShapeFlag::eSCENE_QUERY_SHAPE |
                                                   PxShapeFlag::eSIMULATION_SHAPE);
    PxMaterial* createMaterial(PxReal staticFriction, PxReal dynamicFriction, PxReal restitution);

    const PxTolerancesScale& getTolerancesScale() const { return scale; }
    PxFoundation& getFoundation() { return foundation; }
    PxPvd* getPvd() { return pvd; }

  private:
    friend PxPhysics* PxCreateBasePhysics(PxU32, PxFoundation&, const PxTolerancesScale&, bool, PxPvd*);
    friend class PxScene;
    friend class PxRigidActor;
    friend class PxShape;
    friend class PxMaterial;
    PxPhysics(PxFoundation& f, const PxTolerancesScale& s, PxPvd* p) : foundation(f), scale(s), pvd(p) {}
    ~PxPhysics() = default;

    PxFoundation& foundation;
    PxTolerancesScale scale;
    PxPvd* pvd;
    // Everything made here and not yet released.
    std::set<PxScene*> scenes;
    std::set<PxRigidActor*> actors;
    std::set<PxShape*> shapes;
    std::set<PxMaterial*> materials;
};

// Null if version is not PX_PHYSICS_VERSION. pvd may be null.
PxPhysics* PxCreateBasePhysics(PxU32 version, PxFoundation& foundation, const PxTolerancesScale& scale,
                               bool trackOutstandingAllocations = false, PxPvd* pvd = nullptr);

// Optional modules of the original SDK; everything this layer has is always present, so these do nothing.
void PxRegisterArticulations(PxPhysics& physics);
void PxRegisterArticulationsReducedCoordinate(PxPhysics& physics);
void PxRegisterHeightFields(PxPhysics& physics);

inline PxPhysics* PxCreatePhysics(PxU32 version, PxFoundation& foundation, const PxTolerancesScale& scale,
                                  bool trackOutstandingAllocations = false, PxPvd* pvd = nullptr) {
    PxPhysics* physics = PxCreateBasePhysics(version, foundation, scale, trackOutstandingAllocations, pvd);
    if (physics) {
        PxRegisterArticulations(*physics);
        PxRegisterArticulationsReducedCoordinate(*physics);
        PxRegisterHeightFields(*physics);
    }
    return physics;
}

} // namespace physx

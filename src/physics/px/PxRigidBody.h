#pragma once

#include "physics/px/PxRigidActor.h"

namespace physx {

struct PxForceMode {
    enum Enum { eFORCE, eIMPULSE, eVELOCITY_CHANGE, eACCELERATION };
};

// A rigid actor with mass that the simulation moves.
class PxRigidBody : public PxRigidActor {
  public:
    // Forces are turned into an acceleration with the mass at the time of the call and act during the next
    // simulate only. eFORCE and eACCELERATION act over the step; eIMPULSE and eVELOCITY_CHANGE at once.
    void addForce(const PxVec3& force, PxForceMode::Enum mode = PxForceMode::eFORCE, bool autowake = true);

    PxVec3 getLinearVelocity() const { return linearVelocity; }
    void setLinearVelocity(const PxVec3& v, bool autowake = true);
    PxVec3 getAngularVelocity() const { return angularVelocity; }
    void setAngularVelocity(const PxVec3& w, bool autowake = true);

    // Limits applied before the solver each step (the solver may exceed them momentarily).
    void setMaxLinearVelocity(PxReal maxLinVel);
    PxReal getMaxLinearVelocity() const { return maxLinearVelocity; }

    PxReal getMass() const { return mass; }
    PxReal getInvMass() const { return mass > 0 ? 1.0f / mass : 0.0f; }
    PxVec3 getMassSpaceInertiaTensor() const { return inertia; }

  protected:
    PxRigidBody(PxPhysics& owner, const PxTransform& pose) : PxRigidActor(owner, pose) {}
    void poseChanged(bool autowake) override;
    void requestWake() { wakeRequested = true; }

    friend class PxScene;
    friend class PxRigidBodyExt;
    friend class detail::BulletWorld;

    PxReal mass = 1.0f;
    PxVec3 inertia = PxVec3(1.0f);
    bool massChanged = true;

    // API side: last step's result or what was written since.
    PxVec3 linearVelocity, angularVelocity;
    bool linearVelocityWritten = false, angularVelocityWritten = false;
    bool wakeRequested = false;
    PxVec3 pendingAcceleration, pendingVelocityChange;
    PxReal maxLinearVelocity = PX_MAX_F32;

    // Step input: handed over by simulate, read by the step inside fetchResults.
    PxVec3 stepAcceleration, stepVelocityChange;
    PxReal stepMaxLinearVelocity = PX_MAX_F32;

    // Step side of the sleep rule (see BulletWorld::updateSleep): the wake counter, the velocities summed while
    // it runs low, the shape pairs touching in the last step, and whether the step put the body to sleep.
    PxReal wakeCounter = wakeCounterReset;
    PxVec3 sleepLinearSum, sleepAngularSum;
    PxU32 touchingPairs = 0;
    bool asleep = false;

    // Defaults of a new body in the original SDK; not settable here.
    static constexpr PxReal linearDamping = 0.0f;
    static constexpr PxReal angularDamping = 0.05f;
    static constexpr PxReal maxAngularVelocity = 100.0f;
    // Kinetic energy per unit mass below which a body may sleep: 5e-5 times the tolerance speed (10) squared.
    static constexpr PxReal sleepThreshold = 0.005f;
    // Seconds a woken body stays awake at least, and the value a wake-up raises the counter to.
    static constexpr PxReal wakeCounterReset = 0.4f;
};

} // namespace physx

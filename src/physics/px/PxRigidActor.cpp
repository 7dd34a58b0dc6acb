#include "physics/px/PxRigidActor.h"

#include "physics/px/PxErrorReport.h"
#include "physics/px/PxPhysics.h"
#include "physics/px/PxRigidDynamic.h"
#include "physics/px/PxScene.h"
#include "physics/px/PxShape.h"

#include <algorithm>

namespace physx {

PxRigidActor::PxRigidActor(PxPhysics& physics, const PxTransform& initialPose)
    : owner(&physics), pose(initialPose) {}

PxRigidActor::~PxRigidActor() = default;

void PxRigidActor::release() {
    if (scene) {
        if (scene->simulating) {
            PX_REPORT_INVALID_OPERATION(
                "PxRigidActor::release(): not allowed while a step runs; call ignored");
            return;
        }
        scene->removeActor(*this);
    }
    for (PxShape* shape : shapes) {
        --shape->attachCount;
        shape->release();
    }
    owner->actors.erase(this);
    delete this;
}

void PxRigidActor::setGlobalPose(const PxTransform& newPose, bool autowake) {
    pose = newPose;
    poseWritten = true;
    poseChanged(autowake);
}

void PxRigidActor::poseChanged(bool) {}

bool PxRigidActor::attachShape(PxShape& shape) {
    if (shape.exclusive && shape.attachCount > 0) {
        PX_REPORT_INVALID_OPERATION(
            "PxRigidActor::attachShape: an exclusive shape can only be attached once");
        return false;
    }
    if (shape.getGeometryType() == PxGeometryType::ePLANE && getType() == PxActorType::eRIGID_DYNAMIC) {
        PX_REPORT_INVALID_OPERATION("PxRigidActor::attachShape: a plane shape needs a static actor");
        return false;
    }
    shapes.push_back(&shape);
    ++shape.attachCount;
    shape.acquireReference();
    shapesChanged();
    return true;
}

void PxRigidActor::detachShape(PxShape& shape, bool) {
    auto found = std::find(shapes.begin(), shapes.end(), &shape);
    if (found == shapes.end())
        return;
    if (scene && scene->simulating) {
        PX_REPORT_INVALID_OPERATION("PxRigidActor::detachShape: not allowed while a step runs; call ignored");
        return;
    }
    // The Bullet body may still use the shape's geometry: take it out of the world now.
    if (scene)
        scene->removeFromWorld(*this);
    shapes.erase(found);
    shapesChanged();
    --shape.attachCount;
    shape.release();
}

PxU32 PxRigidActor::getShapes(PxShape** userBuffer, PxU32 bufferSize, PxU32 startIndex) const {
    PxU32 written = 0;
    for (PxU32 i = startIndex; i < shapes.size() && written < bufferSize; ++i)
        userBuffer[written++] = shapes[i];
    return written;
}

// --- bodies ---

void PxRigidBody::poseChanged(bool autowake) {
    if (autowake)
        requestWake();
}

void PxRigidBody::addForce(const PxVec3& force, PxForceMode::Enum mode, bool autowake) {
    if (!scene) {
        PX_REPORT_INVALID_OPERATION("PxRigidBody::addForce: the body must be in a scene; call ignored");
        return;
    }
    // The mass at the time of the call counts, as in the original.
    switch (mode) {
    case PxForceMode::eFORCE:
        pendingAcceleration += force * getInvMass();
        break;
    case PxForceMode::eACCELERATION:
        pendingAcceleration += force;
        break;
    case PxForceMode::eIMPULSE:
        pendingVelocityChange += force * getInvMass();
        break;
    case PxForceMode::eVELOCITY_CHANGE:
        pendingVelocityChange += force;
        break;
    }
    if (autowake || !force.isZero())
        requestWake();
}

void PxRigidBody::setLinearVelocity(const PxVec3& v, bool autowake) {
    linearVelocity = v;
    linearVelocityWritten = true;
    if (autowake && !v.isZero())
        requestWake();
}

void PxRigidBody::setAngularVelocity(const PxVec3& w, bool autowake) {
    angularVelocity = w;
    angularVelocityWritten = true;
    if (autowake && !w.isZero())
        requestWake();
}

void PxRigidBody::setMaxLinearVelocity(PxReal maxLinVel) {
    maxLinearVelocity = maxLinVel < 0 ? 0 : maxLinVel;
}

void PxRigidDynamic::wakeUp() {
    requestWake();
}

} // namespace physx

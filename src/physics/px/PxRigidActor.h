#pragma once

#include "physics/px/PxActor.h"
#include "physics/px/PxTransform.h"

#include <vector>

class btRigidBody;
class btCollisionShape;

namespace physx {

class PxPhysics;
class PxShape;
namespace detail {
class BulletWorld;
}

// An actor with shapes and a pose.
class PxRigidActor : public PxActor {
  public:
    void release() override;

    // Between simulate and fetchResults this is the pose from before the step (or the one last written).
    PxTransform getGlobalPose() const { return pose; }
    void setGlobalPose(const PxTransform& newPose, bool autowake = true);

    // False (with an error report) if the shape is exclusive and already attached elsewhere.
    bool attachShape(PxShape& shape);
    void detachShape(PxShape& shape, bool wakeOnLostTouch = true);
    PxU32 getNbShapes() const { return static_cast<PxU32>(shapes.size()); }
    // Copies up to bufferSize shape pointers, starting at startIndex; returns how many were written.
    PxU32 getShapes(PxShape** userBuffer, PxU32 bufferSize, PxU32 startIndex = 0) const;

  protected:
    PxRigidActor(PxPhysics& owner, const PxTransform& pose);
    ~PxRigidActor() override;
    virtual void shapesChanged() { bodyOutdated = true; }
    virtual void poseChanged(bool autowake);

    friend class PxPhysics;
    friend class PxScene;
    friend class PxRigidBodyExt;
    friend class detail::BulletWorld;

    PxPhysics* owner;
    std::vector<PxShape*> shapes;
    PxTransform pose;
    bool poseWritten = false; // written since the last simulate; Bullet gets it at the next one
    PxU64 insertionId = 0;    // order of addActor; decides the actor order of contact reports

    // The Bullet side, rebuilt by the scene before a step when bodyOutdated is set. simShapes is the shape
    // list the body was built from: the step reads it while the API side may be changing `shapes`.
    bool bodyOutdated = true;
    btRigidBody* body = nullptr;
    btCollisionShape* ownShape = nullptr; // compound or empty shape made for this actor, if any
    std::vector<PxShape*> simShapes;
};

} // namespace physx

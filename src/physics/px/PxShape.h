#pragma once

#include "physics/px/PxFlags.h"
#include "physics/px/PxGeometry.h"
#include "physics/px/PxTransform.h"

class btCollisionShape;

namespace physx {

class PxMaterial;
class PxPhysics;
class PxRigidActor;

struct PxShapeFlag {
    enum Enum {
        eSIMULATION_SHAPE = 1 << 0,
        eSCENE_QUERY_SHAPE = 1 << 1,
        eTRIGGER_SHAPE = 1 << 2,
        eVISUALIZATION = 1 << 3
    };
};
typedef PxFlags<PxShapeFlag::Enum, PxU8> PxShapeFlags;
PX_FLAGS_OPERATORS(PxShapeFlag::Enum, PxU8)

// Geometry plus material, attached to one actor (exclusive) or to several (shared). Reference counted: the
// creator holds one reference until release(), each actor it is attached to holds one more, and the shape is
// deleted when the last one goes. A shared shape is one object: its name is the same on every actor.
// Shapes sit at the actor's origin (the local pose is always the identity).
class PxShape {
  public:
    void release();
    PxU32 getReferenceCount() const { return referenceCount; }
    bool isExclusive() const { return exclusive; }

    PxGeometryType::Enum getGeometryType() const { return geometry.type; }
    bool getSphereGeometry(PxSphereGeometry& out) const;
    bool getBoxGeometry(PxBoxGeometry& out) const;
    bool getCapsuleGeometry(PxCapsuleGeometry& out) const;
    bool getPlaneGeometry(PxPlaneGeometry& out) const;

    PxTransform getLocalPose() const { return PxTransform(PxIdentity); }
    PxShapeFlags getFlags() const { return flags; }
    PxU32 getNbMaterials() const { return 1; }
    PxU32 getMaterials(PxMaterial** userBuffer, PxU32 bufferSize, PxU32 startIndex = 0) const;

    // Stores the pointer, not a copy: the text must outlive the shape.
    void setName(const char* newName) { name = newName; }
    const char* getName() const { return name; }

  private:
    friend class PxPhysics;
    friend class PxRigidActor;
    friend class PxRigidBodyExt;
    friend class PxScene;

    // Everything a geometry needs, whatever its kind.
    struct GeometryData {
        PxGeometryType::Enum type = PxGeometryType::eINVALID;
        PxReal radius = 0, halfHeight = 0;
        PxVec3 halfExtents;
    };

    PxShape(PxPhysics& owner, const GeometryData& g, PxMaterial& m, bool isExclusive, PxShapeFlags f);
    ~PxShape();
    void acquireReference() { ++referenceCount; }

    PxPhysics* owner;
    GeometryData geometry;
    PxMaterial* material;
    bool exclusive;
    PxShapeFlags flags;
    const char* name = nullptr;
    PxU32 referenceCount = 1;
    PxU32 attachCount = 0;              // actors holding the shape; an exclusive shape allows one
    btCollisionShape* bullet = nullptr; // owned; shared by every body the shape is attached to
};

} // namespace physx

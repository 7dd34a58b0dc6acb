// Shapes and actors: sharing, reference counts, shape lists, and the poses the drawing code reads.
#include "PxTestScene.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

using namespace physx;

TEST(PxShape, ReferencesAreCountedAndExclusiveShapesAttachOnce) {
    PxTestScene world(PxVec3(0));
    const PxU32 materialRefs = world.material->getReferenceCount();
    PxShape* own = world.physics->createShape(PxSphereGeometry(1), *world.material, true);
    EXPECT_EQ(world.material->getReferenceCount(), materialRefs + 1);
    PxRigidDynamic* a = world.physics->createRigidDynamic(PxTransform(PxIdentity));
    PxRigidDynamic* b = world.physics->createRigidDynamic(PxTransform(PxIdentity));
    ASSERT_TRUE(a->attachShape(*own));
    EXPECT_EQ(own->getReferenceCount(), 2u);
    {
        CoutCapture out;
        EXPECT_FALSE(b->attachShape(*own));
        EXPECT_EQ(out.lines().size(), 1u); // reported through the error callback
    }
    EXPECT_EQ(b->getNbShapes(), 0u);
    own->release();
    EXPECT_EQ(own->getReferenceCount(), 1u);

    // Shape lists: a small buffer, a start index.
    PxShape* second = world.physics->createShape(PxBoxGeometry(1, 1, 1), *world.material, true);
    a->attachShape(*second);
    second->release();
    PxShape* buffer[4] = {nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(a->getNbShapes(), 2u);
    EXPECT_EQ(a->getShapes(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], own);
    EXPECT_EQ(a->getShapes(buffer, 4, 1), 1u);
    EXPECT_EQ(buffer[0], second);
    EXPECT_EQ(a->getShapes(buffer, 4, 2), 0u);
    // Both shapes count for the mass.
    PxRigidBodyExt::updateMassAndInertia(*a, 1.0f);
    EXPECT_NEAR(a->getMass(), 4.0f / 3.0f * 3.14159265f + 8.0f, 1e-4f);

    // Releasing the actor releases its hold on the shapes, and with it the shapes and their material use.
    a->release();
    EXPECT_EQ(world.material->getReferenceCount(), materialRefs);
}

TEST(PxShape, PlanesTakeTheOriginalsRotationForEveryNormal) {
    PxTestScene world(PxVec3(0));
    const float h = 0.70710678f;
    struct Case {
        PxPlane plane;
        PxQuat expected;
    };
    // Along an axis the rotation is written out: the identity for +x, a half turn about z for -x (the
    // shortest arc's own choice would be a half turn about y), quarter turns for y and z. Elsewhere the
    // shortest arc from x to the normal.
    const float third = 1.0f / std::sqrt(3.0f);
    const float w = std::sqrt((1.0f + third) / 2.0f), s = third / (2.0f * w);
    const Case cases[] = {
        {PxPlane(1, 0, 0, 0), PxQuat(0, 0, 0, 1)},
        {PxPlane(-1, 0, 0, 2), PxQuat(0, 0, 1, 0)},
        {PxPlane(0, 1, 0, 0), PxQuat(0, 0, h, h)},
        {PxPlane(0, -1, 0, 0), PxQuat(0, 0, -h, h)},
        {PxPlane(0, 0, 1, 0), PxQuat(0, -h, 0, h)},
        {PxPlane(0, 0, -1, 0), PxQuat(0, h, 0, h)},
        {PxPlane(third, third, third, 0), PxQuat(0, -s, s, w)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plane.n.x << " " << c.plane.n.y << " " << c.plane.n.z);
        PxRigidStatic* plane = PxCreatePlane(*world.physics, c.plane, *world.material);
        const PxTransform pose = plane->getGlobalPose();
        const PxQuat& q = pose.q;
        EXPECT_NEAR(q.x * c.expected.x + q.y * c.expected.y + q.z * c.expected.z + q.w * c.expected.w, 1.0f,
                    1e-6f);
        // Whatever the rotation, local x is the normal and the actor sits on the plane.
        const PxVec3 normal = pose.q.rotate(PxVec3(1, 0, 0));
        EXPECT_NEAR((normal - c.plane.n).magnitude(), 0.0f, 1e-6f);
        EXPECT_NEAR(c.plane.distance(pose.p), 0.0f, 1e-6f);
        plane->release();
    }
}

#include "physics/GameObject.h"
#include "physics/px/PxPhysicsAPI.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

using namespace physx;

namespace {

// A bare SDK for building actors: placement reads poses only, so no scene is needed.
struct Sdk {
    PxDefaultAllocator allocator;
    PxDefaultErrorCallback errors;
    PxFoundation* foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
    PxPhysics* physics =
        PxCreatePhysics(PX_PHYSICS_VERSION, *foundation, PxTolerancesScale(), false, nullptr);
    PxMaterial* material = physics->createMaterial(0.5f, 0.5f, 0.1f);

    PxRigidDynamic* ball(const PxTransform& pose) {
        PxRigidDynamic* actor = physics->createRigidDynamic(pose);
        PxShape* shape = physics->createShape(PxSphereGeometry(1.0f), *material, true);
        actor->attachShape(*shape);
        shape->release();
        return actor;
    }
};

Sdk& sdk() {
    static Sdk* s = new Sdk();
    return *s;
}

} // namespace

TEST(GameObject, PlacementFollowsTheActorAndAppendsTheModelsOwnRotationAndScale) {
    PxRigidDynamic* actor = sdk().ball(PxTransform(PxVec3(1, 2, 3)));
    Model model;
    model.rotation = glm::vec3(0, 0, 90);
    model.scale = glm::vec3(2, 3, 4);
    GameObject object(model, actor, glm::vec3(7, 8, 9));
    EXPECT_EQ(object.initialPosition, glm::vec3(7, 8, 9));
    EXPECT_EQ(object.model.position, glm::vec3(7, 8, 9));
    EXPECT_EQ(object.position, glm::vec3(0.0f)) << "nothing placed before the first frame";
    const glm::mat3 normalBefore = object.model.normalMatrix;

    ASSERT_TRUE(object.place());
    EXPECT_EQ(object.position, glm::vec3(1, 2, 3));
    // Model x (scaled by 2) turns onto world y about z, then moves with the actor.
    EXPECT_NEAR(glm::length(glm::vec3(object.model.modelMatrix * glm::vec4(1, 0, 0, 1)) - glm::vec3(1, 4, 3)),
                0.0f, 1e-5f);
    EXPECT_EQ(object.model.normalMatrix, normalBefore) << "placement keeps the normal matrix";

    // A copy drives the same actor but moves only its own model.
    GameObject copy = object;
    actor->setGlobalPose(PxTransform(PxVec3(-4, 5, 6)));
    ASSERT_TRUE(copy.place());
    EXPECT_EQ(copy.position, glm::vec3(-4, 5, 6));
    EXPECT_EQ(object.position, glm::vec3(1, 2, 3));
    EXPECT_NEAR(object.model.modelMatrix[3][0], 1.0f, 1e-6f);
}

TEST(GameObject, TheActorsTurnReachesTheModelAndTheGroundStandsOnItsPlane) {
    const float h = 0.70710678f;
    GameObject turned(Model(), sdk().ball(PxTransform(PxVec3(0, 1, 0), PxQuat(0, h, 0, h))), glm::vec3(0.0f));
    ASSERT_TRUE(turned.place());
    // A quarter turn about y sends model x to world -z.
    EXPECT_NEAR(
        glm::length(glm::vec3(turned.model.modelMatrix * glm::vec4(1, 0, 0, 0)) - glm::vec3(0, 0, -1)), 0.0f,
        1e-5f);
    GameObject ground(Model(), PxCreatePlane(*sdk().physics, PxPlane(0, 1, 0, 0), *sdk().material),
                      glm::vec3(0.0f, -0.8f, 0.0f));
    ASSERT_TRUE(ground.place());
    EXPECT_EQ(ground.position, glm::vec3(0.0f));
    // The box's thin local x axis is the plane's normal: world up.
    EXPECT_NEAR(glm::vec3(ground.model.modelMatrix * glm::vec4(1, 0, 0, 0)).y, 1.0f, 1e-5f);
}

TEST(GameObject, AnActorWithoutExactlyOneShapeKeepsTheLastPlacement) {
    PxRigidDynamic* bare = sdk().physics->createRigidDynamic(PxTransform(PxVec3(5, 5, 5)));
    GameObject object(Model(), bare, glm::vec3(1, 1, 1));
    const glm::mat4 before = object.model.modelMatrix;
    CoutCapture out;
    EXPECT_FALSE(object.place());
    EXPECT_EQ(out.lines(), std::vector<std::string>{"Error while drawing. physiX related."});
    EXPECT_EQ(object.position, glm::vec3(0.0f));
    EXPECT_EQ(object.model.modelMatrix, before);
}

TEST(GameObject, RotationGoesToTheActiveModel) {
    GameObject object(sdk().ball(PxTransform(PxVec3(0, 0, 0))));
    object.setRotation(glm::vec3(270, 0, 270));
    EXPECT_EQ(object.model.rotation, glm::vec3(270, 0, 270));
    object.animated = true;
    object.setRotation(glm::vec3(0, 0, 90));
    EXPECT_EQ(object.animatedModel.rotation, glm::vec3(0, 0, 90));
    EXPECT_NE(object.animatedModel.modelMatrix, glm::mat4(1.0f))
        << "the turn reaches the drawn model at once";
    EXPECT_EQ(object.model.rotation, glm::vec3(270, 0, 270));
    // The animated model takes the pose without its scale.
    object.animatedModel.scale = glm::vec3(5.0f);
    ASSERT_TRUE(object.place());
    EXPECT_NEAR(glm::length(glm::vec3(object.animatedModel.modelMatrix[0])), 1.0f, 1e-5f);
}

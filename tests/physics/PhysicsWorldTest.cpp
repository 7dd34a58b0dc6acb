// The level's world: what set-up builds from the level table, how it settles, and games won and
// lost inside a running scene.
#include "physics/PhysicsWorld.h"
#include "physics/GameRules.h"
#include "physics/Level.h"
#include "render/Shapes.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace physx;

namespace {

std::vector<PxRigidActor*> actorsOf(PxScene& scene) {
    const PxActorTypeFlags kinds = PxActorTypeFlag::eRIGID_STATIC | PxActorTypeFlag::eRIGID_DYNAMIC;
    std::vector<PxActor*> actors(scene.getNbActors(kinds));
    scene.getActors(kinds, actors.data(), static_cast<PxU32>(actors.size()));
    std::vector<PxRigidActor*> rigid;
    for (PxActor* a : actors)
        rigid.push_back(a->is<PxRigidActor>());
    return rigid;
}

PxShape* onlyShape(const PxRigidActor& actor) {
    PxShape* shapes[2] = {nullptr, nullptr};
    return actor.getShapes(shapes, 2) == 1 ? shapes[0] : nullptr;
}

// A shape's size as the level table writes it (see LevelPiece::halfExtents).
glm::vec3 tableExtents(const PxShape& shape) {
    PxBoxGeometry box;
    PxSphereGeometry sphere;
    PxCapsuleGeometry capsule;
    if (shape.getBoxGeometry(box))
        return {box.halfExtents.x, box.halfExtents.y, box.halfExtents.z};
    if (shape.getSphereGeometry(sphere))
        return {sphere.radius, 0, 0};
    if (shape.getCapsuleGeometry(capsule))
        return {capsule.radius, capsule.halfHeight, 0};
    return glm::vec3(0);
}

void step(PhysicsWorld& world, int frames) {
    for (int i = 0; i < frames; ++i) {
        world.scene->simulate(1.0f / 60.0f, nullptr, nullptr, 0, true);
        world.scene->fetchResults(true);
    }
}

// How far a piece reaches below its centre.
float halfHeight(const LevelPiece& piece) {
    return piece.shape == CollisionShape::Box ? piece.halfExtents.y : piece.halfExtents.x;
}

} // namespace

TEST(PhysicsWorld, EveryPieceOfTheLevelTableIsAnActorWithItsShapeAndMass) {
    PhysicsWorld world;
    std::vector<glm::vec3> nine = levelLayout();
    nine.pop_back(); // the ground's drawing position is not the world's
    {
        CoutCapture out; // no debugger listens: set-up says nothing
        world.build(nine);
        EXPECT_TRUE(out.lines().empty());
    }
    ASSERT_NE(world.scene, nullptr);
    const std::vector<PxRigidActor*> actors = actorsOf(*world.scene);
    ASSERT_EQ(actors.size(), levelPieces().size());
    EXPECT_EQ(world.scene->getNbActors(PxActorTypeFlag::eRIGID_DYNAMIC), 4u);

    for (size_t i = 0; i < actors.size(); ++i) {
        const LevelPiece& piece = levelPieces()[i];
        SCOPED_TRACE(piece.name);
        PxRigidActor* actor = actors[i];
        EXPECT_STREQ(actor->getName(), piece.name);
        // Every piece but the fences is kept in its field.
        EXPECT_EQ(world.actorOf(piece.name), std::strncmp(piece.name, "fence_", 6) == 0 ? nullptr : actor);
        PxShape* shape = onlyShape(*actor);
        ASSERT_NE(shape, nullptr);
        PxMaterial* material = nullptr;
        shape->getMaterials(&material, 1);
        EXPECT_EQ(material,
                  piece.material == PieceMaterial::Ground ? world.groundMaterial : world.objectMaterial);
        if (piece.shape == CollisionShape::Plane) {
            // The plane's normal, which is the drawn ground box's thin x axis, points up.
            EXPECT_EQ(shape->getGeometryType(), PxGeometryType::ePLANE);
            EXPECT_NEAR(PxMat44(PxShapeExt::getGlobalPose(*shape, *actor)).column0.y, 1.0f, 1e-6f);
            continue;
        }
        const glm::vec3 at = piece.entry < 0 ? piece.fixedAt : nine.at(static_cast<size_t>(piece.entry));
        EXPECT_EQ(actor->getGlobalPose().p, PxVec3(at.x, at.y, at.z));
        EXPECT_EQ(actor->getGlobalPose().q, PxQuat(PxIdentity));
        EXPECT_STREQ(shape->getName(), piece.shapeName);
        EXPECT_EQ(shape->getGeometryType() == PxGeometryType::eCAPSULE,
                  piece.shape == CollisionShape::Capsule);
        EXPECT_EQ(tableExtents(*shape), piece.halfExtents);
        EXPECT_EQ(shape->isExclusive(), piece.exclusive);
        EXPECT_EQ(shape->getFlags(), PxShapeFlag::eVISUALIZATION | PxShapeFlag::eSCENE_QUERY_SHAPE |
                                         PxShapeFlag::eSIMULATION_SHAPE);
        // The creator's reference is gone: only the actors that use the shape hold it.
        EXPECT_EQ(shape->getReferenceCount(), std::strcmp(piece.shapeName, "enemy") == 0 ? 2u : 1u);

        EXPECT_EQ(actor->is<PxRigidDynamic>() != nullptr, piece.density > 0.0f);
    }
    // Player and star weigh about the same (669 and 670), so that the creature can push the star.
    EXPECT_NEAR(world.player->getMass() / world.star->getMass(), 1.0f, 0.01f);
}

TEST(PhysicsWorld, WallsAndTheGoalAreDrawnExactlyAsLargeAsTheyCollideAndTheFencesCloseTheLevel) {
    int boxes = 0;
    std::vector<float> fenceFaces; // each fence's inner face along its thin axis
    for (const LevelPiece& piece : levelPieces()) {
        SCOPED_TRACE(piece.name);
        const glm::vec3& h = piece.halfExtents;
        if (piece.entry < 0) {
            const int thin = h.x < h.z ? 0 : 2;
            fenceFaces.push_back(piece.fixedAt[thin] - std::copysign(h[thin], piece.fixedAt[thin]));
        }
        if (piece.look != PieceLook::Box || piece.shape != CollisionShape::Box)
            continue;
        ++boxes;
        glm::vec3 lowest(1e9f), highest(-1e9f);
        for (const Vertex& v :
             boxGeometry(piece.drawnSize.x, piece.drawnSize.y, piece.drawnSize.z).vertices) {
            lowest = glm::min(lowest, v.position);
            highest = glm::max(highest, v.position);
        }
        EXPECT_EQ(highest, h);
        EXPECT_EQ(lowest, -h);
    }
    EXPECT_EQ(boxes, 4); // the goal and the three walls
    EXPECT_EQ(fenceFaces, (std::vector<float>{39, -74, -150, 74}));
}

TEST(PhysicsWorld, GetInstanceBuildsOnceAndIgnoresLaterLists) {
    PhysicsWorld* first = PhysicsWorld::getInstance(levelLayout());
    ASSERT_NE(first, nullptr);
    std::vector<glm::vec3> other = levelLayout();
    other[0] = glm::vec3(10, 20, 30);
    EXPECT_EQ(PhysicsWorld::getInstance(other), first);
    EXPECT_EQ(PhysicsWorld::getInstance({}), first);
    // Built from the first list (other tests may have stepped the shared world since).
    EXPECT_NEAR(first->player->getGlobalPose().p.z, 15.0f, 0.5f);
}

TEST(PhysicsWorld, ShortListStopsAtTheGoalWithTheEarlierActorsInTheScene) {
    PhysicsWorld world;
    std::vector<glm::vec3> four = levelLayout();
    four.resize(4);
    try {
        world.build(four);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid vector subscript");
    }
    const std::vector<PxRigidActor*> built = actorsOf(*world.scene); // ground, player, star
    EXPECT_EQ(built, (std::vector<PxRigidActor*>{world.ground, world.player, world.star}));
    EXPECT_EQ(world.goal, nullptr);
}

TEST(PhysicsWorld, BodiesFallAtTheWorldsGravityAndComeToRestOnTheGround) {
    PhysicsWorld world;
    world.build(levelLayout());
    world.star->setGlobalPose(PxTransform(PxVec3(0, 2, -15)));

    float lowest = 100;
    const char* bodies[] = {"player", "star", "enemy1", "enemy2"};
    for (int frame = 0; frame < 600; ++frame) {
        step(world, 1);
        for (const char* name : bodies)
            lowest =
                std::min(lowest, world.actorOf(name)->getGlobalPose().p.y - halfHeight(levelPiece(name)));
    }
    for (const char* name : bodies) {
        SCOPED_TRACE(name);
        PxRigidDynamic* body = world.actorOf(name)->is<PxRigidDynamic>();
        EXPECT_NEAR(body->getGlobalPose().p.y, halfHeight(levelPiece(name)), 0.01f);
        EXPECT_TRUE(body->isSleeping());
    }
    EXPECT_NEAR(world.player->getGlobalPose().p.x, 0.0f, 0.01f);
    EXPECT_NEAR(world.player->getGlobalPose().p.z, 15.0f, 0.01f);
    EXPECT_GT(lowest, -0.02f);
    EXPECT_STREQ(world.star->getName(), "star");
}

TEST(PhysicsWorld, StarRolledIntoTheGoalWinsAndIntoAnEnemyLoses) {
    struct Roll {
        PxVec3 from;
        const char *line, *result, *touched, *untouched;
    };
    const Roll rolls[] = {{PxVec3(0, 2, -135), "oh wow seems like u r a good boi and saved all glorbits",
                           "won", "goal", "enemy1"},
                          {PxVec3(25, 2, -105), "ups u got eaten", "lost", "enemy1", "goal"}};
    for (const Roll& roll : rolls) {
        SCOPED_TRACE(roll.result);
        PhysicsWorld world;
        world.build(levelLayout());
        step(world, 60);
        world.star->setGlobalPose(PxTransform(roll.from));
        world.star->setLinearVelocity(PxVec3(0, 0, -8));
        CoutCapture out;
        int frame = 0;
        for (; frame < 300 && !gamerules::gameIsOver(world.star); ++frame)
            step(world, 1);
        step(world, 30); // the game has ended: nothing further happens
        EXPECT_LT(frame, 300);
        EXPECT_EQ(out.lines(), std::vector<std::string>{roll.line});
        EXPECT_STREQ(world.star->getName(), roll.result);
        EXPECT_STREQ(world.actorOf(roll.touched)->getName(), roll.result);
        EXPECT_STREQ(world.actorOf(roll.untouched)->getName(), roll.untouched);
        EXPECT_STREQ(world.enemy2->getName(), "enemy2");
    }
}

// The game's rules: which touch ends the game, what is printed, how the actors are renamed.
#include "physics/CustomPhysXCallbackHandler.h"
#include "physics/GameRules.h"
#include "physics/px/PxPhysicsAPI.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace physx;

namespace {

const std::string wonLine = "oh wow seems like u r a good boi and saved all glorbits";
const std::string lostLine = "ups u got eaten";

// Named actors, no scene: the rules only look at names and events.
class Rules : public ::testing::Test {
  protected:
    Rules() {
        foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
        physics = PxCreatePhysics(PX_PHYSICS_VERSION, *foundation, PxTolerancesScale());
    }
    ~Rules() override {
        physics->release();
        foundation->release();
    }
    PxRigidActor* actor(const char* name) {
        PxRigidActor* a = physics->createRigidStatic(PxTransform(PxIdentity));
        a->setName(name);
        return a;
    }
    // Reports a touch between a and b (in that order) with the given events per shape pair; returns what
    // was printed.
    std::vector<std::string> report(PxRigidActor* a, PxRigidActor* b, std::vector<PxPairFlags> events) {
        PxContactPairHeader header;
        header.actors[0] = a;
        header.actors[1] = b;
        std::vector<PxContactPair> pairs(events.size());
        for (size_t i = 0; i < events.size(); ++i)
            pairs[i].events = events[i];
        CoutCapture out;
        handler.onContact(header, pairs.data(), static_cast<PxU32>(pairs.size()));
        return out.lines();
    }

    PxDefaultAllocator allocator;
    PxDefaultErrorCallback errors;
    PxFoundation* foundation;
    PxPhysics* physics;
    CustomPhysXCallbackHandler handler;
    const PxPairFlags found = PxPairFlag::eNOTIFY_TOUCH_FOUND;
};

} // namespace

TEST(GameRules, GameIsOverOnlyForWonOrLost) {
    PxDefaultAllocator allocator;
    PxDefaultErrorCallback errors;
    PxFoundation* foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
    PxPhysics* physics = PxCreatePhysics(PX_PHYSICS_VERSION, *foundation, PxTolerancesScale());
    PxRigidDynamic* star = physics->createRigidDynamic(PxTransform(PxIdentity));
    EXPECT_FALSE(gamerules::gameIsOver(star)); // no name yet
    EXPECT_FALSE(gamerules::gameIsOver(nullptr));
    const char* running[] = {"star", "wonder", "lo", ""};
    for (const char* name : running) {
        star->setName(name);
        EXPECT_FALSE(gamerules::gameIsOver(star)) << name;
    }
    // Compared by text, not by pointer.
    char won[] = "won";
    star->setName(won);
    EXPECT_TRUE(gamerules::gameIsOver(star));
    star->setName("lost");
    EXPECT_TRUE(gamerules::gameIsOver(star));
    physics->release();
    foundation->release();
}

TEST_F(Rules, StarMeetingTheGoalWinsInEitherOrder) {
    PxRigidActor *star = actor("star"), *goal = actor("goal");
    EXPECT_EQ(report(star, goal, {found}), std::vector<std::string>{wonLine});
    EXPECT_STREQ(star->getName(), "won");
    EXPECT_STREQ(goal->getName(), "won");
    // Renamed, neither matches any more: nothing happens the next time.
    EXPECT_TRUE(report(star, goal, {found}).empty());

    PxRigidActor *star2 = actor("star"), *goal2 = actor("goal");
    EXPECT_EQ(report(goal2, star2, {found}), std::vector<std::string>{wonLine});
    EXPECT_STREQ(star2->getName(), "won");
    EXPECT_STREQ(goal2->getName(), "won");
}

TEST_F(Rules, StarMeetingAnEnemyLosesInEitherOrder) {
    PxRigidActor *star = actor("star"), *enemy2 = actor("enemy2");
    EXPECT_EQ(report(star, enemy2, {found}), std::vector<std::string>{lostLine});
    EXPECT_STREQ(star->getName(), "lost");
    EXPECT_STREQ(enemy2->getName(), "lost");

    PxRigidActor *star2 = actor("star"), *enemy1 = actor("enemy1");
    EXPECT_EQ(report(enemy1, star2, {found}), std::vector<std::string>{lostLine});
    EXPECT_STREQ(star2->getName(), "lost");
    EXPECT_STREQ(enemy1->getName(), "lost");
    // A lost game cannot be won afterwards.
    PxRigidActor* goal = actor("goal");
    EXPECT_TRUE(report(star2, goal, {found}).empty());
    EXPECT_STREQ(goal->getName(), "goal");
}

TEST_F(Rules, OtherTouchesChangeNothing) {
    const char* others[][2] = {{"player", "enemy1"}, {"enemy2", "player"}, {"player", "goal"},
                               {"player", "wall2"},  {"star", "player"},   {"enemy1", "enemy2"},
                               {"enemy1", "ground"}, {"star", "ground"},   {"star", "wall1"}};
    for (const auto& pair : others) {
        PxRigidActor *a = actor(pair[0]), *b = actor(pair[1]);
        EXPECT_TRUE(report(a, b, {found}).empty()) << pair[0] << "/" << pair[1];
        EXPECT_STREQ(a->getName(), pair[0]);
        EXPECT_STREQ(b->getName(), pair[1]);
    }
    // No pairs, or only touches that persist or end.
    PxRigidActor *star = actor("star"), *goal = actor("goal");
    EXPECT_TRUE(report(star, goal, {}).empty());
    EXPECT_TRUE(
        report(star, goal, {PxPairFlag::eNOTIFY_TOUCH_PERSISTS, PxPairFlag::eNOTIFY_TOUCH_LOST}).empty());
    EXPECT_STREQ(star->getName(), "star");
    // An actor without a name is no match and no crash.
    PxRigidActor* unnamed = physics->createRigidStatic(PxTransform(PxIdentity));
    EXPECT_TRUE(report(star, unnamed, {found}).empty());
    EXPECT_STREQ(star->getName(), "star");
}

TEST_F(Rules, FirstDecidingShapePairEndsTheCall) {
    // A persisting pair first is skipped; the first touch-found pair decides; the rest are not looked at.
    PxRigidActor *star = actor("star"), *goal = actor("goal");
    EXPECT_EQ(report(star, goal, {PxPairFlag::eNOTIFY_TOUCH_PERSISTS, found, found}),
              std::vector<std::string>{wonLine});
    EXPECT_STREQ(star->getName(), "won");
}

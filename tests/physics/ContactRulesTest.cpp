// The game's rules: which touch ends the game, what is printed, how the actors are renamed.
#include "physics/CustomPhysXCallbackHandler.h"
#include "physics/GameRules.h"
#include "physics/px/PxPhysicsAPI.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace physx;

namespace {

const char* const wonLine = "oh wow seems like u r a good boi and saved all glorbits";
const char* const lostLine = "ups u got eaten";

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

TEST_F(Rules, TheStarMeetingTheGoalWinsAnEnemyLosesInEitherOrderAndOnlyOnce) {
    struct Case {
        const char *first, *second, *line, *renamed;
    };
    const Case cases[] = {{"star", "goal", wonLine, "won"},
                          {"goal", "star", wonLine, "won"},
                          {"star", "enemy2", lostLine, "lost"},
                          {"enemy1", "star", lostLine, "lost"}};
    for (const Case& c : cases) {
        PxRigidActor *a = actor(c.first), *b = actor(c.second);
        EXPECT_EQ(report(a, b, {found}), std::vector<std::string>{c.line}) << c.first << "/" << c.second;
        EXPECT_STREQ(a->getName(), c.renamed);
        EXPECT_STREQ(b->getName(), c.renamed);
        EXPECT_TRUE(gamerules::gameIsOver(a) && gamerules::gameIsOver(b));
        // Renamed, neither matches any more: nothing happens the next time, not even with the goal.
        PxRigidActor* goal = actor("goal");
        EXPECT_TRUE(report(a, goal, {found}).empty());
        EXPECT_STREQ(goal->getName(), "goal");
    }
}

TEST_F(Rules, OtherTouchesChangeNothingAndTheFirstDecidingPairEndsTheCall) {
    const char* others[][2] = {{"player", "enemy1"}, {"enemy2", "player"}, {"player", "goal"},
                               {"player", "wall2"},  {"star", "player"},   {"enemy1", "enemy2"},
                               {"enemy1", "ground"}, {"star", "ground"},   {"star", "wall1"}};
    for (const auto& pair : others) {
        PxRigidActor *a = actor(pair[0]), *b = actor(pair[1]);
        EXPECT_TRUE(report(a, b, {found}).empty()) << pair[0] << "/" << pair[1];
        EXPECT_STREQ(a->getName(), pair[0]);
        EXPECT_STREQ(b->getName(), pair[1]);
        EXPECT_FALSE(gamerules::gameIsOver(a) || gamerules::gameIsOver(b));
    }
    // No pairs, only touches that persist or end, or an actor without a name: no match and no crash.
    PxRigidActor *star = actor("star"), *goal = actor("goal");
    EXPECT_TRUE(report(star, goal, {}).empty());
    EXPECT_TRUE(
        report(star, goal, {PxPairFlag::eNOTIFY_TOUCH_PERSISTS, PxPairFlag::eNOTIFY_TOUCH_LOST}).empty());
    EXPECT_TRUE(report(star, physics->createRigidStatic(PxTransform(PxIdentity)), {found}).empty());
    EXPECT_STREQ(star->getName(), "star");
    // A persisting pair first is skipped; the first touch-found pair decides; the rest are not looked at.
    EXPECT_EQ(report(star, goal, {PxPairFlag::eNOTIFY_TOUCH_PERSISTS, found, found}),
              std::vector<std::string>{wonLine});
}

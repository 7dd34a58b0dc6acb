#include "PhysicsComparison.h"

#include "app/Game.h"
#include "app/Input.h"
#include "physics/Level.h"
#include "physics/PhysicsWorld.h"
#include "physics/px/LayerContacts.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The level as the physics world builds it: densities, sizes, gravity, material.
const btVector3 Gravity(0.0f, -6.81f, 0.0f);
constexpr float Friction = 0.5f, Restitution = 0.1f;
constexpr float PlayerMaxSpeed = 10.0f;
constexpr float Pi = 3.14159265f;

// The layer's choices that a plain world can copy (the values of BulletWorld.cpp).
constexpr float PenetrationErp = 0.8f, BounceThreshold = 2.0f;
constexpr int SolverIterations = 10;
constexpr float SleepLinearSpeed = 0.1f;

// The push the player gets in step `s`: the force of a held key, turning slowly, so the player
// runs about, meets the star and keeps the scene awake.
btVector3 pushAt(int s) {
    const float a = static_cast<float>(s) * 0.004f;
    return btVector3(std::sin(a), 0.0f, -std::cos(a)) * PushForce;
}

btVector3 toBt(const glm::vec3& v) {
    return btVector3(v.x, v.y, v.z);
}

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A plain Bullet world holding the level.
class RawLevel {
public:
    RawLevel(const std::vector<glm::vec3>& at, bool likeLayer) : likeLayer_(likeLayer) {
        dispatcher_ = std::make_unique<btCollisionDispatcher>(&config_);
        if (likeLayer) {
            contacts_.useIn(*dispatcher_, config_);
            broadphase_.m_deferedcollide = true;
        }
        world_ =
            std::make_unique<btDiscreteDynamicsWorld>(dispatcher_.get(), &broadphase_, &solver_, &config_);
        world_->setGravity(Gravity);
        if (likeLayer) {
            btContactSolverInfo& info = world_->getSolverInfo();
            info.m_erp2 = PenetrationErp;
            info.m_numIterations = SolverIterations;
            info.m_restitutionVelocityThreshold = BounceThreshold;
            info.m_solverMode |= SOLVER_USE_2_FRICTION_DIRECTIONS;
            info.m_solverMode &= ~SOLVER_USE_WARMSTARTING;
        }

        // The table's pieces in order; a shared shape serves the pieces right after it that name it.
        btCollisionShape* shared = nullptr;
        const char* sharedName = "";
        for (const LevelPiece& piece : levelPieces()) {
            const glm::vec3& h = piece.halfExtents;
            if (piece.shape == CollisionShape::Plane) {
                add(shape(new btStaticPlaneShape(btVector3(0, 1, 0), 0)), btVector3(0, 0, 0), 0.0f);
                continue;
            }
            btCollisionShape* s =
                !piece.exclusive && std::strcmp(sharedName, piece.shapeName) == 0 ? shared : nullptr;
            if (!s && piece.shape == CollisionShape::Sphere)
                s = shape(new btSphereShape(h.x));
            else if (!s && piece.shape == CollisionShape::Capsule)
                s = shape(new btCapsuleShapeX(h.x, 2.0f * h.y));
            else if (!s)
                s = shape(box(toBt(h)));
            shared = s;
            sharedName = piece.shapeName;
            const float volume = piece.shape == CollisionShape::Sphere ? 4.0f / 3.0f * Pi * h.x * h.x * h.x
                                                                       : 8.0f * h.x * h.y * h.z;
            const glm::vec3& position =
                piece.entry < 0 ? piece.fixedAt : at.at(static_cast<size_t>(piece.entry));
            btRigidBody* body = add(s, toBt(position), piece.density * volume);
            if (std::strcmp(piece.name, "player") == 0)
                player_ = body;
        }
    }

    ~RawLevel() {
        for (auto& body : bodies_)
            world_->removeRigidBody(body.get());
    }

    int bodyCount() const { return static_cast<int>(bodies_.size()); }

    void step(int s, float dt) {
        player_->applyCentralForce(pushAt(s));
        player_->activate();
        world_->stepSimulation(dt, 0);
        // The game caps the player's speed; the layer does it before the solver, close enough here.
        const btVector3 v = player_->getLinearVelocity();
        if (v.length2() > PlayerMaxSpeed * PlayerMaxSpeed)
            player_->setLinearVelocity(v * (PlayerMaxSpeed / v.length()));
    }

    glm::vec3 playerPosition() const {
        const btVector3& p = player_->getWorldTransform().getOrigin();
        return {p.x(), p.y(), p.z()};
    }

private:
    btCollisionShape* shape(btCollisionShape* s) {
        shapes_.emplace_back(s);
        return s;
    }

    btBoxShape* box(const btVector3& halfExtents) const {
        auto* b = new btBoxShape(halfExtents);
        if (likeLayer_)
            b->initializePolyhedralFeatures();
        return b;
    }

    btRigidBody* add(btCollisionShape* s, const btVector3& position, float mass) {
        btVector3 inertia(0, 0, 0);
        if (mass > 0)
            s->calculateLocalInertia(mass, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, s, inertia);
        info.m_startWorldTransform.setIdentity();
        info.m_startWorldTransform.setOrigin(position);
        info.m_friction = Friction;
        info.m_restitution = Restitution;
        bodies_.emplace_back(new btRigidBody(info));
        btRigidBody* body = bodies_.back().get();
        if (likeLayer_ && mass > 0) {
            body->setFlags(body->getFlags() & ~BT_ENABLE_GYROSCOPIC_FORCE_IMPLICIT_BODY);
            const float largest = std::max(inertia.x(), std::max(inertia.y(), inertia.z()));
            body->setSleepingThresholds(SleepLinearSpeed,
                                        std::sqrt(SleepLinearSpeed * SleepLinearSpeed * mass / largest));
        }
        world_->addRigidBody(body);
        return body;
    }

    bool likeLayer_;
    physx::detail::LayerContacts contacts_;
    btDefaultCollisionConfiguration config_;
    std::unique_ptr<btCollisionDispatcher> dispatcher_;
    btDbvtBroadphase broadphase_;
    btSequentialImpulseConstraintSolver solver_;
    std::unique_ptr<btDiscreteDynamicsWorld> world_;
    std::vector<std::unique_ptr<btCollisionShape>> shapes_;
    std::vector<std::unique_ptr<btRigidBody>> bodies_;
    btRigidBody* player_ = nullptr;
};

double timeLayer(const std::vector<glm::vec3>& at, int steps, glm::vec3& playerEnd) {
    PhysicsWorld world;
    world.build(at);
    world.player->setMaxLinearVelocity(PlayerMaxSpeed);
    const double start = seconds();
    for (int s = 0; s < steps; ++s) {
        const btVector3 f = pushAt(s);
        world.player->addForce(physx::PxVec3(f.x(), f.y(), f.z()), physx::PxForceMode::eFORCE, true);
        world.scene->simulate(PhysicsStep, nullptr, nullptr, 0, true);
        world.scene->fetchResults(true);
    }
    const double elapsed = seconds() - start;
    const physx::PxVec3 p = world.player->getGlobalPose().p;
    playerEnd = {p.x, p.y, p.z};
    return elapsed;
}

double timeRaw(const std::vector<glm::vec3>& at, int steps, bool likeLayer, glm::vec3& playerEnd) {
    RawLevel level(at, likeLayer);
    const double start = seconds();
    for (int s = 0; s < steps; ++s)
        level.step(s, PhysicsStep);
    const double elapsed = seconds() - start;
    playerEnd = level.playerPosition();
    return elapsed;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

PhysicsTimes comparePhysics(const std::vector<glm::vec3>& levelPositions, int steps, int rounds) {
    PhysicsTimes t;
    t.steps = steps;
    t.rounds = rounds;
    std::vector<double> layer, raw, matched;
    // Interleaved rounds, so that a burst of load on the machine hits all three alike.
    for (int r = 0; r < rounds; ++r) {
        layer.push_back(timeLayer(levelPositions, steps, t.layerPlayer));
        raw.push_back(timeRaw(levelPositions, steps, false, t.rawPlayer));
        matched.push_back(timeRaw(levelPositions, steps, true, t.matchedPlayer));
    }
    t.layerBest = *std::min_element(layer.begin(), layer.end());
    t.rawBest = *std::min_element(raw.begin(), raw.end());
    t.matchedBest = *std::min_element(matched.begin(), matched.end());
    t.layerMedian = median(layer);
    t.rawMedian = median(raw);
    t.matchedMedian = median(matched);
    return t;
}

int printPhysicsStep(int steps) {
    // Enough rounds for a median that a moment of load elsewhere on the machine does not move.
    constexpr int rounds = 21;
    const std::vector<glm::vec3> level = levelLayout();
    steps = std::max(steps, 1);
    std::vector<double> layer, raw;
    glm::vec3 end;
    // Interleaved, so that a burst of load on the machine hits both alike.
    for (int r = 0; r < rounds; ++r) {
        layer.push_back(timeLayer(level, steps, end) / steps);
        raw.push_back(timeRaw(level, steps, true, end) / steps);
    }
    const double layerUs = median(layer) * 1e6, rawUs = median(raw) * 1e6;
    std::printf("physics step: layer %.2f us, raw Bullet %.2f us, ratio %.2f\n", layerUs, rawUs,
                layerUs / rawUs);
    return 0;
}

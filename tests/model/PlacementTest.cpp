// Where a model's vertices land: scaled first, then turned (z first), then moved; both model kinds
// alike, and their normals stay perpendicular to the surface under any scale.
#include "model/AnimatedModel.h"
#include "model/Model.h"
#include "support/GLContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

glm::vec3 moved(const glm::mat4& m, const glm::vec3& p, float w = 1.0f) {
    return glm::vec3(m * glm::vec4(p, w));
}

void expectNear(const glm::vec3& a, const glm::vec3& b) {
    EXPECT_NEAR(glm::length(a - b), 0.0f, 1e-5f) << a.x << " " << a.y << " " << a.z;
}

// A model of kind M at (1, 2, 3), turned and scaled as given.
template <typename M> M placed(const glm::vec3& degrees, const glm::vec3& scale) {
    M m;
    m.position = glm::vec3(1, 2, 3);
    m.rotation = degrees;
    m.scale = scale;
    m.updateTransform();
    return m;
}

} // namespace

TEST(Placement, QuarterTurnsFollowTheRightHandRuleZFirstThenScaleAndMove) {
    struct Case {
        glm::vec3 degrees, from, to;
    };
    const Case cases[] = {
        {{90, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 90, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, 90, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 0, 90}, {1, 0, 0}, {0, 1, 0}},
        {{90, 90, 0}, {1, 0, 0}, {0, 1, 0}},
        {{0, 90, 90}, {1, 0, 0}, {0, 1, 0}},
        // The creature's and the enemies' turn: model +x becomes world +z, +y world +x, +z world +y.
        {{270, 0, 270}, {1, 0, 0}, {0, 0, 1}},
        {{270, 0, 270}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.degrees.x << " " << c.degrees.y << " " << c.degrees.z);
        for (const glm::mat4& m : {placed<Model>(c.degrees, glm::vec3(2.0f)).modelMatrix,
                                   placed<AnimatedModel>(c.degrees, glm::vec3(2.0f)).modelMatrix})
            expectNear(moved(m, c.from), glm::vec3(1, 2, 3) + 2.0f * c.to);
    }
}

TEST(Placement, NormalsStayPerpendicularUnderUnevenScale) {
    const Model model = placed<Model>({30, 50, 70}, {1, 4, 0.5f});
    const AnimatedModel creature = placed<AnimatedModel>({30, 50, 70}, {1, 4, 0.5f});
    // The plane x + y + 2z = 0: two directions in it and its normal.
    const glm::vec3 a(1, -1, 0), b(2, 0, -1), n(1, 1, 2);
    for (const auto& [m, normals] : {std::pair(model.modelMatrix, model.normalMatrix),
                                     std::pair(creature.modelMatrix, creature.normalMatrix)}) {
        EXPECT_NEAR(glm::dot(moved(m, a, 0.0f), normals * n), 0.0f, 1e-4f);
        EXPECT_NEAR(glm::dot(moved(m, b, 0.0f), normals * n), 0.0f, 1e-4f);
    }
}

TEST(Placement, APhysicsPoseReplacesTheMoveAndOnlyTheStaticModelKeepsItsScale) {
    const glm::mat4 pose = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0));
    Model model;
    model.position = glm::vec3(100.0f);
    model.rotation = glm::vec3(90, 0, 0);
    model.scale = glm::vec3(2, 3, 4);
    model.updateTransform();
    const glm::mat3 normals = model.normalMatrix;
    model.applyPose(pose);
    // (0, 1, 0) scaled to (0, 3, 0), turned about x to (0, 0, 3), by the pose to (3, 0, 0), moved by 5.
    expectNear(moved(model.modelMatrix, {0, 1, 0}), {8, 0, 0});
    EXPECT_EQ(model.normalMatrix, normals);

    AnimatedModel creature; // its scale is (0, 0, 0) until loaded: the pose must not use it
    creature.rotation = glm::vec3(90, 0, 0);
    creature.applyPose(pose);
    expectNear(moved(creature.modelMatrix, {0, 1, 0}), {6, 0, 0});
}

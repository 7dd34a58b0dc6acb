#include "model/AnimatedModel.h"
#include "model/Model.h"

#include "support/GLContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

void expectMatNear(const glm::mat4& a, const glm::mat4& b) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(a[c][r], b[c][r], 1e-5f) << "column " << c << " row " << r;
}

void expectMat3Near(const glm::mat3& a, const glm::mat3& b) {
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(a[c][r], b[c][r], 1e-5f) << "column " << c << " row " << r;
}

// Columns written out by hand: T(1, 2, 3) · Rx(90°) · S(2, 3, 4). Rx(90°) takes y to z and z to -y.
const glm::mat4 HandPlaced(glm::vec4(2, 0, 0, 0), glm::vec4(0, 0, 3, 0), glm::vec4(0, -4, 0, 0),
                           glm::vec4(1, 2, 3, 1));
// Its inverse transpose keeps the rotation and inverts the scale.
const glm::mat3 HandNormals(glm::vec3(0.5f, 0, 0), glm::vec3(0, 0, 1.0f / 3.0f), glm::vec3(0, -0.25f, 0));

} // namespace

TEST(Placement, UpdateTransformScalesRotatesThenTranslates) {
    Model model;
    model.position = glm::vec3(1, 2, 3);
    model.rotation = glm::vec3(90, 0, 0);
    model.scale = glm::vec3(2, 3, 4);
    model.updateTransform();
    expectMatNear(model.modelMatrix, HandPlaced);
    expectMat3Near(model.normalMatrix, HandNormals);

    AnimatedModel creature;
    creature.position = model.position;
    creature.rotation = model.rotation;
    creature.scale = model.scale;
    creature.updateTransform();
    expectMatNear(creature.modelMatrix, HandPlaced);
    expectMat3Near(creature.normalMatrix, HandNormals);
}

TEST(Placement, StartUpTurnMapsModelAxesIntoTheWorld) {
    // (270, 0, 270) is applied z first: model +x becomes world +z, +y world +x, +z world +y.
    Model model;
    model.rotation = glm::vec3(270, 0, 270);
    model.updateTransform();
    const glm::vec4 x = model.modelMatrix * glm::vec4(1, 0, 0, 0);
    const glm::vec4 y = model.modelMatrix * glm::vec4(0, 1, 0, 0);
    const glm::vec4 z = model.modelMatrix * glm::vec4(0, 0, 1, 0);
    EXPECT_NEAR(x.z, 1.0f, 1e-5f);
    EXPECT_NEAR(y.x, 1.0f, 1e-5f);
    EXPECT_NEAR(z.y, 1.0f, 1e-5f);
}

TEST(Placement, ApplyPoseKeepsTheNormalMatrixAndOnlyTheStaticModelScales) {
    const glm::mat4 pose = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0));
    const glm::mat4 rx = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));

    Model model;
    model.rotation = glm::vec3(90, 0, 0);
    model.scale = glm::vec3(2, 3, 4);
    model.updateTransform();
    const glm::mat3 normals = model.normalMatrix;
    model.applyPose(pose);
    expectMatNear(model.modelMatrix, pose * rx * glm::scale(glm::mat4(1.0f), glm::vec3(2, 3, 4)));
    EXPECT_EQ(model.normalMatrix, normals);

    AnimatedModel creature; // scale (0, 0, 0) until loaded: applyPose must not use it
    creature.rotation = glm::vec3(90, 0, 0);
    creature.applyPose(pose);
    expectMatNear(creature.modelMatrix, pose * rx);
    EXPECT_EQ(creature.normalMatrix, glm::mat3(1.0f));
}

TEST(Placement, AnEmptyCreatureHasNoClipToPlay) {
    AnimatedModel creature;
    CoutCapture out;
    EXPECT_FALSE(creature.playClip(1));
    creature.advance(0.5f);
    EXPECT_EQ(creature.currentAnimation, nullptr);
    EXPECT_EQ(creature.animationTime, 0.0f);
    EXPECT_EQ(out.lines(), std::vector<std::string>{"No animation clip 1 in an empty model"});
}

#include "app/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const glm::vec4 GameProjection(60.0f, 1280.0f / 768.0f, 0.1f, 1000.0f);

glm::vec3 toEye(const Camera& c, const glm::vec3& world) { return glm::vec3(c.viewMatrix * glm::vec4(world, 1.0f)); }

} // namespace

TEST(Camera, ProjectionMatchesTheClosedForm) {
    const Camera c(glm::vec3(0, 2, 15), glm::vec3(0.0f), 1.0f, 30.0f, GameProjection);
    const float t = std::tan(30.0f * DegToRad);
    EXPECT_NEAR(c.projectionMatrix[0][0], 1.0f / (1280.0f / 768.0f * t), 1e-5f); // 1.03923
    EXPECT_NEAR(c.projectionMatrix[1][1], 1.7320508f, 1e-5f);
    EXPECT_NEAR(c.projectionMatrix[2][2], -1000.1f / 999.9f, 1e-6f);
    EXPECT_FLOAT_EQ(c.projectionMatrix[2][3], -1.0f);
    EXPECT_NEAR(c.projectionMatrix[3][2], -200.0f / 999.9f, 1e-6f);
    EXPECT_FLOAT_EQ(c.projectionMatrix[3][3], 0.0f);
    EXPECT_FLOAT_EQ(c.projectionMatrix[0][1], 0.0f);
}

TEST(Camera, FreeViewLooksAlongMinusZAndTurnsWithYawAndPitch) {
    Camera c(glm::vec3(0, 2, 15), glm::vec3(0.0f), 1.0f, 30.0f, GameProjection);
    EXPECT_EQ(c.mode, CameraMode::Free);
    // Level: a point straight ahead is on the eye's -z axis.
    glm::vec3 ahead = toEye(c, glm::vec3(0, 2, 5));
    EXPECT_NEAR(ahead.x, 0.0f, 1e-5f);
    EXPECT_NEAR(ahead.y, 0.0f, 1e-5f);
    EXPECT_NEAR(ahead.z, -10.0f, 1e-5f);

    // Yaw 90 turns left: the camera now looks along world -x.
    c.yaw = 90.0f;
    c.update();
    glm::vec3 left = toEye(c, glm::vec3(-7, 2, 15));
    EXPECT_NEAR(left.x, 0.0f, 1e-4f);
    EXPECT_NEAR(left.z, -7.0f, 1e-4f);

    // Pitch 30 looks up: a point 30 degrees above the horizon is dead ahead.
    c.yaw = 0.0f;
    c.pitch = 30.0f;
    c.update();
    glm::vec3 up = toEye(c, glm::vec3(0.0f, 2.0f + 0.5f * 4.0f, 15.0f - 0.8660254f * 4.0f));
    EXPECT_NEAR(up.x, 0.0f, 1e-4f);
    EXPECT_NEAR(up.y, 0.0f, 1e-4f);
    EXPECT_NEAR(up.z, -4.0f, 1e-4f);
}

TEST(Camera, FollowOrbitsTwentyUnitsBehindAndTenAbove) {
    Camera c(glm::vec3(0, 2, 15), glm::vec3(0, 10, 20), 1.3f, GameProjection);
    EXPECT_EQ(c.mode, CameraMode::Follow);
    EXPECT_FLOAT_EQ(c.yaw, 0.0f);
    EXPECT_FLOAT_EQ(c.pitch, 0.0f);
    EXPECT_NEAR(glm::distance(c.position, glm::vec3(0, 12, 35)), 0.0f, 1e-5f);
    // The target sits on the eye's -z axis.
    glm::vec3 target = toEye(c, c.target);
    EXPECT_NEAR(target.x, 0.0f, 1e-4f);
    EXPECT_NEAR(target.y, 0.0f, 1e-4f);
    EXPECT_NEAR(target.z, -std::sqrt(500.0f), 1e-4f);

    // A quarter turn swings the offset about the target: (0, 10, 20) becomes (20, 10, 0).
    c.yaw = 90.0f;
    c.target = glm::vec3(1, 2, 3);
    c.update();
    EXPECT_NEAR(c.position.x, 21.0f, 1e-4f);
    EXPECT_NEAR(c.position.y, 12.0f, 1e-4f);
    EXPECT_NEAR(c.position.z, 3.0f, 1e-4f);
    const float horizontal = std::hypot(c.position.x - c.target.x, c.position.z - c.target.z);
    EXPECT_NEAR(horizontal, 20.0f, 1e-4f);
}

TEST(Camera, MoveFollowsThePitchedAxes) {
    Camera c(glm::vec3(0.0f), glm::vec3(0.0f, 30.0f, 0.0f), 1.0f, 30.0f, GameProjection);
    // speed 30 for 0.1 s: 3 units along the camera's own axes.
    c.move(CameraMovement::Forward, 0.1f);
    EXPECT_NEAR(c.position.x, 0.0f, 1e-5f);
    EXPECT_NEAR(c.position.y, 1.5f, 1e-5f); // looking up, forward climbs
    EXPECT_NEAR(c.position.z, -2.5980762f, 1e-5f);
    c.position = glm::vec3(0.0f);
    c.move(CameraMovement::Up, 0.1f);
    EXPECT_NEAR(c.position.y, 2.5980762f, 1e-5f);
    EXPECT_NEAR(c.position.z, 1.5f, 1e-5f);
    c.position = glm::vec3(0.0f);
    c.yaw = 90.0f;
    c.pitch = 0.0f;
    c.move(CameraMovement::Right, 0.1f); // facing -x, right is -z
    EXPECT_NEAR(c.position.z, -3.0f, 1e-5f);
    c.move(CameraMovement::Left, 0.1f);
    c.move(CameraMovement::Backward, 0.1f);
    c.move(CameraMovement::Down, 0.1f);
    EXPECT_NEAR(c.position.x, 3.0f, 1e-5f);
    EXPECT_NEAR(c.position.y, -3.0f, 1e-5f);
    EXPECT_NEAR(c.position.z, 0.0f, 1e-5f);
}

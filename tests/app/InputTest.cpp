#include "app/AppState.h"
#include "app/Input.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Input, PushesAreRelativeToTheFollowCamera) {
    // At yaw 0 the camera is straight behind (+z) the player: forward is -z.
    const float fx = 0.0f, fz = -1.0f;
    const glm::vec3 w = pushForce(true, false, false, false, fx, fz);
    const glm::vec3 a = pushForce(false, true, false, false, fx, fz);
    const glm::vec3 s = pushForce(false, false, true, false, fx, fz);
    const glm::vec3 d = pushForce(false, false, false, true, fx, fz);
    EXPECT_EQ(w, glm::vec3(0, 0, -10000));
    EXPECT_EQ(a, glm::vec3(-10000, 0, 0));
    EXPECT_EQ(s, glm::vec3(0, 0, 10000));
    EXPECT_EQ(d, glm::vec3(10000, 0, 0));
    EXPECT_NEAR(glm::length(pushForce(true, true, false, false, fx, fz)), 10000.0f * std::sqrt(2.0f), 0.01f);
    EXPECT_EQ(pushForce(true, false, true, false, fx, fz), glm::vec3(0.0f));

    // Camera turned to look along +x: W pushes +x, D pushes +z.
    EXPECT_EQ(pushForce(true, false, false, false, 1.0f, 0.0f), glm::vec3(10000, 0, 0));
    EXPECT_EQ(pushForce(false, false, false, true, 1.0f, 0.0f), glm::vec3(0, 0, 10000));
}

TEST(Input, MouseTurnsTheActiveCameraAndDropsPitchOutsideTheLimits) {
    AppState s;
    s.followCam.sensitivity = 1.3f;
    s.freeCam.sensitivity = 1.0f;
    s.lastX = 640.0f;
    s.lastY = 384.0f;

    // The first event only takes the position.
    turnCameras(s, 900.0, 100.0);
    EXPECT_FALSE(s.firstMouse);
    EXPECT_EQ(s.followCam.yaw, 0.0f);
    EXPECT_EQ(s.freeCam.pitch, 0.0f);
    EXPECT_EQ(s.lastX, 900.0f);

    // Follow camera: 10 px right lowers yaw by 10 * 1.3 * 0.017453292; vertical motion ignored.
    turnCameras(s, 910.0, 300.0);
    EXPECT_NEAR(s.followCam.yaw, -10.0f * 1.3f * DegToRad, 1e-6f);
    EXPECT_EQ(s.followCam.pitch, 0.0f);

    // Free camera near the top: an update that would pass 90 is dropped, the yaw part still applies.
    s.freeCameraActive = true;
    s.freeCam.pitch = 89.5f;
    const float k = DegToRad;
    const double up = -(0.7 / k) - 1.0; // would make the pitch about 90.2
    turnCameras(s, 920.0, 300.0 + up);
    EXPECT_EQ(s.freeCam.pitch, 89.5f);
    EXPECT_NEAR(s.freeCam.yaw, -10.0f * k, 1e-6f);
    // Moving down lowers the pitch (looks down).
    turnCameras(s, 920.0, 300.0 + up + 100.0);
    EXPECT_NEAR(s.freeCam.pitch, 89.5f - 100.0f * k, 1e-4f);
}

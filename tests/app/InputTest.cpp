#include "app/Input.h"
#include "app/AppState.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Input, KeysAndStickPushRelativeToTheFollowCamera) {
    // At yaw 0 the camera is straight behind (+z) the player: forward is -z.
    const float fx = 0.0f, fz = -1.0f;
    const glm::vec2 still(0.0f);
    EXPECT_EQ(playerPushes({true, false, false, false}, still, fx, fz).sum(), glm::vec3(0, 0, -10000));
    EXPECT_EQ(playerPushes({false, true, false, false}, still, fx, fz).sum(), glm::vec3(-10000, 0, 0));
    EXPECT_EQ(playerPushes({false, false, true, false}, still, fx, fz).sum(), glm::vec3(0, 0, 10000));
    EXPECT_EQ(playerPushes({false, false, false, true}, still, fx, fz).sum(), glm::vec3(10000, 0, 0));
    EXPECT_NEAR(glm::length(playerPushes({true, true, false, false}, still, fx, fz).sum()),
                10000.0f * std::sqrt(2.0f), 0.01f);
    // W with S cancel, but each held key is still a push of its own (each wakes the body).
    const Pushes cancel = playerPushes({true, false, true, false}, still, fx, fz);
    EXPECT_EQ(cancel.count, 2);
    EXPECT_EQ(cancel.sum(), glm::vec3(0.0f));
    EXPECT_EQ(playerPushes({}, still, fx, fz).count, 0);

    // Camera turned to look along +x: W pushes +x, D pushes +z.
    EXPECT_EQ(playerPushes({true, false, false, false}, still, 1.0f, 0.0f).sum(), glm::vec3(10000, 0, 0));
    EXPECT_EQ(playerPushes({false, false, false, true}, still, 1.0f, 0.0f).sum(), glm::vec3(0, 0, 10000));

    // The stick pushes as the keys do, scaled by its deflection, and adds to them.
    EXPECT_EQ(playerPushes({}, {0.0f, 1.0f}, fx, fz).sum(), glm::vec3(0, 0, -10000));
    EXPECT_EQ(playerPushes({}, {0.5f, 0.0f}, 1.0f, 0.0f).sum(), glm::vec3(0, 0, 5000));
    const Pushes both = playerPushes({true, false, false, false}, {-1.0f, 0.0f}, fx, fz);
    EXPECT_EQ(both.count, 2);
    EXPECT_EQ(both.sum(), glm::vec3(-10000, 0, -10000));
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

TEST(Input, MouseSpeedScalesTurningAndInvertFlipsOnlyTheFreeLook) {
    AppState s;
    s.followCam.sensitivity = 1.3f;
    s.mouseSpeed = 2.5f;
    s.invertMouse = true;
    turnBy(s, 10.0f, 40.0f);
    EXPECT_NEAR(s.followCam.yaw, -10.0f * 1.3f * DegToRad * 2.5f, 1e-6f);

    s.freeCameraActive = true;
    turnBy(s, -4.0f, 100.0f); // inverted: moving down looks up
    EXPECT_NEAR(s.freeCam.pitch, 100.0f * DegToRad * 2.5f, 1e-5f);
    EXPECT_NEAR(s.freeCam.yaw, 4.0f * DegToRad * 2.5f, 1e-6f);
}

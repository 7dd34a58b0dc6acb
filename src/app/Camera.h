#pragma once

#include <glm/glm.hpp>

enum class CameraMode { Free = 0, Follow = 1 };
enum class CameraMovement { Forward = 0, Backward = 1, Left = 2, Right = 3, Up = 4, Down = 5 };

// Degrees to radians, as the float the game uses everywhere.
constexpr float DegToRad = 0.017453292f;

// The free-flying camera and the follow camera that orbits the player. Pure math, no GL.
class Camera {
public:
    glm::vec3 position{0.0f};
    glm::vec3 target{0.0f}; // Follow: the point orbited and looked at
    glm::vec3 offset{0.0f}; // Follow: eye position relative to target before the yaw
    float fov = 60.0f, aspect = 1.0f, nearPlane = 0.1f, farPlane = 1000.0f;
    float yaw = 0.0f, pitch = 0.0f; // degrees; Follow uses yaw only
    float sensitivity = 1.0f;       // one pixel turns by sensitivity * DegToRad degrees
    float speed = 0.0f;             // Free: world units per second
    glm::mat4 viewMatrix{1.0f};
    glm::mat4 projectionMatrix{1.0f};
    CameraMode mode = CameraMode::Free;

    Camera() = default;
    // Free camera; angles = (yaw, pitch, -), projection = (fov, aspect, near, far).
    Camera(glm::vec3 position, glm::vec3 angles, float sensitivity, float speed, glm::vec4 projection);
    // Follow camera, starting at target + offset.
    Camera(glm::vec3 target, glm::vec3 offset, float sensitivity, glm::vec4 projection);

    void update();
    // Free mode only: moves by speed * deltaSeconds along the camera's own axes.
    void move(CameraMovement direction, float deltaSeconds);
};

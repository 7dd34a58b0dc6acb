#include "app/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::mat4 projectionFrom(const glm::vec4& p) { return glm::perspective(p.x * DegToRad, p.y, p.z, p.w); }

// The free camera's orientation: yaw about world y, then pitch about the camera's x.
glm::mat4 orientation(float yaw, float pitch) {
    glm::mat4 m = glm::rotate(glm::mat4(1.0f), yaw * DegToRad, glm::vec3(0.0f, 1.0f, 0.0f));
    return glm::rotate(m, pitch * DegToRad, glm::vec3(1.0f, 0.0f, 0.0f));
}

} // namespace

Camera::Camera(glm::vec3 position, glm::vec3 angles, float sensitivity, float speed, glm::vec4 projection)
    : position(position), fov(projection.x), aspect(projection.y), nearPlane(projection.z),
      farPlane(projection.w), yaw(angles.x), pitch(angles.y), sensitivity(sensitivity), speed(speed),
      projectionMatrix(projectionFrom(projection)), mode(CameraMode::Free) {
    update();
}

Camera::Camera(glm::vec3 target, glm::vec3 offset, float sensitivity, glm::vec4 projection)
    : position(target + offset), target(target), offset(offset), fov(projection.x), aspect(projection.y),
      nearPlane(projection.z), farPlane(projection.w), sensitivity(sensitivity),
      projectionMatrix(projectionFrom(projection)), mode(CameraMode::Follow) {
    update();
}

void Camera::update() {
    if (mode == CameraMode::Free) {
        glm::mat4 view = glm::rotate(glm::mat4(1.0f), -pitch * DegToRad, glm::vec3(1.0f, 0.0f, 0.0f));
        view = glm::rotate(view, -yaw * DegToRad, glm::vec3(0.0f, 1.0f, 0.0f));
        viewMatrix = glm::translate(view, -position);
        return;
    }
    glm::mat4 turn = glm::rotate(glm::mat4(1.0f), yaw * DegToRad, glm::vec3(0.0f, 1.0f, 0.0f));
    position = target + glm::vec3(turn * glm::vec4(offset, 1.0f));
    viewMatrix = glm::lookAt(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
}

void Camera::move(CameraMovement direction, float deltaSeconds) {
    const float d = speed * deltaSeconds;
    const glm::mat4 axes = orientation(yaw, pitch);
    const glm::vec3 right(axes[0]), up(axes[1]), back(axes[2]);
    switch (direction) {
    case CameraMovement::Forward: position -= d * back; break;
    case CameraMovement::Backward: position += d * back; break;
    case CameraMovement::Left: position -= d * right; break;
    case CameraMovement::Right: position += d * right; break;
    case CameraMovement::Up: position += d * up; break;
    case CameraMovement::Down: position -= d * up; break;
    }
}

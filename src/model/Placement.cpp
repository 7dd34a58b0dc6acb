#include "model/Placement.h"

#include <glm/gtc/matrix_transform.hpp>

namespace placement {

glm::mat4 rotationMatrix(const glm::vec3& degrees) {
    glm::mat4 r(1.0f);
    r = glm::rotate(r, degrees.x * DegreesToRadians, glm::vec3(1.0f, 0.0f, 0.0f));
    r = glm::rotate(r, degrees.y * DegreesToRadians, glm::vec3(0.0f, 1.0f, 0.0f));
    r = glm::rotate(r, degrees.z * DegreesToRadians, glm::vec3(0.0f, 0.0f, 1.0f));
    return r;
}

glm::mat4 modelMatrix(const glm::vec3& position, const glm::vec3& degrees, const glm::vec3& scale) {
    glm::mat4 t = glm::translate(glm::mat4(1.0f), position);
    return t * rotationMatrix(degrees) * glm::scale(glm::mat4(1.0f), scale);
}

glm::mat3 normalMatrix(const glm::mat4& model) {
    return glm::mat3(glm::transpose(glm::inverse(model)));
}

} // namespace placement

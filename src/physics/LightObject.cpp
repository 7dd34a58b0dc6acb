#include "physics/LightObject.h"

LightObject::LightObject(Model model, physx::PxRigidActor* actor, const glm::vec3& position,
                         const glm::vec3& colour, float intensity)
    : GameObject(std::move(model), actor, position), lightPosition(position), lightColour(colour),
      intensity(intensity) {}

void LightObject::setLightUniforms(const Shader& shader) const {
    shader.use();
    shader.setVec3("pointL.color", lightColour);
    shader.setVec3("pointL.position", position);
}

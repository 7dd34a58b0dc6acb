#pragma once

#include "physics/GameObject.h"
#include "render/Shader.h"

// A game object that also carries the scene's single point light (the star).
class LightObject : public GameObject {
public:
    glm::vec3 lightPosition{0.0f}; // the position given at construction; the light follows `position`
    glm::vec3 lightColour{0.0f};
    float intensity = 0.0f;

    LightObject() = default;
    LightObject(Model model, physx::PxRigidActor* actor, const glm::vec3& position, const glm::vec3& colour,
                float intensity);

    // Sends "pointL.color" and "pointL.position" (the last placed position) to the program.
    void setLightUniforms(const Shader& shader) const;
};

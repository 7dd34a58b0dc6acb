#pragma once

#include "model/AnimatedModel.h"
#include "model/Model.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

namespace physx {
class PxRigidActor;
class PxRigidDynamic;
class PxShape;
} // namespace physx

// One physics actor bound to one drawable: each frame the model is drawn where the simulation put
// the actor. Owns its two models by value; the actor and body belong to the physics world, which
// outlives every game object. Copies share the actor and the models' GL names.
class GameObject {
public:
    Model model;                 // drawn when !animated
    AnimatedModel animatedModel; // drawn when animated (the player only)
    glm::vec3 initialPosition{0.0f};
    glm::vec3 position{0.0f}; // the actor's shape position at the last successful placement
    physx::PxRigidActor* actor = nullptr;  // non-owning
    physx::PxRigidDynamic* body = nullptr; // non-owning; the player's pushed body, else null
    bool animated = false;

    GameObject() = default;
    // Bound to an actor with both models empty, to be built in place.
    explicit GameObject(physx::PxRigidActor* actor) : actor(actor) {}
    GameObject(Model model, physx::PxRigidActor* actor, const glm::vec3& position);

    // Writes the angles (degrees) into the active model and recomputes its matrices.
    void setRotation(const glm::vec3& degrees);

    // Moves the active model (or `model` when forceStatic) to the actor's shape pose. Prints
    // "Error while drawing. physiX related." and keeps the last placement unless the actor has
    // exactly one shape.
    bool place(bool forceStatic = false);
    void draw();
    // Draws the static model with a foreign program, setting only "modelMatrix".
    void draw(GLuint program);
};

// The world pose of an actor's only shape, as a column-major matrix; false when the actor does not
// have exactly one shape.
bool shapeWorldMatrix(const physx::PxRigidActor& actor, glm::mat4& out);

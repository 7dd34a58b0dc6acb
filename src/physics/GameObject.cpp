#include "physics/GameObject.h"

#include "physics/px/PxPhysicsAPI.h"

#include <cstring>
#include <iostream>

using namespace physx;

namespace {
// Placement fetches into a fixed local array; more shapes than this are never looked at.
constexpr PxU32 MaxShapes = 128;
} // namespace

bool shapeWorldMatrix(const PxRigidActor& actor, glm::mat4& out) {
    PxShape* shapes[MaxShapes];
    const PxU32 count = actor.getNbShapes();
    actor.getShapes(shapes, MaxShapes);
    if (count != 1)
        return false;
    const PxMat44 pose(PxShapeExt::getGlobalPose(*shapes[0], actor));
    // Both are column-major 4x4 float matrices: copy element for element.
    std::memcpy(&out[0][0], pose.front(), sizeof(float) * 16);
    return true;
}

GameObject::GameObject(Model model, PxRigidActor* actor, const glm::vec3& position)
    : model(std::move(model)), initialPosition(position), actor(actor) {
    this->model.position = position;
    this->model.updateTransform();
}

void GameObject::setRotation(const glm::vec3& degrees) {
    if (animated) {
        animatedModel.rotation = degrees;
        animatedModel.updateTransform();
    } else {
        model.rotation = degrees;
        model.updateTransform();
    }
}

bool GameObject::place(bool forceStatic) {
    glm::mat4 pose(1.0f);
    if (!actor || !shapeWorldMatrix(*actor, pose)) {
        std::cout << "Error while drawing. physiX related." << std::endl;
        return false;
    }
    if (animated && !forceStatic)
        animatedModel.applyPose(pose);
    else
        model.applyPose(pose);
    position = glm::vec3(pose[3]);
    return true;
}

void GameObject::draw() {
    place();
    if (animated)
        animatedModel.draw();
    else
        model.draw();
}

void GameObject::draw(GLuint program) {
    place(true);
    Shader(program).setMat4("modelMatrix", model.modelMatrix);
    for (const Mesh& mesh : model.meshes)
        mesh.draw();
}

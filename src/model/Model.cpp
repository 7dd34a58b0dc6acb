#include "model/Model.h"

#include "model/ModelGpu.h"
#include "model/ModelImport.h"
#include "model/Placement.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cassert>
#include <iostream>
#include <sstream>

Model::Model(const char* path, Shader* shader) : shader(shader) {
    // Everything is converted and checked before the first GL object is made, so a refused file
    // leaves neither meshes nor half-filled vectors behind.
    ImportResult<StaticModelData> imported = modelimport::importStatic(path);
    std::ostringstream said;
    modelgpu::uploadImported(imported, meshes, texturesLoaded, directory, said);
    if (!imported.loaded())
        said << "Model file " << path << " refused: " << imported.why()
             << "; the game goes on with an empty model" << std::endl;
    loadLines = said.str();
    repeatLoadLines();
    materialCoefficients = modelgpu::MaterialCoefficients;
}

void Model::repeatLoadLines() const {
    modelgpu::writeLines(std::cout, loadLines);
}

void Model::updateTransform() {
    modelMatrix = placement::modelMatrix(position, rotation, scale);
    normalMatrix = placement::normalMatrix(modelMatrix);
}

void Model::applyPose(const glm::mat4& pose) {
    modelMatrix = pose * placement::rotationMatrix(rotation) * glm::scale(glm::mat4(1.0f), scale);
}

void Model::draw() {
    assert(shader && "a model is drawn only after a shader was given to it");
    modelgpu::setObjectUniforms(*shader, objCol, modelMatrix, normalMatrix, materialCoefficients);
    for (const Mesh& mesh : meshes)
        mesh.draw();
}

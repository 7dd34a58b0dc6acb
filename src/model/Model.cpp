#include "model/Model.h"

#include "model/ModelGpu.h"
#include "model/ModelLoadError.h"
#include "model/Placement.h"
#include "model/SceneImport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <glm/gtc/matrix_transform.hpp>

#include <cassert>
#include <iostream>

namespace {

const glm::vec4 LoadedMaterialCoefficients(0.05f, 0.5f, 0.6f, 4.0f);

} // namespace

Model::Model(const char* path, Shader* shader) : shader(shader) {
    // Everything is converted and checked before the first GL object is made, so a refused file
    // leaves neither meshes nor half-filled vectors behind.
    try {
        Assimp::Importer importer;
        std::string importError;
        const aiScene* scene = sceneimport::readScene(importer, path, importError);
        if (!scene) {
            std::cout << importError << std::endl;
        } else {
            const std::string dir = sceneimport::directoryOf(path);
            std::vector<MeshData<Vertex>> converted;
            for (unsigned index : sceneimport::meshOrder(scene)) {
                if (index >= scene->mNumMeshes)
                    throw ModelLoadError("a node names mesh " + std::to_string(index) + " of " +
                                         std::to_string(scene->mNumMeshes));
                converted.push_back(sceneimport::convertMesh<Vertex>(scene, scene->mMeshes[index], dir));
            }
            directory = dir;
            meshes = modelgpu::uploadMeshes(std::move(converted), texturesLoaded, directory);
        }
    } catch (const std::exception& e) {
        std::cout << "Model file " << path << " refused: " << e.what() << std::endl;
        meshes.clear();
        texturesLoaded.clear();
        directory.clear();
    }
    materialCoefficients = LoadedMaterialCoefficients;
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

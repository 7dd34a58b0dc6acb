#pragma once

#include "model/Mesh.h"
#include "render/Shader.h"
#include "render/Texture.h"

#include <glm/glm.hpp>

#include <string>
#include <vector>

struct BloomTargets;

// A static model: FBX-loaded meshes or one generated shape, with its placement and material.
// Holds its shader without owning it. The star's model also carries the bloom targets and the
// bloom programs, because the bloom pass runs on it.
class Model {
public:
    std::vector<Mesh> meshes;
    std::string directory;              // FBX path up to its last '/'
    std::vector<Texture> texturesLoaded; // every texture this model loaded, reused by path
    GLuint quadVAO = 0, quadVBO = 0;    // the bloom pass's full-screen quad, made on first use
    glm::vec3 position{0.0f};
    glm::mat4 modelMatrix{1.0f};
    glm::mat3 normalMatrix{1.0f};
    glm::vec3 rotation{0.0f}; // degrees about x, y, z
    glm::vec3 scale{1.0f};
    glm::vec4 objCol{0.0f};
    Shader* shader = nullptr; // non-owning
    // Bloom targets, filled in on the star's model only (see Bloom.h).
    GLuint hdrFBO = 0;
    GLuint colorBuffers[2] = {0, 0};
    GLuint pingpongFBO[2] = {0, 0};
    GLuint pingpongColorbuffers[2] = {0, 0};
    glm::vec4 materialCoefficients{0.0f}; // ambient, diffuse, specular factor, specular exponent
    // Bloom programs, non-owning, set on the star's model only. Nothing draws with the first.
    Shader* firstBloomShader = nullptr;
    Shader* blurShader = nullptr;
    Shader* combineShader = nullptr;
    // Non-owning; the sizes of the bloom targets, set together with the names above.
    BloomTargets* bloomTargets = nullptr;
    // What loading the file printed, line by line in order; empty for generated shapes.
    std::string loadLines;

    // An empty model (no meshes, coefficients all 0) that a loaded model is assigned into.
    Model() = default;
    // Loads an FBX file. A refused file prints the importer's "ERROR::ASSIMP::..." line when the
    // importer refused it, then a line naming the file and why, and leaves the model empty.
    Model(const char* path, Shader* shader);
    // Wraps one generated mesh with the default texture. Only the bloom carrier (the star's
    // sphere) announces itself with "INIT BLOOM".
    Model(Mesh mesh, Shader* shader, const glm::vec4& color, bool bloomCarrier = false);

    // Prints loadLines again: a copy that stands for a second load of the same file says what that
    // load would have said.
    void repeatLoadLines() const;

    Texture loadDefaultTexture();
    void updateTransform();                // modelMatrix, normalMatrix from position, rotation, scale
    void applyPose(const glm::mat4& pose); // pose · R · S; keeps normalMatrix
    void draw();

    // Bloom pass: ten blur passes on the glow image, then the combine onto the window.
    void drawBloom();
    void renderQuad();
};

#include "model/ModelGpu.h"

#include <sstream>

namespace modelgpu {

std::vector<Texture> resolveTextures(const std::vector<TextureRef>& refs,
                                     std::vector<Texture>& texturesLoaded, const std::string& directory,
                                     std::ostream& out) {
    std::vector<Texture> textures;
    for (const TextureRef& ref : refs) {
        const Texture* known = nullptr;
        for (const Texture& loaded : texturesLoaded) {
            if (loaded.path == ref.path) {
                known = &loaded;
                break;
            }
        }
        if (known) {
            textures.push_back(*known);
            continue;
        }
        Texture texture;
        texture.id = loadTextureFromFile(ref.path.c_str(), directory, out);
        texture.type = ref.type;
        texture.path = ref.path;
        textures.push_back(texture);
        texturesLoaded.push_back(texture);
    }
    return textures;
}

void writeLines(std::ostream& out, const std::string& text) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        out << line << std::endl;
}

void setObjectUniforms(const Shader& shader, const glm::vec4& colour, const glm::mat4& modelMatrix,
                       const glm::mat3& normalMatrix, const glm::vec4& materialCoefficients) {
    shader.use();
    shader.setVec4("objCol", colour);
    shader.setMat4("modelMatrix", modelMatrix);
    shader.setMat3("normalMatrix", normalMatrix);
    shader.setVec4("materialCoefficients", materialCoefficients);
}

} // namespace modelgpu

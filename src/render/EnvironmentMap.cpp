#include "render/EnvironmentMap.h"

#include "render/FileKind.h"
#include "render/Texture.h"

#include <stb_image.h>

#include <iostream>
#include <vector>

namespace {

const char* const FaceFiles[6] = {"right.jpg", "left.jpg", "top.jpg", "bottom.jpg", "front.jpg", "back.jpg"};

} // namespace

FacePixels facePixels(const unsigned char* pixels, int width, int height, int channels) {
    FacePixels face;
    if (channels == 3 || channels == 4) {
        face.data = pixels;
        face.format = channels == 3 ? GL_RGB : GL_RGBA;
        return face;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    face.expanded.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char grey = pixels[i * static_cast<size_t>(channels)];
        face.expanded[3 * i] = face.expanded[3 * i + 1] = face.expanded[3 * i + 2] = grey;
    }
    face.data = face.expanded.data();
    return face;
}

std::array<std::string, 6> skyFaceProblems(const std::array<FaceHeader, 6>& headers, int maxSide) {
    std::array<std::string, 6> problems;
    // The edge most faces share (the first such on a tie): a single odd face is then the one
    // named, whichever position it has.
    int edge = 0, edgeVotes = 0;
    for (int i = 0; i < 6; ++i) {
        const FaceHeader& h = headers[i];
        if (!h.readable)
            problems[i] = "cannot be read as an image";
        else if (h.width != h.height)
            problems[i] = "is " + std::to_string(h.width) + "x" + std::to_string(h.height) + ", not square";
        else
            problems[i] = imageSizeProblem(h.width, h.height, maxSide);
        if (!problems[i].empty())
            continue;
        int votes = 0;
        for (const FaceHeader& other : headers)
            votes += other.readable && other.width == h.width && other.height == h.height;
        if (votes > edgeVotes) {
            edge = h.width;
            edgeVotes = votes;
        }
    }
    for (int i = 0; i < 6; ++i) {
        if (problems[i].empty() && headers[i].width != edge)
            problems[i] = "is " + std::to_string(headers[i].width) + "x" + std::to_string(headers[i].height) +
                          ", the other faces are " + std::to_string(edge) + "x" + std::to_string(edge);
    }
    return problems;
}

std::array<std::string, 6> environmentFacePaths(const std::string& folder) {
    std::array<std::string, 6> paths;
    for (int i = 0; i < 6; ++i)
        paths[i] = folder + "/" + FaceFiles[i];
    return paths;
}

const std::array<float, 108>& skyboxVertices() {
    // clang-format off
    static const std::array<float, 108> vertices = {
        // z = -1
        -1,  1, -1,  -1, -1, -1,   1, -1, -1,   1, -1, -1,   1,  1, -1,  -1,  1, -1,
        // x = -1
        -1, -1,  1,  -1, -1, -1,  -1,  1, -1,  -1,  1, -1,  -1,  1,  1,  -1, -1,  1,
        // x = 1
         1, -1, -1,   1, -1,  1,   1,  1,  1,   1,  1,  1,   1,  1, -1,   1, -1, -1,
        // z = 1
        -1, -1,  1,  -1,  1,  1,   1,  1,  1,   1,  1,  1,   1, -1,  1,  -1, -1,  1,
        // y = 1
        -1,  1, -1,   1,  1, -1,   1,  1,  1,   1,  1,  1,  -1,  1,  1,  -1,  1, -1,
        // y = -1
        -1, -1, -1,  -1, -1,  1,   1, -1, -1,   1, -1, -1,  -1, -1,  1,   1, -1,  1,
    };
    // clang-format on
    return vertices;
}

void initEnvironmentMap(EnvironmentMap& environment, const std::string& folder) {
    const std::array<std::string, 6> faces = environmentFacePaths(folder);

    const std::array<float, 108>& vertices = skyboxVertices();
    glGenVertexArrays(1, &environment.skyboxVAO);
    glGenBuffers(1, &environment.skyboxVBO);
    glBindVertexArray(environment.skyboxVAO);
    glBindBuffer(GL_ARRAY_BUFFER, environment.skyboxVBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * vertices.size(), vertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    // Unbound again so that later buffer set-up cannot change the sky box's vertex array.
    glBindVertexArray(0);

    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &environment.cubemapTexture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environment.cubemapTexture);

    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Headers first: sizes are compared before anything is decoded, so a face that differs is the
    // one named, and a face too large for the GL is never decoded.
    // A face that is no file at all (a named pipe would block the read) is named with what it is.
    std::array<FaceHeader, 6> headers;
    std::array<std::string, 6> notAFile;
    for (int i = 0; i < 6; ++i) {
        FaceHeader& h = headers[i];
        notAFile[i] = notAFileProblem(faces[i]);
        h.readable =
            notAFile[i].empty() && stbi_info(faces[i].c_str(), &h.width, &h.height, &h.channels) != 0;
    }
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_CUBE_MAP_TEXTURE_SIZE, &maxSide);
    std::array<std::string, 6> problems = skyFaceProblems(headers, maxSide);
    for (int i = 0; i < 6; ++i)
        if (!notAFile[i].empty())
            problems[i] = notAFile[i];
    for (int i = 0; i < 6; ++i) {
        int width = 0, height = 0, channels = 0;
        unsigned char* pixels =
            problems[i].empty() ? stbi_load(faces[i].c_str(), &width, &height, &channels, 0) : nullptr;
        const bool fits = pixels && channels >= 1 && channels <= 4 && width == headers[i].width &&
                          height == headers[i].height;
        if (fits) {
            const FacePixels face = facePixels(pixels, width, height, channels);
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, 0, GL_RGB, width, height, 0, face.format,
                         GL_UNSIGNED_BYTE, face.data);
        } else {
            std::cout << "Cubemap tex failed to load at path: " << faces[i] << std::endl;
            if (!problems[i].empty() && (headers[i].readable || !notAFile[i].empty()))
                std::cout << "Sky face " << faces[i] << " " << problems[i] << std::endl;
        }
        stbi_image_free(pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);

    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
}

void drawSkybox(const EnvironmentMap& environment, const Shader& emapShader) {
    // The sky sits exactly at the far plane, where the cleared depth is 1.0: LESS would reject it.
    glDepthFunc(GL_LEQUAL);
    glUseProgram(emapShader.ID);
    glBindVertexArray(environment.skyboxVAO);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environment.cubemapTexture);
    glDrawArrays(GL_TRIANGLES, 0, 36);
    glBindVertexArray(0);
    glDepthFunc(GL_LESS);
}

glm::mat4 skyboxViewMatrix(const glm::mat4& view) {
    return glm::mat4(glm::mat3(view));
}

#include "model/Model.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace testscene;

namespace {

constexpr int Size = 64;

// Positions are clip coordinates; the colour is made of the normal and the texture coordinates,
// so any corner that arrived changed would change the picture.
GLuint cornerColourProgram() {
    const char* vertex = R"(#version 440 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;
out vec3 colour;
void main() {
    colour = vec3(0.5) + 0.5 * aNormal * vec3(aTexCoords, 1.0);
    gl_Position = vec4(aPosition, 1.0);
})";
    const char* fragment = R"(#version 440 core
in vec3 colour;
out vec4 fragColour;
void main() { fragColour = vec4(colour, 1.0); })";
    return linkProgram(vertex, fragment);
}

// A bumpy 12 x 12 grid over the viewport, unindexed as the importer delivers meshes: smooth normals
// on the left half (corners repeat), one normal per triangle on the right half (they do not).
std::vector<Vertex> bumpyGrid() {
    constexpr int Cells = 12;
    const auto at = [](int x, int y) {
        const float fx = static_cast<float>(x) / Cells, fy = static_cast<float>(y) / Cells;
        Vertex v;
        v.position = {2.0f * fx - 1.0f, 2.0f * fy - 1.0f, 0.0f};
        v.normal = glm::normalize(glm::vec3(std::sin(7.0f * fx), std::cos(5.0f * fy), 1.0f));
        v.texCoords = {fx, fy};
        return v;
    };
    std::vector<Vertex> corners;
    for (int y = 0; y < Cells; ++y)
        for (int x = 0; x < Cells; ++x) {
            Vertex p = at(x, y), q = at(x + 1, y), r = at(x, y + 1), s = at(x + 1, y + 1);
            if (x >= Cells / 2) {
                p.normal = q.normal = r.normal = glm::normalize(p.normal + q.normal + r.normal);
                s.normal = glm::normalize(s.normal - q.normal);
            }
            for (const Vertex& v : {p, q, r, r, q, s})
                corners.push_back(v);
        }
    return corners;
}

std::vector<unsigned char> drawAndRead(const Mesh& mesh, GLuint program) {
    glViewport(0, 0, Size, Size);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program);
    mesh.draw();
    glFinish();
    std::vector<unsigned char> pixels(Size * Size * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

GLint bufferBytes(GLenum target, GLuint buffer) {
    GLint bytes = 0;
    glBindBuffer(target, buffer);
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &bytes);
    return bytes;
}

} // namespace

TEST(SharedVerticesGL, SharedBuffersDrawTheSamePictureWithFewerVertices) {
    GLContext gl(Size, Size);
    ASSERT_TRUE(gl.ok());
    const GLuint program = cornerColourProgram();
    const std::vector<Vertex> corners = bumpyGrid();
    std::vector<unsigned> order(corners.size());
    for (unsigned i = 0; i < order.size(); ++i)
        order[i] = i;
    const Mesh given(corners, order, {});
    const Mesh shared(corners, order, {}, VertexStorage::Shared);
    // Left half: a 7 x 13 lattice of smooth corners; right half: four corners of its own per cell.
    EXPECT_EQ(bufferBytes(GL_ARRAY_BUFFER, shared.VBO),
              static_cast<GLint>((7 * 13 + 4 * 12 * 6) * sizeof(Vertex)));

    const std::vector<unsigned char> expected = drawAndRead(given, program);
    int lit = 0;
    for (std::size_t i = 0; i < expected.size(); i += 4)
        lit += expected[i] > 0 ? 1 : 0;
    ASSERT_GT(lit, Size * Size / 2) << "the grid should cover the window";
    EXPECT_TRUE(expected == drawAndRead(shared, program)) << "the shared buffers changed the picture";
}

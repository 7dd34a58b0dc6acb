#include "RealTime.h"

#include "ScriptedPlay.h"

#include "app/AppState.h"
#include "app/Game.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <utility>
#include <cstdio>

namespace realtime {

namespace {

double median(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// The reference's program: the quad's texture read as it is, nothing else.
const char* const CopyVertex = R"(#version 440 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
out vec2 texCoords;
void main() { texCoords = uv; gl_Position = vec4(position, 1.0); })";
const char* const CopyFragment = R"(#version 440 core
in vec2 texCoords;
uniform sampler2D image;
out vec4 fragColor;
void main() { fragColor = texture(image, texCoords); })";

GLuint copyProgram() {
    GLuint program = glCreateProgram();
    for (auto [type, source] : {std::pair<GLenum, const char*>{GL_VERTEX_SHADER, CopyVertex},
                                std::pair<GLenum, const char*>{GL_FRAGMENT_SHADER, CopyFragment}}) {
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    return program;
}

} // namespace

ReferenceFrame::ReferenceFrame(Game& game) : game_(game) {
    glfwGetFramebufferSize(game.window, &width_, &height_);
    // A window-sized RGBA16F image of its own, read one texel per pixel: the plainest copy there is.
    GLuint image = 0;
    glGenTextures(1, &image);
    glBindTexture(GL_TEXTURE_2D, image);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width_, height_, 0, GL_RGBA, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    glClearTexImage(image, 0, GL_RGBA, GL_FLOAT, grey);
    image_ = image;
    program_ = copyProgram();
}

ReferenceFrame::~ReferenceFrame() {
    const GLuint image = image_;
    glDeleteTextures(1, &image);
    glDeleteProgram(program_);
}

void ReferenceFrame::sample(int frames) {
    glUseProgram(program_);
    glFinish();
    for (int i = 0; i < frames; ++i) {
        const double start = glfwGetTime();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, width_, height_);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, image_);
        appState().starLight.model.renderQuad();
        glfwSwapBuffers(game_.window);
        glFinish();
        ms_.push_back((glfwGetTime() - start) * 1e3);
    }
}

double ReferenceFrame::medianMs() const { return median(ms_); }

Session play(Game& game, ScriptedPlay& script, int frames) {
    AppState& state = appState();
    Session s;
    s.scales.push_back(state.bloom.scale);
    const int changesBefore = game.renderScale.changes();
    std::vector<double> costs;
    costs.reserve(static_cast<std::size_t>(frames));
    const double start = glfwGetTime();
    for (; s.frames < frames && !glfwWindowShouldClose(game.window); ++s.frames) {
        const double frameStart = glfwGetTime();
        script.before(s.frames);
        runFrame(game);
        costs.push_back((glfwGetTime() - frameStart) * 1e3);
        if (state.bloom.scale != s.scales.back()) {
            s.scales.push_back(state.bloom.scale);
            costs.clear();
        }
        paceFrame(game);
    }
    s.wallSeconds = glfwGetTime() - start;
    s.gameSeconds = s.frames * static_cast<double>(PhysicsStep);
    s.changes = game.renderScale.changes() - changesBefore;
    s.medianCostMs = median(costs);
    return s;
}

double pacedFrameRate(Game& game, int width, int height, double seconds) {
    glfwSetWindowSize(game.window, width, height);
    // The new size arrives with the events; give the server a moment to answer.
    for (int i = 0; i < 10; ++i) {
        glfwPollEvents();
        glfwWaitEventsTimeout(0.01);
    }
    int frames = 0;
    const double start = glfwGetTime();
    while (glfwGetTime() - start < seconds && !glfwWindowShouldClose(game.window)) {
        runFrame(game);
        paceFrame(game);
        ++frames;
    }
    return frames / (glfwGetTime() - start);
}

std::string describeScales(const Session& s) {
    std::string text;
    for (float scale : s.scales) {
        char number[16];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(scale));
        text += (text.empty() ? "" : " -> ") + std::string(number);
    }
    return text;
}

} // namespace realtime

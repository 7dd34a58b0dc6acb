#include "GLContext.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <fstream>
#include <sstream>
#include <thread>

GLContext::GLContext(int width, int height) {
    // GLFW stays initialised for the whole test process (glfwInit is a no-op when it already is):
    // tearing the X connection down and up for every test made context creation flaky under Xvfb.
    if (!glfwInit())
        return;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 4);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    for (int attempt = 0; attempt < 3 && !window_; ++attempt) {
        window_ = glfwCreateWindow(width, height, "glorbit-test", nullptr, nullptr);
        if (!window_)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    glfwDefaultWindowHints();
    if (!window_)
        return;
    glfwMakeContextCurrent(window_);
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window_);
        window_ = nullptr;
    }
}

GLContext::~GLContext() {
    if (window_)
        glfwDestroyWindow(window_);
}

GLuint linkProgram(const char* vertexSource, const char* fragmentSource) {
    const GLenum types[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    const char* sources[2] = {vertexSource, fragmentSource};
    GLuint program = glCreateProgram();
    for (int i = 0; i < 2; ++i) {
        GLuint stage = glCreateShader(types[i]);
        glShaderSource(stage, 1, &sources[i], nullptr);
        glCompileShader(stage);
        glAttachShader(program, stage);
        glDeleteShader(stage);
    }
    glLinkProgram(program);
    return program;
}

Pixel readPixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

struct CoutCapture::Impl {
    std::ostringstream buffer;
    std::streambuf* previous = nullptr;
};

CoutCapture::CoutCapture() : impl_(new Impl) {
    impl_->previous = std::cout.rdbuf(impl_->buffer.rdbuf());
}

CoutCapture::~CoutCapture() {
    std::cout.rdbuf(impl_->previous);
    delete impl_;
}

std::string CoutCapture::text() const {
    return impl_->buffer.str();
}

std::vector<std::string> CoutCapture::lines() const {
    std::vector<std::string> out;
    std::istringstream in(impl_->buffer.str());
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TempDir::TempDir() {
    static int made = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("glorbit-test-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool matricesNear(const glm::mat4& a, const glm::mat4& b, float tolerance) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!(std::fabs(a[c][r] - b[c][r]) <= tolerance))
                return false;
    return true;
}

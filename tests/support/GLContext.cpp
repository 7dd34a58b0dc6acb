#include "GLContext.h"

#include <iostream>
#include <sstream>

GLContext::GLContext(int width, int height) {
    if (!glfwInit())
        return;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 4);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window_ = glfwCreateWindow(width, height, "glorbit-test", nullptr, nullptr);
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
    glfwTerminate();
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

CoutCapture::CoutCapture() : impl_(new Impl) { impl_->previous = std::cout.rdbuf(impl_->buffer.rdbuf()); }

CoutCapture::~CoutCapture() {
    std::cout.rdbuf(impl_->previous);
    delete impl_;
}

std::string CoutCapture::text() const { return impl_->buffer.str(); }

std::vector<std::string> CoutCapture::lines() const {
    std::vector<std::string> out;
    std::istringstream in(impl_->buffer.str());
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

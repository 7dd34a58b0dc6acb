#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <glm/glm.hpp>

#include <filesystem>
#include <string>
#include <vector>

// A hidden window with the game's context (4.4, no profile) for GL tests under Xvfb.
// Small on purpose: rendering here is software.
class GLContext {
public:
    explicit GLContext(int width = 64, int height = 64);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    GLFWwindow* window() const { return window_; }
    bool ok() const { return window_ != nullptr; }

private:
    GLFWwindow* window_ = nullptr;
};

// Links a program from two inline GLSL sources (tests that need a shader of their own).
GLuint linkProgram(const char* vertexSource, const char* fragmentSource);

// Reads back the RGBA8 pixel at (x, y) of the currently bound read framebuffer.
struct Pixel {
    int r, g, b, a;
};
Pixel readPixel(int x, int y);

// Captures everything written to std::cout while alive.
class CoutCapture {
public:
    CoutCapture();
    ~CoutCapture();
    std::string text() const;
    std::vector<std::string> lines() const;

private:
    struct Impl;
    Impl* impl_;
};

// A fresh folder below the system's temp folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The file's bytes; empty when it cannot be read.
std::string fileBytes(const std::string& path);

// Whether every element of `a` lies within `tolerance` of the same element of `b`.
bool matricesNear(const glm::mat4& a, const glm::mat4& b, float tolerance = 1e-5f);

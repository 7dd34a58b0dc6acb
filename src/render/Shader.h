#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

// One linked GL program built from a vertex file and a fragment file.
// A value type: copies name the same program. Programs are never deleted; they live until
// glfwTerminate. Every setter makes the program current, looks the name up and reports a
// missing uniform with two lines on stdout instead of failing.
class Shader {
public:
    GLuint ID = 0;

    Shader() = default;
    // Wraps a program that already exists (the goal is drawn with a bare program name).
    explicit Shader(GLuint program) : ID(program) {}
    // Requires a current context with the GL entry points loaded. Never throws.
    Shader(std::string vertexPath, std::string fragmentPath);

    GLuint compile(GLenum type, const std::string& path);
    void use() const;

    void setInt(const char* name, int value) const;
    void setFloat(const char* name, float value) const;
    void setVec3(const char* name, const glm::vec3& value) const;
    void setVec4(const char* name, const glm::vec4& value) const;
    void setMat3(const char* name, const glm::mat3& value) const;
    void setMat4(const char* name, const glm::mat4& value) const;
    void setMat4Array(const char* name, const std::vector<glm::mat4>& values) const;
};

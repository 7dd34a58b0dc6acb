#include "render/Shader.h"

#include "render/FileKind.h"

#include <glm/gtc/type_ptr.hpp>
#include <glm/gtx/string_cast.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr GLsizei LogSize = 512;

// The one place a uniform is looked up: makes the program current, and reports a missing name
// with the setter's own line. Returns -1 when nothing must be sent.
GLint locate(GLuint program, const char* name, const char* typeName) {
    glUseProgram(program);
    GLint location = glGetUniformLocation(program, name);
    if (location == -1) {
        std::cout << "ERROR couldnt set " << typeName << " uniform" << std::endl;
        std::cout << name << std::endl;
    }
    return location;
}

} // namespace

Shader::Shader(std::string vertexPath, std::string fragmentPath) {
    ID = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, vertexPath);
    GLuint fs = compile(GL_FRAGMENT_SHADER, fragmentPath);
    glAttachShader(ID, vs);
    glAttachShader(ID, fs);
    glLinkProgram(ID);
    glValidateProgram(ID);

    GLint linked = 0;
    glGetProgramiv(ID, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[LogSize] = {};
        glGetProgramInfoLog(ID, LogSize, nullptr, log);
        std::cout << "ERROR::SHADER::PROGRAM::LINKING_FAILED\n" << log << std::endl;
    }
    glDeleteShader(vs);
    glDeleteShader(fs);
}

GLuint Shader::compile(GLenum type, const std::string& path) {
    GLuint shader = glCreateShader(type);

    std::string source;
    // A folder opens and reads as empty, and a named pipe blocks the open: both are refused before.
    std::string problem = notAFileProblem(path);
    if (problem.empty()) {
        std::ifstream file(path, std::ios::binary);
        std::stringstream stream;
        if (!file)
            problem = std::string("cannot be opened: ") + std::strerror(errno);
        else if (!(stream << file.rdbuf()) && file.bad())
            problem = "cannot be read";
        else
            source = stream.str();
    }
    if (!problem.empty()) {
        std::cout << "Error while reading shader file." << std::endl;
        std::cout << "Shader source " << path << " " << problem << std::endl;
        source.clear();
    }

    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[LogSize] = {};
        glGetShaderInfoLog(shader, LogSize, nullptr, log);
        std::cout << "ERROR::SHADER::VERTEX/FRAGMENT::COMPILATION_FAILED\n" << log << std::endl;
    }
    return shader;
}

void Shader::use() const {
    glUseProgram(ID);
}

void Shader::setInt(const char* name, int value) const {
    GLint location = locate(ID, name, "int");
    if (location != -1)
        glUniform1i(location, value);
}

void Shader::setFloat(const char* name, float value) const {
    GLint location = locate(ID, name, "float");
    if (location != -1)
        glUniform1f(location, value);
}

void Shader::setVec3(const char* name, const glm::vec3& value) const {
    GLint location = locate(ID, name, "vec3");
    if (location != -1)
        glUniform3f(location, value.x, value.y, value.z);
}

void Shader::setVec4(const char* name, const glm::vec4& value) const {
    glUseProgram(ID);
    GLint location = glGetUniformLocation(ID, name);
    if (location == -1) {
        // The vec4 report is the only one that carries the value.
        std::cout << "ERROR couldnt set vec4 uniform" << std::endl;
        std::cout << name << "; Daten: " << glm::to_string(value) << std::endl;
        return;
    }
    glUniform4f(location, value.x, value.y, value.z, value.w);
}

void Shader::setMat3(const char* name, const glm::mat3& value) const {
    GLint location = locate(ID, name, "mat3");
    if (location != -1)
        glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setMat4(const char* name, const glm::mat4& value) const {
    GLint location = locate(ID, name, "mat4");
    if (location != -1)
        glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setMat4Array(const char* name, const std::vector<glm::mat4>& values) const {
    GLint location = locate(ID, name, "std::vector<glm::mat4>");
    if (location != -1)
        glUniformMatrix4fv(location, static_cast<GLsizei>(values.size()), GL_FALSE,
                           values.empty() ? nullptr : glm::value_ptr(values.front()));
}

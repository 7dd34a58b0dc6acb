#version 440 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 quadTexCoords;

layout(location = 0) out vec2 texCoords;

void main() {
    texCoords = quadTexCoords;
    gl_Position = vec4(position, 1.0);
}

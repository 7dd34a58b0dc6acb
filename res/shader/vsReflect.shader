#version 440 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords; // part of the mesh layout; a mirror needs none

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out vec3 worldNormal;

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    // The inverse transpose keeps the normal perpendicular under non-uniform scale.
    worldNormal = mat3(transpose(inverse(modelMatrix))) * normal;
    gl_Position = projectionMatrix * viewMatrix * world;
}

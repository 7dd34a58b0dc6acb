#version 440 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

layout(location = 0) out vec3 worldPosition;
layout(location = 1) out vec3 worldNormal;
layout(location = 2) out vec2 faceCoords;

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    // The inverse transpose keeps the normal perpendicular under non-uniform scale.
    worldNormal = mat3(transpose(inverse(modelMatrix))) * normal;
    faceCoords = texCoords;
    gl_Position = projectionMatrix * viewMatrix * world;
}

#version 440 core

layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoords;

void main() {
    vec4 world = modelMatrix * vec4(aPosition, 1.0);
    worldPosition = world.xyz;
    // normalMatrix belongs to the model's own placement; the physics pose only reaches modelMatrix.
    // M * N^T * N equals inverse-transpose(M) whenever M = pose * (the placement N was made from).
    worldNormal = mat3(modelMatrix) * transpose(normalMatrix) * normalMatrix * aNormal;
    texCoords = aTexCoords;
    gl_Position = viewProjMatrix * world;
}

#version 440 core

layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;
layout(location = 3) in ivec3 aJointIds;
layout(location = 4) in vec3 aWeights;

const int MaxJoints = 32;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform mat4 jointTransforms[MaxJoints];

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoords;

void main() {
    // Weights as the file gives them; whatever they leave over keeps the vertex at rest.
    mat4 skin = mat4(1.0) * max(1.0 - (aWeights.x + aWeights.y + aWeights.z), 0.0);
    for (int i = 0; i < 3; ++i)
        if (aWeights[i] != 0.0)
            skin += jointTransforms[clamp(aJointIds[i], 0, MaxJoints - 1)] * aWeights[i];

    vec4 world = modelMatrix * skin * vec4(aPosition, 1.0);
    worldPosition = world.xyz;
    // See texture.vert: rebuild the physics pose's rotation on top of normalMatrix.
    worldNormal = mat3(modelMatrix) * transpose(normalMatrix) * normalMatrix * mat3(skin) * aNormal;
    texCoords = aTexCoords;
    gl_Position = viewProjMatrix * world;
}

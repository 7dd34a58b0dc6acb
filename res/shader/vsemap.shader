#version 440 core

layout(location = 0) in vec3 position;

uniform mat4 viewMatrix; // the camera's rotation only: the sky never comes closer
uniform mat4 projectionMatrix;

layout(location = 0) out vec3 direction;

void main() {
    direction = position;
    vec4 clip = projectionMatrix * viewMatrix * vec4(position, 1.0);
    // z = w puts every sky fragment on the far plane (depth 1.0), behind all scene geometry.
    gl_Position = clip.xyww;
}

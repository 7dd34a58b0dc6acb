#version 440 core

// Kept with the star's glow for a flat, unlit pass: it only needs the camera. Nothing draws with
// it today, but the camera matrix is sent every frame, so the uniform must stay in use.
layout(location = 0) in vec3 position;

uniform mat4 viewProjMatrix;

void main() { gl_Position = viewProjMatrix * vec4(position, 1.0); }

#version 440 core

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 bloomColor;

// A flat glow: the same bright colour in the scene and in the glow image.
const vec4 Glow = vec4(6.0, 6.0, 6.0, 1.0);

void main() {
    fragColor = Glow;
    bloomColor = Glow;
}

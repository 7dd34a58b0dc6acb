#version 440 core

layout(location = 0) in vec3 direction;

uniform samplerCube emap;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 bloomColor;

// Same rule as the lit objects: only colour brighter than white feeds the glow.
const float BloomThreshold = 1.0;

void main() {
    vec3 color = texture(emap, direction).rgb;
    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    bloomColor = luminance > BloomThreshold ? vec4(color, 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}

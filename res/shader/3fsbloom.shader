#version 440 core

// Puts the frame on the window: the HDR scene plus the blurred glow, tone-mapped and gamma-encoded.

layout(location = 0) in vec2 texCoords;

uniform sampler2D scene;
uniform sampler2D bloomBlur;
uniform int bloom;      // 1: add the glow
uniform float exposure;

layout(location = 0) out vec4 fragColor;

const float Gamma = 2.2;

void main() {
    vec3 hdr = texture(scene, texCoords).rgb;
    if (bloom == 1)
        hdr += texture(bloomBlur, texCoords).rgb;
    // Exposure tone mapping: never clips, so the 1000-bright star still fades smoothly into its halo.
    vec3 mapped = vec3(1.0) - exp(-hdr * exposure);
    fragColor = vec4(pow(mapped, vec3(1.0 / Gamma)), 1.0);
}

#version 440 core

// One pass of the separable Gaussian blur of the glow image, along x or y.

layout(location = 0) in vec2 texCoords;

uniform sampler2D image;
uniform int horizontal; // 1: along x, 0: along y

layout(location = 0) out vec4 fragColor;

// Spread of one pass, in texels of the image being written. The blur images are half the window
// size, so this is tuned to give the glow the spread of a full-size blur on screen.
const float Sigma = 0.80;

// Nine texels (-4 ... 4) in five fetches: each outer fetch lands between two texels, at the point
// where bilinear filtering returns their Gaussian-weighted sum.
const float G1 = exp(-1.0 / (2.0 * Sigma * Sigma));
const float G2 = exp(-4.0 / (2.0 * Sigma * Sigma));
const float G3 = exp(-9.0 / (2.0 * Sigma * Sigma));
const float G4 = exp(-16.0 / (2.0 * Sigma * Sigma));
const float Norm = 1.0 + 2.0 * (G1 + G2 + G3 + G4);
const float Weight0 = 1.0 / Norm;
const float WeightA = (G1 + G2) / Norm;
const float OffsetA = (G1 + 2.0 * G2) / (G1 + G2);
const float WeightB = (G3 + G4) / Norm;
const float OffsetB = (3.0 * G3 + 4.0 * G4) / (G3 + G4);

void main() {
    // One step is one texel of the target, not of the source: the first pass reads the full-size
    // glow image while writing the smaller blur image. The quad spans the target exactly, so the
    // screen-space derivative of the coordinate is one target texel.
    vec2 texel = vec2(dFdx(texCoords.x), dFdy(texCoords.y));
    vec2 along = horizontal == 1 ? vec2(texel.x, 0.0) : vec2(0.0, texel.y);

    vec3 sum = texture(image, texCoords).rgb * Weight0;
    sum += (texture(image, texCoords + along * OffsetA).rgb + texture(image, texCoords - along * OffsetA).rgb) * WeightA;
    sum += (texture(image, texCoords + along * OffsetB).rgb + texture(image, texCoords - along * OffsetB).rgb) * WeightB;
    fragColor = vec4(sum, 1.0);
}

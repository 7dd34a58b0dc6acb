#version 440 core

// One pass of the separable Gaussian blur of the glow image, along x or y.

layout(location = 0) in vec2 texCoords;

uniform sampler2D image;
uniform int horizontal; // 1: along x, 0: along y
uniform float spread = 1.0; // the render scale: a step is this many target texels

layout(location = 0) out vec4 fragColor;

// Spread of one pass, in texels of the image being written. The blur images are half the window
// size, so this is tuned to give the glow the spread of a full-size blur on screen.
const float Sigma = 0.80;

// Five texels (-2 ... 2) in three fetches: each outer fetch lands between two texels, at the point
// where bilinear filtering returns their Gaussian-weighted sum. Texels 3 and 4 would add less than
// a thousandth of the weight for two more fetches per texel; the weights are normalised without them.
const float G1 = exp(-1.0 / (2.0 * Sigma * Sigma));
const float G2 = exp(-4.0 / (2.0 * Sigma * Sigma));
const float Norm = 1.0 + 2.0 * (G1 + G2);
const float Weight0 = 1.0 / Norm;
const float WeightA = (G1 + G2) / Norm;
const float OffsetA = (G1 + 2.0 * G2) / (G1 + G2);

void main() {
    // One step is one texel of the target, not of the source: the first pass reads the full-size
    // glow image while writing the smaller blur image. The quad spans the target exactly, so the
    // screen-space derivative of the coordinate is one target texel.
    vec2 texel = vec2(dFdx(texCoords.x), dFdy(texCoords.y)) * spread;
    vec2 along = horizontal == 1 ? vec2(texel.x, 0.0) : vec2(0.0, texel.y);

    vec3 sum = texture(image, texCoords).rgb * Weight0;
    sum += (texture(image, texCoords + along * OffsetA).rgb + texture(image, texCoords - along * OffsetA).rgb) * WeightA;
    fragColor = vec4(sum, 1.0);
}

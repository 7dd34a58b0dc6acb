#version 440 core

layout(location = 0) in vec3 worldPosition;
layout(location = 1) in vec3 worldNormal;
layout(location = 2) in vec2 faceCoords;

uniform vec3 cameraPos;
uniform samplerCube emap;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 bloomColor;

const float BloomThreshold = 1.0;
// A perfect mirror of the sky would vanish against the sky itself: the goal is a gilded mirror
// with a glowing frame, so it reads as the place to bring the star.
const vec3 MirrorTint = vec3(1.0, 0.82, 0.45);
const vec3 FrameColor = vec3(2.4, 1.7, 0.6);
const float FrameWidth = 0.04;
// Below full size the far frame would thin under a pixel of the smaller image and flicker as the
// camera moves: the game then keeps it this many pixels wide (0 at full size: as drawn).
uniform float minFramePixels;

void main() {
    vec3 incident = normalize(worldPosition - cameraPos);
    vec3 n = normalize(worldNormal);
    vec3 mirrored = reflect(incident, n);
    float fresnel = 0.35 + 0.65 * pow(1.0 - max(dot(-incident, n), 0.0), 5.0);
    vec3 color = texture(emap, mirrored).rgb * MirrorTint * (0.6 + fresnel) + MirrorTint * 0.08;

    vec2 width = max(vec2(FrameWidth), minFramePixels * fwidth(faceCoords));
    vec2 edge = min(faceCoords, 1.0 - faceCoords) / width;
    float frame = 1.0 - smoothstep(0.0, 1.0, min(edge.x, edge.y));
    color = mix(color, FrameColor, frame);

    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    bloomColor = luminance > BloomThreshold ? vec4(color, 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}

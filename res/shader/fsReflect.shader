#version 440 core

layout(location = 0) in vec3 worldPosition;
layout(location = 1) in vec3 worldNormal;

uniform vec3 cameraPos;
uniform samplerCube emap;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 bloomColor;

const float BloomThreshold = 1.0;

void main() {
    vec3 incident = normalize(worldPosition - cameraPos);
    vec3 mirrored = reflect(incident, normalize(worldNormal));
    vec3 color = texture(emap, mirrored).rgb;
    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    bloomColor = luminance > BloomThreshold ? vec4(color, 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}

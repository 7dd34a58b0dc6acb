#version 440 core

struct PointLight {
    vec3 color;
    vec3 position;
    vec3 attenuation; // constant, linear, quadratic
    float brightness;
};

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoords;

uniform PointLight pointL;
uniform vec3 camera_world;
uniform vec4 objCol;
uniform vec4 materialCoefficients; // ambient, diffuse, specular, shininess
layout(binding = 0) uniform sampler2D diffuseTexture;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 bloomColor;

// The night sky lights everything a little, so the level reads away from the star.
const vec3 SkyColor = vec3(0.30, 0.34, 0.50);
const vec3 MoonDirection = normalize(vec3(-0.4, 0.8, 0.45));
const vec3 MoonColor = vec3(0.55, 0.55, 0.65);
// The bloom pass bounds where this program can glow from these constants and the star term
// (src/render/GlowRect.h): change them together.
// Glow feeds the blur only above this, and is capped so the halo stays soft around a 1000-bright star.
const float BloomThreshold = 1.0;
const float BloomCap = 6.0;

void main() {
    vec3 base = texture(diffuseTexture, texCoords).rgb;
    vec3 n = normalize(worldNormal);
    vec3 toEye = normalize(camera_world - worldPosition);

    vec3 toLight = pointL.position - worldPosition;
    float d = length(toLight);
    toLight /= max(d, 1e-4);
    float falloff = pointL.brightness / (pointL.attenuation.x + pointL.attenuation.y * d + pointL.attenuation.z * d * d);
    vec3 halfway = normalize(toLight + toEye);
    float diffuse = max(dot(n, toLight), 0.0);
    // The half-vector lobe is wider than the reflected-ray one; four times the exponent matches it.
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), 4.0 * materialCoefficients.w) : 0.0;
    // The star is bright enough to matter only nearby; scale it so it carries a few units.
    vec3 star = pointL.color * falloff * 8.0;

    float hemisphere = 0.5 + 0.5 * n.y;
    // The creature's fixed colour is the least light it ever gets: it never sinks into the dark.
    vec3 sky = max(SkyColor * hemisphere + MoonColor * max(dot(n, MoonDirection), 0.0) * 0.6, objCol.rgb);

    // A cool rim keeps the creature's outline readable against the dark ground.
    float rim = pow(1.0 - max(dot(n, toEye), 0.0), 3.0);

    vec3 color = base * (materialCoefficients.x + sky * max(materialCoefficients.y, 0.35))
               + base * star * materialCoefficients.y * diffuse
               + star * materialCoefficients.z * specular
               + SkyColor * rim * 0.6;

    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    bloomColor = luminance > BloomThreshold ? vec4(min(color, vec3(BloomCap)), 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}

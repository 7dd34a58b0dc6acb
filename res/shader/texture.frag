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

// Away from the star the level is lit by the night: a cool sky from above, a dim warm bounce
// from the ground below, and a high moon that sets the faces of a box apart. Together they stay
// well under the glow threshold (below 0.64 in luminance on a white surface), so only the star's
// light can make a surface glow.
const vec3 SkyColor = vec3(0.68, 0.72, 0.86);
const vec3 GroundColor = vec3(0.18, 0.15, 0.12);
const vec3 MoonDirection = normalize(vec3(-0.4, 0.8, 0.45));
const vec3 MoonColor = vec3(0.48, 0.48, 0.54);
// The generated shapes carry 0..1 texture coordinates per face, on faces from half a unit to 300
// units long, so their stones would range from specks to slabs. They are laid by world position
// instead: one stone is TileSize units on every face, and the default texture holds TextureTiles
// rows of TextureTiles stones.
const float TileSize = 2.5;
const float TextureTiles = 4.0;
// The bloom pass bounds where this program can glow from these constants and the star term
// (src/render/GlowRect.h): change them together.
// Glow feeds the blur only above this, and is capped so the halo stays soft around a 1000-bright star.
const float BloomThreshold = 1.0;
const float BloomCap = 24.0;

void main() {
    // Generated shapes are tinted by their colour; a loaded model keeps the colour (0, 0, 0, 0),
    // which means "untinted": its texture already carries its colours and keeps its own mapping.
    vec3 n = normalize(worldNormal);
    bool generated = objCol.a > 0.0;
    vec2 uv = texCoords;
    if (generated) {
        vec3 p = worldPosition / (TileSize * TextureTiles);
        // The level's faces are level or upright along x or z: the ground plan on top, and on an
        // upright face whichever of x and z runs along it, with picture rows down the world's y.
        uv = abs(n.y) > 0.7 ? p.xz : vec2(p.x + p.z, -p.y);
    }
    vec3 base = texture(diffuseTexture, uv).rgb * (generated ? objCol.rgb : vec3(1.0));
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

    vec3 night = mix(GroundColor, SkyColor, 0.5 + 0.5 * n.y) + MoonColor * max(dot(n, MoonDirection), 0.0);

    vec3 color = base * (materialCoefficients.x + night * max(materialCoefficients.y, 0.35))
               + base * star * materialCoefficients.y * diffuse
               + star * materialCoefficients.z * specular;

    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    bloomColor = luminance > BloomThreshold ? vec4(min(color, vec3(BloomCap)), 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}

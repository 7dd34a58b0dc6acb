#include "render/Bloom.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>

namespace {

// The quad that covers the viewport: x, y, z, u, v per vertex, drawn as a strip.
const float QuadVertices[20] = {
    -1.0f, 1.0f,  0.0f, 0.0f, 1.0f, //
    -1.0f, -1.0f, 0.0f, 0.0f, 0.0f, //
    1.0f,  1.0f,  0.0f, 1.0f, 1.0f, //
    1.0f,  -1.0f, 0.0f, 1.0f, 0.0f, //
};

int downscaleOf(const BloomTargets& targets) {
    return targets.downscale > 1 ? targets.downscale : 1;
}

// Rounded up, so that the blur images cover the whole scene image.
int reduced(int extent, int factor) {
    return (extent + factor - 1) / factor;
}

void specifyColourImage(GLuint texture, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
}

// A float colour image sampled without mipmaps; the edges clamp so the blur does not wrap around.
void makeColourImage(GLuint texture, int width, int height) {
    specifyColourImage(texture, width, height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

int scaled(int extent, float scale) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(extent) * scale)));
}

void setSizes(BloomTargets& targets, int width, int height) {
    targets.width = width;
    targets.height = height;
    targets.sceneWidth = scaled(width, targets.scale);
    targets.sceneHeight = scaled(height, targets.scale);
    targets.blurWidth = reduced(targets.sceneWidth, downscaleOf(targets));
    targets.blurHeight = reduced(targets.sceneHeight, downscaleOf(targets));
    // New storage holds whatever it holds: clear all of it before the next blur relies on zeros.
    targets.blurWritten = GlowRects(WholeImage);
}

// The combine reads the scene image texel for texel (onto the window at full size, onto the output
// image below it): unfiltered fetches give the same picture for less work.
void useUnfilteredScene(const BloomTargets& targets) {
    glBindTexture(GL_TEXTURE_2D, targets.colorBuffers[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

void specifyOutputImage(const BloomTargets& targets) {
    glBindTexture(GL_TEXTURE_2D, targets.outputImage);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, targets.sceneWidth, targets.sceneHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
}

bool scaledDown(const BloomTargets& t) { return t.sceneWidth != t.width || t.sceneHeight != t.height; }

// Re-specifies every image at the sizes in `targets`, keeping the bindings as they were.
void respecify(const BloomTargets& targets) {
    GLint boundTexture = 0, boundRenderbuffer = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &boundRenderbuffer);
    for (int i = 0; i < 2; ++i) {
        specifyColourImage(targets.colorBuffers[i], targets.sceneWidth, targets.sceneHeight);
        specifyColourImage(targets.pingpongColorbuffers[i], targets.blurWidth, targets.blurHeight);
    }
    specifyOutputImage(targets);
    glBindRenderbuffer(GL_RENDERBUFFER, targets.rboDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, targets.sceneWidth, targets.sceneHeight);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(boundRenderbuffer));
}

PixelRect clampTo(const PixelRect& r, int width, int height) {
    PixelRect c{std::max(r.x0, 0), std::max(r.y0, 0), std::min(r.x1, width), std::min(r.y1, height)};
    return c.empty() ? PixelRect{} : c;
}

// The blur texels that can receive glow from `area` (scene pixels): its footprint in the smaller
// image, widened by the passes' reach.
PixelRect blurRegion(const BloomTargets& t, const PixelRect& area) {
    const PixelRect whole = clampTo(area, t.sceneWidth, t.sceneHeight);
    if (whole.empty())
        return {};
    const int f = downscaleOf(t);
    const PixelRect r{whole.x0 / f - BloomBlurReach, whole.y0 / f - BloomBlurReach,
                      reduced(whole.x1, f) + BloomBlurReach, reduced(whole.y1, f) + BloomBlurReach};
    return clampTo(r, t.blurWidth, t.blurHeight);
}

// The pixels of the combine's target whose filtered read of the blur image can touch `region`
// (blur texels): the combine's quad spans the target, so texel t sits at t / blurWidth of its width.
PixelRect onTarget(const PixelRect& region, const BloomTargets& t, const PixelRect& window) {
    if (region.empty())
        return {};
    const double w = window.x1 - window.x0, h = window.y1 - window.y0;
    const PixelRect r{window.x0 + static_cast<int>(std::floor(region.x0 * w / t.blurWidth)) - 2,
                      window.y0 + static_cast<int>(std::floor(region.y0 * h / t.blurHeight)) - 2,
                      window.x0 + static_cast<int>(std::ceil(region.x1 * w / t.blurWidth)) + 2,
                      window.y0 + static_cast<int>(std::ceil(region.y1 * h / t.blurHeight)) + 2};
    const PixelRect c{std::max(r.x0, window.x0), std::max(r.y0, window.y0), std::min(r.x1, window.x1),
                      std::min(r.y1, window.y1)};
    return c.empty() ? PixelRect{} : c;
}

PixelRect bounds(const PixelRect& a, const PixelRect& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

void scissorTo(const PixelRect& r) { glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0); }

long long area(const PixelRect& r) {
    return r.empty() ? 0 : static_cast<long long>(r.x1 - r.x0) * static_cast<long long>(r.y1 - r.y0);
}

} // namespace

void GlowRects::add(const PixelRect& r) {
    if (r.empty())
        return;
    rects[count++] = r;
    // Join while a join costs no pixels, or while there are too many: the cheapest join first.
    while (count > 1) {
        int a = 0, b = 1;
        long long cheapest = 0;
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j) {
                const long long cost = area(::bounds(rects[i], rects[j])) - area(rects[i]) - area(rects[j]);
                if ((i == 0 && j == 1) || cost < cheapest) {
                    a = i;
                    b = j;
                    cheapest = cost;
                }
            }
        if (cheapest > 0 && count <= Max)
            break;
        rects[a] = ::bounds(rects[a], rects[b]);
        rects[b] = rects[--count];
    }
}

bool GlowRects::covers(int x, int y) const {
    for (int i = 0; i < count; ++i)
        if (x >= rects[i].x0 && x < rects[i].x1 && y >= rects[i].y0 && y < rects[i].y1)
            return true;
    return false;
}

PixelRect GlowRects::bounds() const {
    PixelRect all;
    for (int i = 0; i < count; ++i)
        all = ::bounds(all, rects[i]);
    return all;
}

void initBloom(BloomTargets& targets, Model& carrier, int width, int height) {
    std::cout << "IN INIT BLOOM" << std::endl;
    setSizes(targets, width > 0 ? width : 1, height > 0 ? height : 1);

    glGenFramebuffers(1, &targets.hdrFBO);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.hdrFBO);
    glGenTextures(2, targets.colorBuffers);
    for (GLenum i = 0; i < 2; ++i) {
        makeColourImage(targets.colorBuffers[i], targets.sceneWidth, targets.sceneHeight);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D,
                               targets.colorBuffers[i], 0);
    }
    glGenRenderbuffers(1, &targets.rboDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, targets.rboDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, targets.sceneWidth, targets.sceneHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, targets.rboDepth);
    const GLenum sceneOutputs[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, sceneOutputs);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "error: FBO not ready!" << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    glGenFramebuffers(2, targets.pingpongFBO);
    glGenTextures(2, targets.pingpongColorbuffers);
    for (int i = 0; i < 2; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFBO[i]);
        const GLenum blurOutput = GL_COLOR_ATTACHMENT0;
        glDrawBuffers(1, &blurOutput);
        makeColourImage(targets.pingpongColorbuffers[i], targets.blurWidth, targets.blurHeight);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                               targets.pingpongColorbuffers[i], 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
            std::cout << "pingpong FBP not ready!" << std::endl;
    }
    useUnfilteredScene(targets);
    glGenFramebuffers(1, &targets.outputFBO);
    glGenTextures(1, &targets.outputImage);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.outputFBO);
    makeColourImage(targets.outputImage, targets.sceneWidth, targets.sceneHeight);
    specifyOutputImage(targets);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, targets.outputImage, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFBO[1]);
    std::cout << "INIT BLOOM: done" << std::endl;

    carrier.hdrFBO = targets.hdrFBO;
    for (int i = 0; i < 2; ++i) {
        carrier.colorBuffers[i] = targets.colorBuffers[i];
        carrier.pingpongFBO[i] = targets.pingpongFBO[i];
        carrier.pingpongColorbuffers[i] = targets.pingpongColorbuffers[i];
    }
    carrier.bloomTargets = &targets;
}

void resizeBloom(BloomTargets& targets, int width, int height) {
    // Before initBloom there is nothing to resize (a resize event may come that early).
    if (targets.hdrFBO == 0)
        return;
    // A minimised window reports 0 x 0; zero-sized images would leave the framebuffers incomplete.
    if (width <= 0 || height <= 0)
        return;
    if (width == targets.width && height == targets.height)
        return;
    setSizes(targets, width, height);
    respecify(targets);
}

bool setBloomScale(BloomTargets& targets, float scale) {
    scale = std::clamp(scale, 1.0f / 16.0f, 1.0f);
    if (scale == targets.scale)
        return false;
    targets.scale = scale;
    if (targets.hdrFBO == 0)
        return true; // initBloom sizes the images with it
    setSizes(targets, targets.width, targets.height);
    respecify(targets);
    return true;
}

void useSceneViewport(BloomTargets& targets) {
    glGetIntegerv(GL_VIEWPORT, targets.windowViewport);
    const bool shown = targets.windowViewport[2] > 0 && targets.windowViewport[3] > 0;
    glViewport(0, 0, shown ? targets.sceneWidth : 0, shown ? targets.sceneHeight : 0);
}

void useWindowViewport(const BloomTargets& targets) {
    const GLint* v = targets.windowViewport;
    glViewport(v[0], v[1], v[2], v[3]);
}

void Model::drawBloom() {
    assert(bloomTargets && blurShader && combineShader && "drawBloom needs initBloom and the bloom programs");
    BloomTargets& targets = *bloomTargets;
    // The viewport is the window's framebuffer (set by the resize callback); the blur runs smaller.
    GLint windowViewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, windowViewport);
    glViewport(0, 0, targets.blurWidth, targets.blurHeight);
    // Wireframe (F1) is for the scene: full-screen quads drawn as lines would leave the window black.
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    // Only where glow can be does the blur run. Outside that, the ping-pong images must read as no
    // glow, also where an earlier frame's glow was: the passes then cover that area too and write
    // the zeros the blur gives there. (A scissored clear would do the same, but some drivers draw it
    // with a shader of their own, built on first use in the middle of play.)
    GlowRects regions, taken;
    for (int i = 0; i < targets.glowArea.count; ++i) {
        taken.add(clampTo(targets.glowArea.rects[i], targets.sceneWidth, targets.sceneHeight));
        regions.add(blurRegion(targets, targets.glowArea.rects[i]));
    }
    targets.lastGlowArea = taken;
    targets.glowArea = GlowRects(WholeImage);
    // The passes cover the regions and what earlier glow they do not hold; a region and its stale
    // self of the last frame mostly overlap, and join.
    GlowRects passes = regions;
    for (int i = 0; i < targets.blurWritten.count; ++i)
        passes.add(clampTo(targets.blurWritten.rects[i], targets.blurWidth, targets.blurHeight));
    const int pieces = passes.count;
    targets.blurWritten = regions;
    glEnable(GL_SCISSOR_TEST);

    blurShader->use();
    // One blur texel covers 1 / scale as much of the window at a lower render scale: shorter steps
    // keep the glow the same size on screen. Sent only when the scale moves it, so that at full
    // size the blur program is asked for nothing but "horizontal".
    if (targets.scale != targets.blurSpread) {
        blurShader->setFloat("spread", targets.scale);
        targets.blurSpread = targets.scale;
    }
    // "image" reads unit 0; do not rely on whatever the previous draw left active.
    glActiveTexture(GL_TEXTURE0);
    bool horizontal = true, first = true;
    for (int pass = 0; pass < BloomBlurPasses && pieces > 0; ++pass) {
        glBindFramebuffer(GL_FRAMEBUFFER, pingpongFBO[horizontal ? 1 : 0]);
        blurShader->setInt("horizontal", horizontal ? 1 : 0);
        glBindTexture(GL_TEXTURE_2D, first ? colorBuffers[1] : pingpongColorbuffers[horizontal ? 0 : 1]);
        // Pieces may overlap: each draw writes what the pass gives there, so twice is the same.
        for (int k = 0; k < pieces; ++k) {
            scissorTo(passes.rects[k]);
            renderQuad();
        }
        horizontal = !horizontal;
        first = false;
    }

    glDisable(GL_SCISSOR_TEST);
    const PixelRect window{windowViewport[0], windowViewport[1], windowViewport[0] + windowViewport[2],
                           windowViewport[1] + windowViewport[3]};
    const bool viaOutput = scaledDown(targets) && !window.empty();
    const PixelRect target = viaOutput ? PixelRect{0, 0, targets.sceneWidth, targets.sceneHeight} : window;
    glBindFramebuffer(GL_FRAMEBUFFER, viaOutput ? targets.outputFBO : 0);
    glViewport(target.x0, target.y0, target.x1 - target.x0, target.y1 - target.y0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    combineShader->use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorBuffers[0]);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, pingpongColorbuffers[horizontal ? 0 : 1]);
    combineShader->setFloat("exposure", 1.0f);
    // Outside the blur's region the blurred glow is exactly zero, so the combine only reads it
    // inside: the picture in up to five pieces, the glowing one with "bloom" on.
    const PixelRect glowing = onTarget(regions.bounds(), targets, target);
    if (glowing.contains(target) || glowing.empty()) {
        combineShader->setInt("bloom", glowing.empty() ? 0 : 1);
        renderQuad();
    } else {
        glEnable(GL_SCISSOR_TEST);
        combineShader->setInt("bloom", 1);
        scissorTo(glowing);
        renderQuad();
        combineShader->setInt("bloom", 0);
        const PixelRect rest[4] = {{target.x0, target.y0, target.x1, glowing.y0},
                                   {target.x0, glowing.y1, target.x1, target.y1},
                                   {target.x0, glowing.y0, glowing.x0, glowing.y1},
                                   {glowing.x1, glowing.y0, target.x1, glowing.y1}};
        for (const PixelRect& piece : rest) {
            if (piece.empty())
                continue;
            scissorTo(piece);
            renderQuad();
        }
        glDisable(GL_SCISSOR_TEST);
    }
    if (viaOutput) {
        glViewport(windowViewport[0], windowViewport[1], windowViewport[2], windowViewport[3]);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        // Only the colour: below full size nothing depth-tested reaches the window, and clearing
        // its depth buffer cost about 1.5 ms a frame at 1280x768 on a software renderer.
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, targets.outputFBO);
        glBlitFramebuffer(0, 0, targets.sceneWidth, targets.sceneHeight, window.x0, window.y0, window.x1, window.y1,
                          GL_COLOR_BUFFER_BIT, GL_LINEAR);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
}

void Model::renderQuad() {
    if (quadVAO == 0) {
        glGenVertexArrays(1, &quadVAO);
        glGenBuffers(1, &quadVBO);
        glBindVertexArray(quadVAO);
        glBindBuffer(GL_ARRAY_BUFFER, quadVBO);
        glBufferData(GL_ARRAY_BUFFER, sizeof(QuadVertices), QuadVertices, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                              reinterpret_cast<const void*>(3 * sizeof(float)));
    }
    glBindVertexArray(quadVAO);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
}

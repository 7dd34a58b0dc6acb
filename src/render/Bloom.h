#pragma once

#include "model/Model.h"

#include <GL/glew.h>

// The blur runs at half the framebuffer size in each direction: a quarter of the pixels per pass,
// while the glow on screen keeps the spread of a full-size blur (the kernel in 2fsbloom.shader is
// tuned for this factor). A quarter-size blur is too coarse for the star's narrow halo.
constexpr int BloomDownscale = 2;
// Alternating horizontal and vertical passes; horizontal first, so the last one is vertical.
constexpr int BloomBlurPasses = 10;
// How far, in blur texels, one pass can carry glow (its outer fetch reads up to two texels away),
// and so how far the ten passes spread it beyond where the glow image is lit, with a texel each
// for the reduction of the first pass and the filtered read of the combine.
constexpr int BloomPassReach = 2;
constexpr int BloomBlurReach = BloomPassReach * BloomBlurPasses / 2 + 2;

// A rectangle of pixels or texels, [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    bool contains(const PixelRect& r) const {
        return r.empty() || (x0 <= r.x0 && y0 <= r.y0 && x1 >= r.x1 && y1 >= r.y1);
    }
};
// Stands for "the whole image" until clamped to one.
constexpr PixelRect WholeImage{0, 0, 1 << 30, 1 << 30};

// Where glow can be, as a few rectangles. The objects the star lights and the goal's glowing frame
// are often far apart on screen: one rectangle around both would take the ten blur passes over
// all the space between them.
struct GlowRects {
    // More rectangles than this are merged: each pass draws once per rectangle.
    static constexpr int Max = 4;

    GlowRects() = default;
    explicit GlowRects(const PixelRect& r) { add(r); }

    // Adds `r` (nothing when empty). It joins a rectangle where that costs no more pixels than
    // keeping both, and beyond Max the two whose joining adds the fewest pixels are joined:
    // every pixel of every added rectangle stays covered.
    void add(const PixelRect& r);
    bool empty() const { return count == 0; }
    bool covers(int x, int y) const;
    PixelRect bounds() const;

    PixelRect rects[Max + 1]; // one spare for the rectangle being added
    int count = 0;
};

// The off-screen targets of the glow effect. The scene is drawn into hdrFBO (colour image 0: the
// HDR scene, image 1: the part that glows); the glow image is blurred between the two ping-pong
// targets at a reduced size, then combined with the scene onto the window (Model::drawBloom).
//
// Lives for the whole run in the app's state: the bloom-carrying model keeps copies of the names
// and a pointer to this struct, so it must not move after initBloom. Names are never deleted;
// a resize re-specifies the storage of the same names, so the copies stay valid.
struct BloomTargets {
    GLuint hdrFBO = 0;
    GLuint colorBuffers[2] = {0, 0};
    GLuint rboDepth = 0;
    GLuint pingpongFBO[2] = {0, 0};
    GLuint pingpongColorbuffers[2] = {0, 0};
    // Below full size the combine writes the finished picture at the scene's size here, and a
    // filtered blit scales it up to the window: the window is then touched once, by the cheapest
    // copy there is, instead of by the combine's per-pixel work.
    GLuint outputFBO = 0, outputImage = 0;
    int width = 0, height = 0;           // the window's framebuffer
    int sceneWidth = 0, sceneHeight = 0; // scene images and depth: the framebuffer times `scale`
    int blurWidth = 0, blurHeight = 0;   // ping-pong images: the scene size divided by `downscale`
    int downscale = BloomDownscale;      // read by initBloom and resizeBloom
    float scale = 1.0f;                  // the render scale; set with setBloomScale
    float blurSpread = 1.0f;             // the blur program's "spread" as last sent; the program starts at 1
    GLint windowViewport[4] = {0, 0, 0, 0}; // kept by useSceneViewport for useWindowViewport

    // Where the glow image may be lit this frame, in scene pixels. The blur runs only there (and
    // its reach); the frame that knows sets it before drawBloom, which uses it once and then
    // goes back to the whole image.
    GlowRects glowArea{WholeImage};
    GlowRects lastGlowArea{WholeImage}; // what the last drawBloom took, clamped to the scene image
    // The parts of the ping-pong images that may hold glow from earlier frames, in blur texels.
    GlowRects blurWritten{WholeImage};
};

// Creates the targets at width x height (the window's framebuffer; a 0 size is taken as 1), prints
// "IN INIT BLOOM" and "INIT BLOOM: done" around the set-up, reports incomplete framebuffers, and
// gives `carrier` the seven names and a pointer to `targets`. Leaves pingpongFBO[1] bound.
void initBloom(BloomTargets& targets, Model& carrier, int width, int height);

// Draws the scene into the targets at the render scale: binds nothing, keeps the window's viewport
// and sets the scene's (none while the window's is empty, as when minimised).
void useSceneViewport(BloomTargets& targets);
// Puts the window's viewport back, as useSceneViewport found it.
void useWindowViewport(const BloomTargets& targets);

// A new render scale (clamped to 1/16 .. 1): the scene and blur images follow it, the window's
// framebuffer size stays. Returns whether anything changed.
bool setBloomScale(BloomTargets& targets, float scale);

// Follows a new framebuffer size. A 0 x 0 size (a minimised window) keeps the current size, and
// targets that initBloom has not built yet are left alone.
// Keeps the framebuffer, texture and renderbuffer bindings as they were.
void resizeBloom(BloomTargets& targets, int width, int height);

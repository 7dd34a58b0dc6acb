#pragma once

#include "model/Model.h"

#include <GL/glew.h>

// The blur runs at half the framebuffer size in each direction: a quarter of the pixels per pass,
// while the glow on screen keeps the spread of a full-size blur (the kernel in 2fsbloom.shader is
// tuned for this factor). A quarter-size blur is too coarse for the star's narrow halo.
constexpr int BloomDownscale = 2;
// Alternating horizontal and vertical passes; horizontal first, so the last one is vertical.
constexpr int BloomBlurPasses = 10;

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
    int width = 0, height = 0;         // scene images and depth: the window's framebuffer
    int blurWidth = 0, blurHeight = 0; // ping-pong images: the scene size divided by `downscale`
    int downscale = BloomDownscale;    // read by initBloom and resizeBloom
};

// Creates the targets at width x height (the window's framebuffer; a 0 size is taken as 1), prints
// "IN INIT BLOOM" and "INIT BLOOM: done" around the set-up, reports incomplete framebuffers, and
// gives `carrier` the seven names and a pointer to `targets`. Leaves pingpongFBO[1] bound.
void initBloom(BloomTargets& targets, Model& carrier, int width, int height);

// Follows a new framebuffer size. A 0 x 0 size (a minimised window) keeps the current size, and
// targets that initBloom has not built yet are left alone.
// Keeps the framebuffer, texture and renderbuffer bindings as they were.
void resizeBloom(BloomTargets& targets, int width, int height);

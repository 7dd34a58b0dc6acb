// The blur runs only where the frame says glow can be. If a material, a shader or the light ever
// lets something glow outside that area, its halo would be cut off without a word: this plays the
// benchmark's script through the real start-up and frame and checks, frame after frame, that no
// lit texel of the glow image falls outside the area, and that the limited blur puts exactly the
// same picture on the window as a blur over everything.
#include "ScriptedPlay.h"

#include "app/AppState.h"
#include "app/Game.h"
#include "app/GlowArea.h"
#include "physics/px/PxPhysicsAPI.h"
#include "support/GLContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/epsilon.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int WindowWidth = 320, WindowHeight = 192;
constexpr int Frames = ScriptedPlay::CycleFrames; // the follow-camera orbit and the fly-over
constexpr int CompareEvery = 8;

// Counts the glow image's lit texels outside `area`, and in `covered` the texels inside it.
int litOutside(const BloomTargets& t, const GlowRects& area, std::vector<float>& texels, int& lit,
               int& covered) {
    texels.resize(static_cast<std::size_t>(t.sceneWidth) * t.sceneHeight * 4);
    glBindTexture(GL_TEXTURE_2D, t.colorBuffers[1]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
    int outside = 0;
    for (int y = 0; y < t.sceneHeight; ++y)
        for (int x = 0; x < t.sceneWidth; ++x) {
            const bool inside = area.covers(x, y);
            covered += inside ? 1 : 0;
            const float* p = &texels[(static_cast<std::size_t>(y) * t.sceneWidth + x) * 4];
            if (p[0] <= 0.0f && p[1] <= 0.0f && p[2] <= 0.0f)
                continue;
            ++lit;
            outside += inside ? 0 : 1;
        }
    return outside;
}

std::vector<unsigned char> windowPixels() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(WindowWidth) * WindowHeight * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace

TEST(GlowArea, NothingGlowsOutsideTheAreaAndTheLimitedBlurChangesNoPixel) {
    ASSERT_TRUE(glfwInit());
    Game game;
    {
        CoutCapture quiet;
        const auto smallWindow = [](StartStep step, Game& g) {
            if (step != StartStep::Settings)
                return;
            g.settings.width = WindowWidth;
            g.settings.height = WindowHeight;
            g.settings.renderscale = 1.0f;
            g.settings.framecap = 0;
        };
        ASSERT_EQ(startGame(game, smallWindow), StartResult::Started);
    }
    const glow::Box full = modelBounds(game.enemy1.model);
    AppState& state = appState();
    // The start-up turns and scales the stones to fill their boxes, and sends the star's light to the
    // creature's program, which gets it only then.
    physx::PxShape* shape = nullptr;
    physx::PxBoxGeometry box;
    ASSERT_TRUE(game.enemy1.actor->getShapes(&shape, 1) == 1 && shape->getBoxGeometry(box));
    const glow::Box stone = glow::worldBox(full, game.enemy1.model.modelMatrix);
    EXPECT_TRUE(glm::all(
        glm::epsilonEqual(stone.max - stone.min,
                          2.0f * glm::vec3(box.halfExtents.x, box.halfExtents.y, box.halfExtents.z), 1e-3f)));
    glm::vec3 light(0.0f);
    glGetUniformfv(game.programs.animShader.ID,
                   glGetUniformLocation(game.programs.animShader.ID, "pointL.color"), &light.x);
    EXPECT_EQ(light, state.starLight.lightColour);
    Model& star = state.starLight.model;
    ScriptedPlay script(game.window);

    int outsideTexels = 0, outsideFrames = 0, firstOutside = -1, lightElsewhere = 0;
    std::vector<float> texels;
    int litTexels = 0, compared = 0, differing = 0, framesWithGlow = 0;
    double coverage = 0.0;
    int rects = 0;
    for (int frame = 0; frame < Frames && !glfwWindowShouldClose(game.window); ++frame) {
        // A lower scale on the last stretch: the area follows the smaller scene image, and the
        // enemies are the low-detail stone.
        if (frame == Frames - 100)
            useRenderScale(game, 0.75f);
        script.before(frame);
        const glm::vec3 lightBefore = state.starLight.position;
        runFrame(game);
        // The lit program's light is where the star was placed last frame.
        glm::vec3 litFrom(0.0f);
        const GLuint textured = game.programs.textureShader.ID;
        glGetUniformfv(textured, glGetUniformLocation(textured, "pointL.position"), &litFrom.x);
        lightElsewhere += litFrom == lightBefore ? 0 : 1;
        const BloomTargets& t = state.bloom;
        const GlowRects area = t.lastGlowArea;
        int lit = 0, covered = 0;
        const int out = litOutside(t, area, texels, lit, covered);
        litTexels += lit;
        framesWithGlow += lit > 0 ? 1 : 0;
        coverage += double(covered) / (double(t.sceneWidth) * t.sceneHeight);
        rects += area.count;
        if (out > 0 && outsideFrames++ == 0)
            firstOutside = frame;
        outsideTexels += out;
        // The same frame's images once more: the blur limited to the area, then over everything.
        if (frame % CompareEvery == 0) {
            state.bloom.glowArea = area;
            star.drawBloom();
            const std::vector<unsigned char> limited = windowPixels();
            star.drawBloom();
            const std::vector<unsigned char> everywhere = windowPixels();
            ++compared;
            differing += limited == everywhere ? 0 : 1;
        }
    }
    glfwTerminate();
    std::printf(
        "glow area: %d frames, %d with glow (%d lit texels), the area covered %.1f %% of the scene in "
        "%.1f rectangles on average\n",
        Frames, framesWithGlow, litTexels, 100.0 * coverage / Frames, double(rects) / Frames);
    EXPECT_GT(framesWithGlow, Frames / 2) << "a session without glow would prove nothing";
    EXPECT_EQ(outsideFrames, 0) << outsideTexels << " texels in all, the first in frame " << firstOutside;
    EXPECT_EQ(differing, 0) << "of " << compared << " compared frames";
    EXPECT_EQ(lightElsewhere, 0);
}

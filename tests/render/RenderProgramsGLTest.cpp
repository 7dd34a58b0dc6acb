#include "render/Shader.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ProgramContract {
    const char* vertex;
    const char* fragment;
    std::vector<const char*> uniforms;
    int outputs; // fragment outputs at locations 0 ... outputs - 1
};

} // namespace

// A uniform the compiler drops as unused has no location, and the setters would then report it
// every frame: every uniform the game sends must be in use, and every scene program must write
// both the colour and the glow output.
TEST(RenderProgramsGLTest, ProgramsBuildCleanlyWithEveryUniformInUse) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    const std::vector<ProgramContract> programs = {
        {"vsemap.shader", "fsemap.shader", {"emap", "viewMatrix", "projectionMatrix"}, 2},
        {"vsReflect.shader",
         "fsReflect.shader",
         {"emap", "viewMatrix", "projectionMatrix", "cameraPos", "modelMatrix"},
         2},
        {"1vsbloom.shader", "1fsbloom.shader", {"viewProjMatrix"}, 2},
        {"2vsbloom.shader", "2fsbloom.shader", {"image", "horizontal"}, 1},
        {"3vsbloom.shader", "3fsbloom.shader", {"scene", "bloomBlur", "bloom", "exposure"}, 1},
    };
    for (const ProgramContract& p : programs) {
        CoutCapture out;
        const Shader program(std::string("res/shader/") + p.vertex, std::string("res/shader/") + p.fragment);
        EXPECT_EQ(out.text(), "") << p.vertex << " / " << p.fragment;
        GLint linked = 0;
        glGetProgramiv(program.ID, GL_LINK_STATUS, &linked);
        ASSERT_EQ(linked, GL_TRUE) << p.fragment;
        for (const char* name : p.uniforms)
            EXPECT_NE(glGetUniformLocation(program.ID, name), -1) << p.fragment << ": " << name;
        GLint outputs = 0;
        glGetProgramInterfaceiv(program.ID, GL_PROGRAM_OUTPUT, GL_ACTIVE_RESOURCES, &outputs);
        EXPECT_EQ(outputs, p.outputs) << p.fragment;
    }
}

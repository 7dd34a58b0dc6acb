#include "model/AnimatedModel.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testscene;

namespace {

bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// Skins clip-space positions with the model's joint matrices and paints them red: enough to see
// ids arrive as integers and the matrices arrive in the right slots.
GLuint skinningProgram() {
    const char* vertex = R"(#version 440 core
layout(location = 0) in vec3 aPosition;
layout(location = 3) in ivec3 aJointIds;
layout(location = 4) in vec3 aWeights;
uniform mat4 jointTransforms[8];
void main() {
    mat4 skin = jointTransforms[aJointIds.x] * aWeights.x + jointTransforms[aJointIds.y] * aWeights.y
              + jointTransforms[aJointIds.z] * aWeights.z;
    gl_Position = skin * vec4(aPosition, 1.0);
})";
    const char* fragment = R"(#version 440 core
out vec4 colour;
void main() { colour = vec4(1.0, 0.0, 0.0, 1.0); })";
    return linkProgram(vertex, fragment);
}

// The creature with every clip holding Bone2 (joint 2) at `shift`, and the mesh's first triangle
// placed so that only that shift brings it over the window's centre.
std::unique_ptr<aiScene> shiftedCreature(const aiVector3D& shift) {
    auto scene = creatureScene(3, 2);
    aiMesh* mesh = scene->mMeshes[0];
    mesh->mVertices[0] = aiVector3D(2, -1, 0);
    mesh->mVertices[1] = aiVector3D(4, -1, 0);
    mesh->mVertices[2] = aiVector3D(2, 1, 0);
    for (unsigned c = 0; c < scene->mNumAnimations; ++c) {
        aiNodeAnim* channel = scene->mAnimations[c]->mChannels[0];
        for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) {
            channel->mPositionKeys[k].mValue = shift;
            channel->mRotationKeys[k].mValue = aiQuaternion();
        }
    }
    return scene;
}

// Refused with one line that names the file, and nothing loaded stays behind.
void expectRefused(const AnimatedModel& model, const std::vector<std::string>& lines,
                   const std::string& path) {
    EXPECT_FALSE(model.usable());
    EXPECT_NE(model.loadError.find(path), std::string::npos) << model.loadError;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), model.loadError), 1);
    EXPECT_TRUE(model.meshes.empty() && model.texturesLoaded.empty() && model.animations.empty());
    EXPECT_EQ(model.rootJoint, nullptr);
}

} // namespace

TEST(AnimatedModelGL, LoadsJointsClipsAndSkinsWithTheCurrentClip) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    TempDir dir;
    const std::string path = dir.file("creature.fbx");
    ASSERT_TRUE(writeScene(shiftedCreature(aiVector3D(-2.5f, 0, 0)).get(), path, "fbxa"));

    Shader shader(skinningProgram());
    CoutCapture out;
    AnimatedModel creature(&shader, path.c_str());
    const std::vector<std::string> lines = out.lines();
    ASSERT_TRUE(creature.usable()) << creature.loadError;
    EXPECT_EQ(creature.meshes.size(), 1u);
    EXPECT_EQ(creature.jointCount, 5);
    ASSERT_EQ(creature.animations.size(), 3u);
    EXPECT_EQ(creature.currentAnimation, creature.animations[1]);
    EXPECT_EQ(creature.jointTransforms, std::vector<glm::mat4>(5, glm::mat4(1.0f)));

    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Model node structure:");
    EXPECT_TRUE(hasLine(lines, "Created Joint: Armature; jointCount now: 1"));
    EXPECT_TRUE(hasLine(lines, "        ID: 4, name: End"));
    EXPECT_TRUE(hasLine(lines, "jointOffsets Size: 5, mesh->NumBones: 2"));
    EXPECT_EQ(lines[lines.size() - 3], "Animation: clip0; Duration(0.0416667), TicksPS(24)");
    EXPECT_EQ(lines.back(), "Animation: clip2; Duration(0.0416667), TicksPS(24)");

    // Only Bone2's key moves the triangle over the centre pixel.
    glViewport(0, 0, 64, 64);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    creature.draw();
    glFinish();
    EXPECT_EQ(readPixel(32, 32).r, 255);

    // Clip keys: a clip the file has is played from its start; one it lacks changes nothing.
    creature.advance(0.02f);
    EXPECT_TRUE(creature.playClip(2));
    EXPECT_EQ(creature.currentAnimation, creature.animations[2]);
    EXPECT_EQ(creature.animationTime, 0.0f);
    CoutCapture keyOut;
    EXPECT_FALSE(creature.playClip(3));
    EXPECT_EQ(creature.currentAnimation, creature.animations[2]);
}

// The joint, bone and clip checks have tests of their own; here a few refusals go through the whole load.
TEST(AnimatedModelGL, MalformedFilesAreRefusedWithOneLineAndLeaveNothingBehind) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    Shader shader(skinningProgram());
    TempDir dir;
    struct Case {
        const char* file;
        const char* format;
        void (*spoil)(aiScene*);
    };
    const std::vector<Case> cases = {
        {"two-clips.fbx", "fbxa",
         [](aiScene* s) {
             delete s->mAnimations[2];
             s->mNumAnimations = 2;
         }},
        // What no FBX file can say, a scene file that keeps every value can.
        {"late-key.assbin", "assbin",
         [](aiScene* s) {
             s->mAnimations[1]->mDuration = 4.0;
             s->mAnimations[1]->mChannels[0]->mRotationKeys[2].mTime = 9.0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto scene = creatureScene();
        c.spoil(scene.get());
        const std::string path = dir.file(c.file);
        ASSERT_TRUE(writeScene(scene.get(), path, c.format));
        CoutCapture out;
        AnimatedModel creature(&shader, path.c_str());
        const std::vector<std::string> lines = out.lines();
        expectRefused(creature, lines, path);
        // Whatever the game does with it next must not crash either.
        creature.advance(0.5f);
        EXPECT_FALSE(creature.playClip(1));
        creature.draw();
    }

    CoutCapture out;
    const std::string absent = dir.file("absent.fbx");
    AnimatedModel creature(&shader, absent.c_str());
    // The importer's own line first, then the one that names the file.
    ASSERT_EQ(out.lines().size(), 2u);
    EXPECT_EQ(out.lines()[0].rfind("ERROR::ASSIMP::", 0), 0u) << out.lines()[0];
    expectRefused(creature, out.lines(), absent);
}

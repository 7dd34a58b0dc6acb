#include "ZubRig.h"

#include "ZubShape.h"

#include <cmath>

namespace assetgen::zub {

namespace {

constexpr float TwoPi = 2.0f * Pi;
const glm::vec3 AxisX(1.0f, 0.0f, 0.0f), AxisY(0.0f, 1.0f, 0.0f), AxisZ(0.0f, 0.0f, 1.0f);

// Local articulations of one pose, before they are chained through the parents.
struct Articulation {
    glm::mat4 joint[JointCount];
    Articulation() {
        for (glm::mat4& m : joint)
            m = glm::mat4(1.0f);
    }
};

// A bump that peaks at phase `centre` and is periodic, so loops stay seamless.
float periodicBump(float phase, float centre, float width) {
    float d = std::remainder(phase - centre, TwoPi);
    return std::exp(-(d * d) / (width * width));
}

// The axis an ear flops forwards and backwards about: across the ear.
glm::vec3 earHinge(int side) {
    glm::vec3 across, thickness;
    ear(side).frame(0.2f, across, thickness);
    return across;
}

// Ears: a base turn and a tip turn about the ear's hinge, plus an outward roll of the whole ear.
void setEar(Articulation& art, int side, float flopDeg, float tipDeg, float rollDeg) {
    const JointId base = side < 0 ? EarL : EarR;
    const JointId tip = side < 0 ? EarLTip : EarRTip;
    art.joint[base] = rotationAbout(earPivot(side), AxisX, rollDeg * side) *
                      rotationAbout(earPivot(side), earHinge(side), flopDeg);
    art.joint[tip] = rotationAbout(earTipPivot(side), earHinge(side), tipDeg);
}

Articulation walk(float phase) {
    Articulation art;
    const float s = std::sin(phase);
    // Two steps per cycle: the body is lowest when the feet are spread and rolls over the foot
    // that carries it.
    const float bob = 0.045f * s * s;
    art.joint[Body] = translation(glm::vec3(0.0f, 0.0f, bob)) * rotationAbout(BodyPivot, AxisX, 5.0f * s) *
                      rotationAbout(BodyPivot, AxisY, -4.0f - 2.0f * std::cos(2.0f * phase)) *
                      rotationAbout(BodyPivot, AxisZ, 4.0f * s);
    for (int side : {-1, 1}) {
        const float footPhase = side < 0 ? phase : phase + Pi;
        const float fs = std::sin(footPhase), fc = std::cos(footPhase);
        // Forward is -x: the foot is ahead at phase 0, slides back while it carries the body and
        // swings forward, lifted, in the second half.
        const float lift = 0.09f * std::max(0.0f, -fs);
        const glm::vec3 step(-0.13f * fc, 0.0f, lift);
        const float toe = -14.0f * std::max(0.0f, -fs) * fc;
        art.joint[side < 0 ? FootL : FootR] =
            translation(step) * rotationAbout(footPivot(side), AxisY, toe + 6.0f * std::max(0.0f, fs) * fc);
        // Arms swing against the foot on their side.
        art.joint[side < 0 ? ArmL : ArmR] = rotationAbout(armPivot(side), AxisY, -20.0f * fc) *
                                            rotationAbout(armPivot(side), AxisX, side * 6.0f * (1.0f + fs));
        // Ears lag behind the bounce.
        setEar(art, side, 9.0f * std::sin(2.0f * phase - 1.0f), 13.0f * std::sin(2.0f * phase - 1.9f),
               3.0f * std::sin(phase - 0.6f));
    }
    art.joint[Tail] = rotationAbout(tailPivot(), AxisZ, 20.0f * std::sin(phase - 0.6f)) *
                      rotationAbout(tailPivot(), AxisY, 6.0f * std::sin(2.0f * phase - 1.2f));
    art.joint[TailTip] = rotationAbout(tailTipPivot(), AxisZ, 22.0f * std::sin(phase - 1.5f));
    return art;
}

// sin(phase - lag) shifted to start at 0: the same wave, lagging, but at rest on the first tick.
float lagged(float phase, float lag) {
    return std::sin(phase - lag) + std::sin(lag);
}

Articulation idle(float phase) {
    Articulation art;
    // Starts from the rest pose (the game shows the first idle frame right after loading): breathing
    // twice per cycle, a slow look to either side and a head tilt.
    const float breath = 0.018f * std::sin(phase) * std::sin(phase);
    art.joint[Body] = translation(glm::vec3(0.0f, 0.0f, breath)) *
                      rotationAbout(BodyPivot, AxisZ, 11.0f * std::sin(phase)) *
                      rotationAbout(BodyPivot, AxisX, 3.5f * lagged(phase, 0.8f)) *
                      rotationAbout(BodyPivot, AxisY, -1.5f * std::sin(2.0f * phase));
    for (int side : {-1, 1}) {
        // The right ear twitches once in the cycle, the left one a little later and less.
        const float twitch = side > 0 ? 22.0f * periodicBump(phase, 3.9f, 0.3f) * std::sin(6.0f * phase)
                                      : 13.0f * periodicBump(phase, 5.2f, 0.3f) * std::sin(6.0f * phase);
        setEar(art, side, 4.0f * lagged(2.0f * phase, 0.4f * side) + twitch,
               6.0f * lagged(2.0f * phase, 0.5f - 0.4f * side) + 0.6f * twitch, 2.0f * std::sin(phase));
        art.joint[side < 0 ? ArmL : ArmR] =
            rotationAbout(armPivot(side), AxisY, 5.0f * std::sin(2.0f * phase));
    }
    art.joint[Tail] = rotationAbout(tailPivot(), AxisZ, 13.0f * std::sin(2.0f * phase));
    art.joint[TailTip] = rotationAbout(tailTipPivot(), AxisZ, 16.0f * lagged(2.0f * phase, 0.8f));
    return art;
}

Articulation wave(float phase) {
    Articulation art;
    const float tau = phase / TwoPi;
    // The right arm rises, waves four times and comes down again before the loop closes.
    const float raise = glm::smoothstep(0.0f, 0.25f, tau) * (1.0f - glm::smoothstep(0.75f, 1.0f, tau));
    const float shake = std::sin(TwoPi * 4.0f * tau);
    // Out and up beside the cheek, a little forwards, so the paw clears the body; then side to side.
    const glm::vec3 hanging = glm::normalize(arm(1).spine(1.0f) - armPivot(1));
    const glm::vec3 raised = glm::normalize(glm::vec3(-0.25f, 0.8f, 0.55f));
    const float lift = glm::degrees(std::acos(glm::dot(hanging, raised)));
    art.joint[ArmR] = rotationAbout(armPivot(1), AxisX, 18.0f * raise * shake) *
                      rotationAbout(armPivot(1), glm::cross(hanging, raised), lift * raise);
    art.joint[ArmL] = rotationAbout(armPivot(-1), AxisX, -8.0f * raise);
    art.joint[Body] = translation(glm::vec3(0.0f, 0.0f, 0.012f * raise * (1.0f + shake))) *
                      rotationAbout(BodyPivot, AxisX, 7.0f * raise) *
                      rotationAbout(BodyPivot, AxisZ, 6.0f * raise);
    for (int side : {-1, 1})
        setEar(art, side, -12.0f * raise + 4.0f * raise * std::sin(TwoPi * 4.0f * tau + side),
               -8.0f * raise + 6.0f * raise * std::sin(TwoPi * 4.0f * tau - 0.8f), 0.0f);
    art.joint[Tail] = rotationAbout(tailPivot(), AxisZ, 24.0f * std::sin(TwoPi * 3.0f * tau));
    art.joint[TailTip] = rotationAbout(tailTipPivot(), AxisZ, 20.0f * lagged(TwoPi * 3.0f * tau, 1.0f));
    return art;
}

} // namespace

const std::vector<SkeletonJoint>& skeleton() {
    static const std::vector<SkeletonJoint> joints = {
        {"Armature", -1},   {"Root", Armature},  {"Body", Root},   {"Ear_L", Body}, {"Ear_L_Tip", EarL},
        {"Ear_R", Body},    {"Ear_R_Tip", EarR}, {"Arm_L", Body},  {"Arm_R", Body}, {"Tail", Body},
        {"Tail_Tip", Tail}, {"Foot_L", Root},    {"Foot_R", Root},
    };
    return joints;
}

const std::vector<ClipInfo>& clipInfos() {
    static const std::vector<ClipInfo> clips = {{"Walk", 24}, {"Idle", 72}, {"Wave", 48}};
    return clips;
}

std::vector<glm::mat4> designedMotion(int clip, float tick) {
    const float phase = TwoPi * tick / static_cast<float>(clipInfos()[static_cast<size_t>(clip)].ticks);
    const Articulation art = clip == Walk ? walk(phase) : clip == Idle ? idle(phase) : wave(phase);
    const std::vector<SkeletonJoint>& joints = skeleton();
    std::vector<glm::mat4> motion(JointCount, glm::mat4(1.0f));
    // The armature and the joint below it never move in the game.
    for (int j = Body; j < JointCount; ++j)
        motion[j] = motion[static_cast<size_t>(joints[j].parent)] * art.joint[j];
    return motion;
}

std::vector<ClipKeys> clipKeys() {
    const std::vector<SkeletonJoint>& joints = skeleton();
    std::vector<ClipKeys> out;
    for (int c = 0; c < ClipCount; ++c) {
        const ClipInfo& info = clipInfos()[static_cast<size_t>(c)];
        ClipKeys clip;
        clip.name = info.name;
        clip.ticks = info.ticks;
        for (int k = 0; k <= info.ticks; ++k) {
            // The last key is the first again: the game wraps its clock at the clip's length, so
            // the loop closes without a jump and without a held frame.
            const std::vector<glm::mat4> motion = designedMotion(c, static_cast<float>(k % info.ticks));
            std::vector<JointKey> keys(JointCount);
            for (int j = Body; j < JointCount; ++j)
                keys[j] = keyFor(motion[j], motion[static_cast<size_t>(joints[j].parent)]);
            clip.keys.push_back(keys);
        }
        out.push_back(clip);
    }
    return out;
}

float designedReach(int clip) {
    // The design's own largest vertex travel (from the bind pose, over every tick) with about ten
    // percent to spare: the walk and the idle move the body and swing the tail and ears by about
    // 0.4, the wave lifts the right paw out beside the cheek, about 0.85.
    switch (clip) {
    case Walk:
        return 0.43f;
    case Idle:
        return 0.41f;
    default:
        return 0.95f;
    }
}

} // namespace assetgen::zub

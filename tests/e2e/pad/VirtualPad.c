// A gamepad that is not there: preloaded into the real game, it stands in for GLFW's joystick
// calls (and for W, A, S, D) and plays a script, so the end-to-end tests can drive the game with
// a pad on a machine that has none.
//
// GLORBIT_VIRTUAL_PAD names the script. Each line: from which frame on (the number of buffer swaps
// so far) it holds, then the left stick x y, the right stick x y, the buttons held (GLFW gamepad
// button numbers joined by '+', or -), the keys held (letters of w, a, s, d, or -). A line
// "FRAME freeze" stops the game after that frame's swap, so its picture stays on screen; the file
// SCRIPT.frozen tells the test it has.
#define _GNU_SOURCE
#include <GLFW/glfw3.h>

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define MaxSteps 64

struct Step {
    long frame;
    float axes[4];
    char buttons[64];
    char keys[8];
    int freeze;
};

static struct Step steps[MaxSteps];
static int stepCount = -1;
static long swaps = 0;

static void loadScript(void) {
    if (stepCount >= 0)
        return;
    stepCount = 0;
    const char* path = getenv("GLORBIT_VIRTUAL_PAD");
    FILE* file = path ? fopen(path, "r") : NULL;
    if (!file)
        return;
    char line[256];
    while (stepCount < MaxSteps && fgets(line, sizeof line, file)) {
        struct Step* s = &steps[stepCount];
        memset(s, 0, sizeof *s);
        if (sscanf(line, "%ld freeze", &s->frame) == 1 && strstr(line, "freeze")) {
            s->freeze = 1;
            ++stepCount;
        } else if (sscanf(line, "%ld %f %f %f %f %63s %7s", &s->frame, &s->axes[0], &s->axes[1], &s->axes[2],
                          &s->axes[3], s->buttons, s->keys) == 7) {
            ++stepCount;
        }
    }
    fclose(file);
}

// The last non-freeze step that has begun by now.
static const struct Step* current(void) {
    loadScript();
    const struct Step* found = NULL;
    for (int i = 0; i < stepCount; ++i)
        if (!steps[i].freeze && steps[i].frame <= swaps)
            found = &steps[i];
    return found;
}

int glfwJoystickPresent(int jid) { return jid == GLFW_JOYSTICK_1; }
int glfwJoystickIsGamepad(int jid) { return jid == GLFW_JOYSTICK_1; }
const char* glfwGetGamepadName(int jid) { return jid == GLFW_JOYSTICK_1 ? "Virtual Test Pad" : NULL; }

int glfwGetGamepadState(int jid, GLFWgamepadstate* state) {
    if (jid != GLFW_JOYSTICK_1)
        return GLFW_FALSE;
    memset(state, 0, sizeof *state);
    state->axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = state->axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f;
    const struct Step* s = current();
    if (!s)
        return GLFW_TRUE;
    memcpy(state->axes, s->axes, sizeof s->axes);
    for (const char* b = s->buttons; *b && *b != '-';) {
        const int button = atoi(b);
        if (button >= 0 && button <= GLFW_GAMEPAD_BUTTON_LAST)
            state->buttons[button] = GLFW_PRESS;
        b += strcspn(b, "+");
        b += *b == '+';
    }
    return GLFW_TRUE;
}

int glfwGetKey(GLFWwindow* window, int key) {
    static int (*real)(GLFWwindow*, int) = NULL;
    if (!real)
        real = (int (*)(GLFWwindow*, int))dlsym(RTLD_NEXT, "glfwGetKey");
    const struct Step* s = current();
    if (s && key >= GLFW_KEY_A && key <= GLFW_KEY_Z && strchr(s->keys, 'a' + (key - GLFW_KEY_A)))
        return GLFW_PRESS;
    return real(window, key);
}

void glfwSwapBuffers(GLFWwindow* window) {
    static void (*real)(GLFWwindow*) = NULL;
    if (!real)
        real = (void (*)(GLFWwindow*))dlsym(RTLD_NEXT, "glfwSwapBuffers");
    real(window);
    ++swaps;
    loadScript();
    for (int i = 0; i < stepCount; ++i) {
        if (steps[i].freeze && steps[i].frame == swaps) {
            char marker[512];
            snprintf(marker, sizeof marker, "%s.frozen", getenv("GLORBIT_VIRTUAL_PAD"));
            FILE* f = fopen(marker, "w");
            if (f)
                fclose(f);
            for (;;)
                pause();
        }
    }
}

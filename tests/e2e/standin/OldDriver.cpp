// Stands in for a graphics driver without OpenGL 4.4: glfwCreateWindow fails, as it does there,
// unless LIBGL_ALWAYS_SOFTWARE asks for Mesa's software renderer (set, and neither empty nor "0").
// Everything else, and the window itself when allowed, comes from the real GLFW.
#include <GLFW/glfw3.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

extern "C" GLFWwindow* glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor,
                                        GLFWwindow* share) {
    const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (!software || !*software || std::strcmp(software, "0") == 0)
        return nullptr;
    using CreateWindow = GLFWwindow* (*)(int, int, const char*, GLFWmonitor*, GLFWwindow*);
    const auto real = reinterpret_cast<CreateWindow>(dlsym(RTLD_NEXT, "glfwCreateWindow"));
    return real ? real(width, height, title, monitor, share) : nullptr;
}

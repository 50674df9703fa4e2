// The floor under the game's memory: a window the size of the desktop with an OpenGL 3.3 context made
// as the game makes its own, cleared and swapped for the given seconds. With "draw" it also draws a
// 2 x 2 texture over the window through a trivial shader each frame, which is what brings the driver's
// shader compiler in. tools/bench/memory.py compares its peak resident memory with the game's, and
// tools/bench/gamebench.py its CPU load with the game's. Frames are paced to 60 a second as the game
// paces its own: where the driver gives no vertical sync (Xvfb), by sleeping.
//
//   bare_window [seconds] [draw]

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

GLuint Compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// A full-window triangle pair sampling a 2 x 2 texture: the least a picture on screen takes.
void PrepareDrawing() {
    const GLuint program = glCreateProgram();
    glAttachShader(program, Compile(GL_VERTEX_SHADER, "#version 330 core\n"
                                                      "layout(location = 0) in vec2 p;\n"
                                                      "out vec2 uv;\n"
                                                      "void main() { uv = p * 0.5 + 0.5; gl_Position = vec4(p, 0, 1); }\n"));
    glAttachShader(program, Compile(GL_FRAGMENT_SHADER, "#version 330 core\n"
                                                        "in vec2 uv;\n"
                                                        "uniform sampler2D picture;\n"
                                                        "out vec4 colour;\n"
                                                        "void main() { colour = texture(picture, uv); }\n"));
    glLinkProgram(program);
    glUseProgram(program);
    const float corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    GLuint vao = 0;
    GLuint vbo = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    const unsigned char texels[] = {200, 40, 40, 255, 40, 200, 40, 255, 40, 40, 200, 255, 200, 200, 40, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const bool draw = argc > 2 && std::strcmp(argv[2], "draw") == 0;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::printf("SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window = SDL_CreateWindow("Bare window", 0, 0, desktop.w, desktop.h,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::printf("no OpenGL 3.3 window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(1);
    if (draw) {
        PrepareDrawing();
    }
    std::printf("bare window %dx%d on %s\n", desktop.w, desktop.h, glGetString(GL_RENDERER));
    std::fflush(stdout);
    const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(seconds * 1000.0);
    using Steady = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(1.0 / 60));
    auto next = Steady::now() + period;
    for (int frame = 0; SDL_GetTicks64() < end; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glClearColor(0.0f, static_cast<float>(frame % 60) / 60.0f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (draw) {
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }
        SDL_GL_SwapWindow(window);
        // A swap that waited for the display leaves nothing to sleep.
        std::this_thread::sleep_until(next);
        next = std::max(next + period, Steady::now());
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

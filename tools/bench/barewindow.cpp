// The floor under the game's memory: a window the size of the desktop with an OpenGL 3.3 context made
// as the game makes its own, cleared and swapped for the given seconds. tools/bench/memory.py compares
// its peak resident memory with the game's.
//
//   bare_window [seconds]

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
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
    std::printf("bare window %dx%d on %s\n", desktop.w, desktop.h, glGetString(GL_RENDERER));
    std::fflush(stdout);
    const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(seconds * 1000.0);
    for (int frame = 0; SDL_GetTicks64() < end; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glClearColor(0.0f, static_cast<float>(frame % 60) / 60.0f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

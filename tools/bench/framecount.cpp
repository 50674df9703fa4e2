// Counts the frames a program shows, for tools/bench/gamebench.py: preloaded (LD_PRELOAD) into the game
// or the bare window, it wraps SDL_GL_SwapWindow and keeps the count in the first eight bytes of the file
// named by FRAMECOUNT_FILE, mapped shared, so that the benchmark reads it at any moment without costing
// the program a call. CPU per frame shown compares programs fairly when a busy machine slows them.

#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {

std::atomic<uint64_t>* Counter() {
    static std::atomic<uint64_t>* counter = []() -> std::atomic<uint64_t>* {
        const char* path = std::getenv("FRAMECOUNT_FILE");
        const int fd = path != nullptr ? open(path, O_RDWR | O_CREAT, 0644) : -1;
        if (fd < 0 || ftruncate(fd, sizeof(uint64_t)) != 0) {
            return nullptr;
        }
        void* bytes = mmap(nullptr, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        return bytes != MAP_FAILED ? static_cast<std::atomic<uint64_t>*>(bytes) : nullptr;
    }();
    return counter;
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
    using Swap = void (*)(SDL_Window*);
    static const auto next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    next(window);
    if (std::atomic<uint64_t>* counter = Counter()) {
        counter->fetch_add(1, std::memory_order_relaxed);
    }
}

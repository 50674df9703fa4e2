#include "platform/sdl/gldevice.h"

#include "platform/sdl/glfont.h"
#include "platform/sdl/glimage.h"
#include "platform/sdl/sdlwindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <thread>

namespace plat {

namespace {

using Steady = std::chrono::steady_clock;

// Largest back buffer accepted; larger sizes are invalid calls rather than failed allocations.
constexpr uint32_t kMaxBackBufferSide = 8192;
// Presents this much quicker than half a refresh, this many times running, mean the driver ignores the
// swap interval.
constexpr int kQuickPresentsBeforeSleeping = 30;
// Freed memory the process keeps rather than returning it to the kernel.
constexpr int kKeptFreeMemory = 256 << 20;

// Pictures of at least this many pixels get an array of their own, taken to the layer: grown by
// doubling, a shared array of such layers would hold megabytes unused, and each growth copies them.
constexpr uint64_t kOwnArrayPixels = 64 * 1024;

GLuint CompileShader(GLenum type, const std::string& text) {
    GLuint shader = glCreateShader(type);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        std::printf("Shader compile failed: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLenum BlendFactor(uint32_t blend) {
    switch (blend) {
    case kBlendZero:
        return GL_ZERO;
    case kBlendOne:
        return GL_ONE;
    case kBlendSrcColor:
        return GL_SRC_COLOR;
    case kBlendInvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case kBlendSrcAlpha:
        return GL_SRC_ALPHA;
    case kBlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    // The back buffer has no alpha to Direct3D (X8R8G8B8): what it keeps there is never read.
    case kBlendDestAlpha:
        return GL_ONE;
    case kBlendInvDestAlpha:
        return GL_ZERO;
    case kBlendDestColor:
        return GL_DST_COLOR;
    case kBlendInvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    default:
        return GL_ONE;
    }
}

GLenum GlCompareFunc(uint32_t func) {
    switch (func) {
    case kCmpNever:
        return GL_NEVER;
    case kCmpLess:
        return GL_LESS;
    case kCmpEqual:
        return GL_EQUAL;
    case kCmpLessEqual:
        return GL_LEQUAL;
    case kCmpGreater:
        return GL_GREATER;
    case kCmpNotEqual:
        return GL_NOTEQUAL;
    case kCmpGreaterEqual:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

Result LockRange(std::vector<uint8_t>& bytes, bool& locked, uint32_t offset, uint32_t size, void** data) {
    if (data == nullptr || locked || offset > bytes.size()) {
        return kErrInvalidCall;
    }
    const size_t length = size == 0 ? bytes.size() - offset : size;
    if (length > bytes.size() - offset) {
        return kErrInvalidCall;
    }
    locked = true;
    *data = bytes.data() + offset;
    return kOk;
}

// Replaces a buffer's storage: the rasteriser may still hold the old one.
void Refill(GLenum target, GLuint name, size_t size, const void* data) {
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(size), data, GL_STREAM_DRAW);
}

// Direct3D's sampling defaults: point sampling, no mip maps, wrapping.
void PointSampling(GLenum target) {
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, 0);
}

} // namespace

bool OutsideClipVolume(const glm::mat4& worldViewProj, const uint8_t* vertices, uint32_t count,
                       uint32_t stride) {
    // The sides that every vertex so far lies beyond.
    uint32_t common = 0x3F;
    for (uint32_t i = 0; i < count && common != 0; ++i) {
        float position[3];
        std::memcpy(position, vertices + static_cast<size_t>(i) * stride, sizeof(position));
        const glm::vec4 p = worldViewProj * glm::vec4(position[0], position[1], position[2], 1.0f);
        // Far more than the shader's own rounding of the same product can differ by.
        const float slack = 1e-4f * (std::abs(p.x) + std::abs(p.y) + std::abs(p.z) + std::abs(p.w));
        uint32_t beyond = 0;
        beyond |= p.x < -p.w - slack ? 1u : 0u;
        beyond |= p.x > p.w + slack ? 2u : 0u;
        beyond |= p.y < -p.w - slack ? 4u : 0u;
        beyond |= p.y > p.w + slack ? 8u : 0u;
        beyond |= p.z < -slack ? 16u : 0u;
        beyond |= p.z > p.w + slack ? 32u : 0u;
        common &= beyond;
    }
    return common != 0;
}

template <typename Interface>
GlBuffer<Interface>::GlBuffer(std::shared_ptr<GlShared> shared, uint32_t length, Pool pool)
    : bytes(length), m_shared(std::move(shared)), m_pool(pool) {
    if (m_pool == kPoolDefault) {
        ++m_shared->unresettable;
    }
}

template <typename Interface> GlBuffer<Interface>::~GlBuffer() {
    if (m_pool == kPoolDefault) {
        --m_shared->unresettable;
    }
    if (m_shared->device != nullptr) {
        m_shared->device->Forget(this);
    }
}

template <typename Interface>
Result GlBuffer<Interface>::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
    return LockRange(bytes, m_locked, offset, size, data);
}

template <typename Interface> Result GlBuffer<Interface>::Unlock() {
    if (!m_locked) {
        return kErrInvalidCall;
    }
    m_locked = false;
    return kOk;
}

template class GlBuffer<VertexBuffer>;
template class GlBuffer<IndexBuffer>;

AlphaMap::AlphaMap(const uint8_t* rgba, uint32_t w, uint32_t h)
    : width(w), height(h), blocksWide((w + kBlock - 1) / kBlock) {
    blocks.assign(static_cast<size_t>(blocksWide) * ((h + kBlock - 1) / kBlock), 0);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = blocks.data() + static_cast<size_t>(y / kBlock) * blocksWide;
        const uint8_t* texel = rgba + static_cast<size_t>(y) * w * 4;
        for (uint32_t x = 0; x < w; ++x, texel += 4) {
            row[x / kBlock] = std::max(row[x / kBlock], texel[3]);
            largest = std::max(largest, texel[3]);
        }
    }
}

uint8_t AlphaMap::Largest(float uMin, float uMax, float vMin, float vMax) const {
    // Pixel centres never fall on a draw's very edge in the game's pictures: a sliver of a texel's width
    // there is not sampled, so that a frame of a sheet leaves its neighbours out.
    constexpr float kEdge = 1.0f / 64.0f;
    constexpr uint32_t kMostBlocks = 1024;
    if (largest == 0 || !(uMin >= 0.0f && uMax <= 1.0f && vMin >= 0.0f && vMax <= 1.0f)) {
        return largest;
    }
    const auto texels = [](float low, float high, uint32_t size, uint32_t& first, uint32_t& last) {
        const float extent = static_cast<float>(size);
        first = static_cast<uint32_t>(std::clamp(std::floor(low * extent + kEdge), 0.0f, extent - 1.0f));
        last =
            static_cast<uint32_t>(std::clamp(std::ceil(high * extent - kEdge) - 1.0f, 0.0f, extent - 1.0f));
        last = std::max(first, last);
    };
    uint32_t left = 0;
    uint32_t right = 0;
    uint32_t top = 0;
    uint32_t bottom = 0;
    texels(uMin, uMax, width, left, right);
    texels(vMin, vMax, height, top, bottom);
    left /= kBlock;
    right /= kBlock;
    top /= kBlock;
    bottom /= kBlock;
    if ((right - left + 1) * (bottom - top + 1) > kMostBlocks) {
        return largest;
    }
    uint8_t found = 0;
    for (uint32_t y = top; y <= bottom; ++y) {
        const uint8_t* row = blocks.data() + static_cast<size_t>(y) * blocksWide;
        found = std::max(found, *std::max_element(row + left, row + right + 1));
    }
    return found;
}

GlTexture::GlTexture(std::shared_ptr<GlShared> shared, GlTextureArray* a, uint32_t l, AlphaMap alphaMap)
    : array(a), layer(l), alpha(std::move(alphaMap)), m_shared(std::move(shared)) {}

GlTexture::~GlTexture() {
    if (m_shared->device != nullptr) {
        m_shared->device->Forget(this);
        m_shared->device->ReleaseLayer(array, layer);
    }
}

GlDevice::GlDevice(Window* window, SDL_Window* sdlWindow, SDL_GLContext context, const PresentParams& params)
    : m_window(window), m_sdlWindow(sdlWindow), m_context(context), m_params(params),
      m_shared(std::make_shared<GlShared>()) {
    m_shared->device = this;
}

GlDevice::~GlDevice() {
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    ReleaseBackBuffer();
    for (const auto& array : m_textureArrays) {
        glDeleteTextures(1, &array->name);
    }
    for (GLuint buffer : {m_vertexBuffer, m_indexBuffer, m_drawBuffer}) {
        if (buffer != 0) {
            glDeleteBuffers(1, &buffer);
        }
    }
    if (m_vao != 0) {
        glDeleteVertexArrays(1, &m_vao);
    }
    for (const auto& [key, program] : m_programs) {
        glDeleteProgram(program.name);
    }
    if (m_vertexShader != 0) {
        glDeleteShader(m_vertexShader);
    }
    // Resources still alive now leave their GL names to the context, which takes them along.
    m_shared->device = nullptr;
    SDL_GL_DeleteContext(m_context);
}

Result GlDevice::Create(Window* window, PresentParams& params, std::unique_ptr<Device>& out) {
    out.reset();
    auto* sdlWindow = dynamic_cast<SdlWindow*>(window);
    if (sdlWindow == nullptr || sdlWindow->Handle() == nullptr) {
        return kErrInvalidCall;
    }
    if (params.windowed && (params.backBufferWidth == 0 || params.backBufferHeight == 0)) {
        int width = 0;
        int height = 0;
        window->GetClientSize(width, height);
        params.backBufferWidth = static_cast<uint32_t>(std::max(width, 0));
        params.backBufferHeight = static_cast<uint32_t>(std::max(height, 0));
    }
    if (params.backBufferWidth == 0 || params.backBufferHeight == 0 ||
        params.backBufferWidth > kMaxBackBufferSide || params.backBufferHeight > kMaxBackBufferSide) {
        return kErrInvalidCall;
    }
    // Mesa's software rasteriser frees the memory of each frame's scene and takes it again for the next;
    // glibc would give it back to the kernel every time, to be faulted in again page by page.
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
    SDL_GLContext context = SDL_GL_CreateContext(sdlWindow->Handle());
    if (context == nullptr) {
        std::printf("SDL_GL_CreateContext failed: %s\n", SDL_GetError());
        return kErrNotAvailable;
    }
    if (epoxy_gl_version() < 33) {
        SDL_GL_DeleteContext(context);
        return kErrNotAvailable;
    }
    std::unique_ptr<GlDevice> device(new GlDevice(window, sdlWindow->Handle(), context, params));
    if (!device->Build()) {
        return kErrNotAvailable;
    }
    out = std::move(device);
    return kOk;
}

bool GlDevice::Build() {
    GLint blockSize = 0;
    glGetIntegerv(GL_MAX_UNIFORM_BLOCK_SIZE, &blockSize);
    m_maxBatchDraws =
        std::min<uint32_t>(kMaxBatchDraws, static_cast<uint32_t>(blockSize) / sizeof(DrawRecord));
    glGetIntegerv(GL_MAX_ARRAY_TEXTURE_LAYERS, &m_maxLayers);
    if (m_maxBatchDraws == 0 || m_maxLayers <= 0) {
        return false;
    }
    m_drawBlockBytes = m_maxBatchDraws * sizeof(DrawRecord);
    m_vertexShader = CompileShader(GL_VERTEX_SHADER, VertexShader(m_maxBatchDraws));
    if (m_vertexShader == 0) {
        return false;
    }
    glGenVertexArrays(1, &m_vao);
    glBindVertexArray(m_vao);
    glGenBuffers(1, &m_vertexBuffer);
    glGenBuffers(1, &m_indexBuffer);
    glGenBuffers(1, &m_drawBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    const auto at = [](uint32_t offset) {
        return reinterpret_cast<const void*>(static_cast<uintptr_t>(offset));
    };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kBatchVertexStride, at(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kBatchVertexStride, at(12));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, kBatchVertexStride, at(16));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 1, GL_UNSIGNED_INT, kBatchVertexStride, at(kQuadVertexStride));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, m_drawBuffer);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    // With the back buffer's top row first, as the window's is, Present copies it rather than drawing it
    // upside down. The origin's clip control keeps the winding and the rasteriser's rules as they were.
    m_topRowFirst = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    if (m_topRowFirst) {
        glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
    if (!BuildBackBuffer()) {
        return false;
    }
    ResetStates();
    m_windowDirty = true;
    // The defaults' program, made now so that a driver unable to make any is found at once.
    return UseProgram(DrawKey(), 0) != nullptr;
}

bool GlDevice::BuildBackBuffer() {
    ReleaseBackBuffer();
    glGenFramebuffers(1, &m_frameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_frameBuffer);
    // Laid out as the window is (blue, green, red, alpha in bytes), so that Present copies it rather than
    // drawing it: an unsized format with data of that order is what gets it.
    glGenTextures(1, &m_colourBuffer);
    glBindTexture(GL_TEXTURE_2D, m_colourBuffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(m_params.backBufferWidth),
                 static_cast<GLsizei>(m_params.backBufferHeight), 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_colourBuffer, 0);
    if (m_params.enableAutoDepthStencil) {
        glGenRenderbuffers(1, &m_depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
        const GLenum depthFormat =
            m_params.autoDepthStencilFormat == kFmtD16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH_COMPONENT24;
        glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, static_cast<GLsizei>(m_params.backBufferWidth),
                              static_cast<GLsizei>(m_params.backBufferHeight));
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depthBuffer);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return false;
    }
    // The window reports the cursor in the pixels of the back buffer as Present shows it there.
    if (auto* sdlWindow = dynamic_cast<SdlWindow*>(m_window)) {
        sdlWindow->SetBackBufferSize(static_cast<int>(m_params.backBufferWidth),
                                     static_cast<int>(m_params.backBufferHeight));
    }
    // Whatever no viewport covers starts black.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The game's back buffer has no alpha: it stays 1, for blending that reads it and for the window,
    // which Present gives it to.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    return true;
}

void GlDevice::ReleaseBackBuffer() {
    if (m_frameBuffer != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &m_frameBuffer);
    }
    if (m_colourBuffer != 0) {
        glDeleteTextures(1, &m_colourBuffer);
    }
    if (m_depthBuffer != 0) {
        glDeleteRenderbuffers(1, &m_depthBuffer);
    }
    m_frameBuffer = m_colourBuffer = m_depthBuffer = 0;
}

// Direct3D's defaults, which a reset also restores.
void GlDevice::ResetStates() {
    m_renderStates.fill(0);
    m_renderStates[kRsZEnable] = m_params.enableAutoDepthStencil ? 1 : 0;
    m_renderStates[kRsFillMode] = 3;
    m_renderStates[kRsShadeMode] = 2;
    m_renderStates[kRsZWriteEnable] = 1;
    m_renderStates[kRsAlphaTestEnable] = 0;
    m_renderStates[kRsSrcBlend] = kBlendOne;
    m_renderStates[kRsDestBlend] = kBlendZero;
    m_renderStates[kRsCullMode] = kCullCcw;
    m_renderStates[kRsZFunc] = kCmpLessEqual;
    m_renderStates[kRsAlphaRef] = 0;
    m_renderStates[kRsAlphaFunc] = kCmpAlways;
    m_renderStates[kRsAlphaBlendEnable] = 0;
    m_renderStates[kRsLighting] = 1;
    m_stageStates.fill(0);
    m_stageStates[kTssColorOp] = kTopModulate;
    m_stageStates[kTssColorArg1] = kTaTexture;
    m_stageStates[kTssColorArg2] = kTaCurrent;
    m_stageStates[kTssAlphaOp] = kTopSelectArg1;
    m_stageStates[kTssAlphaArg1] = kTaTexture;
    m_stageStates[kTssAlphaArg2] = kTaCurrent;
    m_stageStates[kTssTextureTransformFlags] = kTtffDisable;
    m_world = m_view = m_projection = m_texture0 = Matrix{};
    m_viewProjection = m_projection.m * m_view.m;
    m_texture = nullptr;
    m_stream = nullptr;
    m_streamOffset = m_streamStride = 0;
    m_indices = nullptr;
    m_fvf = 0;
    m_viewport = {0, 0, m_params.backBufferWidth, m_params.backBufferHeight, 0.0f, 1.0f};
    ApplyViewport();
}

void GlDevice::Forget(const void* resource) {
    if (m_texture == resource) {
        m_texture = nullptr;
    }
    if (m_stream == resource) {
        m_stream = nullptr;
    }
    if (m_indices == resource) {
        m_indices = nullptr;
    }
}

void GlDevice::ReleaseLayer(GlTextureArray* array, uint32_t layer) {
    // The layer may be taken again before the draws that show it are made.
    Flush();
    array->taken[layer] = false;
    if (--array->live > 0) {
        return;
    }
    glDeleteTextures(1, &array->name);
    std::erase_if(m_textureArrays, [array](const auto& owned) { return owned.get() == array; });
}

bool GlDevice::Grow(GlTextureArray& array) {
    const auto layers = static_cast<uint32_t>(array.taken.size());
    const uint32_t grown = std::min(std::max(2 * layers, 1u), static_cast<uint32_t>(m_maxLayers));
    std::vector<uint8_t> kept(static_cast<size_t>(array.width) * array.height * 4 * layers);
    if (layers > 0) {
        glBindTexture(GL_TEXTURE_2D_ARRAY, array.name);
        glGetTexImage(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA, GL_UNSIGNED_BYTE, kept.data());
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D_ARRAY, name);
    PointSampling(GL_TEXTURE_2D_ARRAY);
    const auto width = static_cast<GLsizei>(array.width);
    const auto height = static_cast<GLsizei>(array.height);
    glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA8, width, height, static_cast<GLsizei>(grown), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    if (layers > 0) {
        glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, 0, width, height, static_cast<GLsizei>(layers), GL_RGBA,
                        GL_UNSIGNED_BYTE, kept.data());
    }
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return false;
    }
    glDeleteTextures(1, &array.name);
    array.name = name;
    array.taken.resize(grown, false);
    return true;
}

bool GlDevice::TakeLayer(uint32_t width, uint32_t height, GlTextureArray*& array, uint32_t& layer) {
    array = nullptr;
    const bool alone = static_cast<uint64_t>(width) * height >= kOwnArrayPixels;
    for (const auto& candidate : m_textureArrays) {
        if (!alone && candidate->width == width && candidate->height == height &&
            candidate->live < static_cast<uint32_t>(m_maxLayers)) {
            array = candidate.get();
            break;
        }
    }
    if (array == nullptr) {
        m_textureArrays.push_back(std::make_unique<GlTextureArray>());
        array = m_textureArrays.back().get();
        array->width = width;
        array->height = height;
    }
    if (array->live == array->taken.size() && !Grow(*array)) {
        if (array->live == 0) {
            m_textureArrays.pop_back();
        }
        return false;
    }
    layer = static_cast<uint32_t>(std::find(array->taken.begin(), array->taken.end(), false) -
                                  array->taken.begin());
    array->taken[layer] = true;
    ++array->live;
    return true;
}

Result GlDevice::TestCooperativeLevel() {
    // A full-screen device is lost while its window is minimised, as on Windows.
    const bool minimised = (SDL_GetWindowFlags(m_sdlWindow) & SDL_WINDOW_MINIMIZED) != 0;
    if (!m_params.windowed && minimised) {
        m_lost = true;
        return kErrDeviceLost;
    }
    if (m_lost || m_needsReset) {
        return kErrDeviceNotReset;
    }
    return kOk;
}

Result GlDevice::Reset(PresentParams& params) {
    if (TestCooperativeLevel() == kErrDeviceLost) {
        return kErrDeviceLost;
    }
    if (m_shared->unresettable > 0 || params.backBufferWidth == 0 || params.backBufferHeight == 0 ||
        params.backBufferWidth > kMaxBackBufferSide || params.backBufferHeight > kMaxBackBufferSide) {
        m_needsReset = true;
        return kErrInvalidCall;
    }
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    Flush();
    const PresentParams previous = m_params;
    m_params = params;
    if (!BuildBackBuffer()) {
        m_params = previous;
        BuildBackBuffer();
        m_needsReset = true;
        return kErrNotAvailable;
    }
    ResetStates();
    m_inScene = false;
    m_lost = false;
    m_needsReset = false;
    // The window follows a reset at once, so that it is in place before the next frame runs.
    m_windowDirty = true;
    SyncWindow();
    return kOk;
}

Result GlDevice::BeginScene() {
    if (m_inScene) {
        return kErrInvalidCall;
    }
    m_inScene = true;
    return kOk;
}

Result GlDevice::EndScene() {
    if (!m_inScene) {
        return kErrInvalidCall;
    }
    m_inScene = false;
    return Flush();
}

// The window follows the presentation parameters. A new device leaves it until its first frame is
// shown, since the game resets it to the display's mode straight away: the device's first, transient
// size never reaches the screen.
void GlDevice::SyncWindow() {
    if (!m_windowDirty) {
        return;
    }
    m_windowDirty = false;
    const bool fullScreen = (SDL_GetWindowFlags(m_sdlWindow) & SDL_WINDOW_FULLSCREEN) != 0;
    if (m_params.windowed) {
        if (fullScreen) {
            SDL_SetWindowFullscreen(m_sdlWindow, 0);
        }
        if (auto* sdlWindow = dynamic_cast<SdlWindow*>(m_window)) {
            sdlWindow->ApplyBorder();
        }
    } else {
        SDL_DisplayMode mode{};
        mode.format = SDL_PIXELFORMAT_RGB888;
        mode.w = static_cast<int>(m_params.backBufferWidth);
        mode.h = static_cast<int>(m_params.backBufferHeight);
        mode.refresh_rate = static_cast<int>(m_params.fullScreenRefreshRateInHz);
        SDL_SetWindowDisplayMode(m_sdlWindow, &mode);
        // Without a window manager a full-screen switch leaves the X window as it was: place and size it
        // to the mode first, which a window manager then merely confirms.
        SDL_DisplayMode closest{};
        const int display = std::max(SDL_GetWindowDisplayIndex(m_sdlWindow), 0);
        if (SDL_GetClosestDisplayMode(display, &mode, &closest) == nullptr) {
            closest = mode;
        }
        if (!fullScreen) {
            SDL_SetWindowPosition(m_sdlWindow, 0, 0);
            SDL_SetWindowSize(m_sdlWindow, closest.w, closest.h);
            SDL_SetWindowFullscreen(m_sdlWindow, SDL_WINDOW_FULLSCREEN);
        }
    }
    const bool immediate = m_params.presentationInterval == kPresentIntervalImmediate;
    const bool vsync = !immediate && SDL_GL_SetSwapInterval(1) == 0 && SDL_GL_GetSwapInterval() == 1;
    if (immediate) {
        SDL_GL_SetSwapInterval(0);
    }
    m_sleepPacing = !immediate && !vsync;
    m_quickPresents = 0;
    uint32_t hz = m_params.windowed ? 0 : m_params.fullScreenRefreshRateInHz;
    if (hz == 0) {
        SDL_DisplayMode desktop{};
        const int display = std::max(SDL_GetWindowDisplayIndex(m_sdlWindow), 0);
        if (SDL_GetDesktopDisplayMode(display, &desktop) == 0 && desktop.refresh_rate > 0) {
            hz = static_cast<uint32_t>(desktop.refresh_rate);
        }
    }
    m_refreshPeriod = std::chrono::duration_cast<Steady::duration>(
        std::chrono::duration<double>(1.0 / (hz != 0 ? hz : 60)));
}

void GlDevice::Pace() {
    const auto now = Steady::now();
    if (m_params.presentationInterval == kPresentIntervalImmediate) {
        return;
    }
    if (!m_sleepPacing) {
        // A driver that takes the swap interval but does not wait gets the sleep as well.
        m_quickPresents = now - m_lastPresent < m_refreshPeriod / 2 ? m_quickPresents + 1 : 0;
        m_lastPresent = now;
        if (m_quickPresents >= kQuickPresentsBeforeSleeping) {
            m_sleepPacing = true;
            m_nextPresent = now + m_refreshPeriod;
        }
        return;
    }
    if (m_nextPresent > now) {
        std::this_thread::sleep_until(m_nextPresent);
    }
    // Keep the cadence, but do not try to catch up after a long frame.
    m_nextPresent = std::max(m_nextPresent + m_refreshPeriod, Steady::now());
}

Result GlDevice::Present() {
    if (m_lost) {
        return kErrDeviceLost;
    }
    Flush();
    SyncWindow();
    CopyToWindow();
    SDL_GL_SwapWindow(m_sdlWindow);
    glBindFramebuffer(GL_FRAMEBUFFER, m_frameBuffer);
    Pace();
    return kOk;
}

void GlDevice::CopyToWindow() {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(m_sdlWindow, &width, &height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_frameBuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    const auto bbWidth = static_cast<GLint>(m_params.backBufferWidth);
    const auto bbHeight = static_cast<GLint>(m_params.backBufferHeight);
    const ShownRect shown = FitInWindow(bbWidth, bbHeight, width, height);
    if (shown.width != width || shown.height != height) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    }
    const bool same = bbWidth == shown.width && bbHeight == shown.height;
    // From the top row first to the window's own order, bottom row first: a copy when the sizes agree.
    const GLint bottom = height - shown.y - shown.height;
    glBlitFramebuffer(0, m_topRowFirst ? bbHeight : 0, bbWidth, m_topRowFirst ? 0 : bbHeight, shown.x, bottom,
                      shown.x + shown.width, bottom + shown.height, GL_COLOR_BUFFER_BIT,
                      same ? GL_NEAREST : GL_LINEAR);
}

GLint GlDevice::GlRow(int32_t top, int32_t height) const {
    return m_topRowFirst ? top : static_cast<GLint>(m_params.backBufferHeight) - (top + height);
}

void GlDevice::ApplyViewport() {
    glViewport(static_cast<GLint>(m_viewport.x),
               GlRow(static_cast<int32_t>(m_viewport.y), static_cast<int32_t>(m_viewport.height)),
               static_cast<GLsizei>(m_viewport.width), static_cast<GLsizei>(m_viewport.height));
    glDepthRange(m_viewport.minZ, m_viewport.maxZ);
}

Result GlDevice::Clear(uint32_t flags, uint32_t colour, float z, uint32_t) {
    Flush();
    GLbitfield mask = 0;
    if ((flags & kClearTarget) != 0) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        glClearColor(static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                     static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(colour & 0xFF) / 255.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & kClearZBuffer) != 0) {
        if (!m_params.enableAutoDepthStencil || z < 0.0f || z > 1.0f) {
            return kErrInvalidCall;
        }
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    // Direct3D clears the viewport only.
    glEnable(GL_SCISSOR_TEST);
    glScissor(static_cast<GLint>(m_viewport.x),
              GlRow(static_cast<int32_t>(m_viewport.y), static_cast<int32_t>(m_viewport.height)),
              static_cast<GLsizei>(m_viewport.width), static_cast<GLsizei>(m_viewport.height));
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
    return kOk;
}

Result GlDevice::SetViewport(const Viewport& viewport) {
    if (viewport.x > m_params.backBufferWidth || viewport.width > m_params.backBufferWidth - viewport.x ||
        viewport.y > m_params.backBufferHeight || viewport.height > m_params.backBufferHeight - viewport.y ||
        viewport.minZ < 0.0f || viewport.maxZ > 1.0f || viewport.minZ > viewport.maxZ) {
        return kErrInvalidCall;
    }
    if (viewport == m_viewport) {
        return kOk;
    }
    Flush();
    m_viewport = viewport;
    ApplyViewport();
    return kOk;
}

Result GlDevice::GetViewport(Viewport& viewport) {
    viewport = m_viewport;
    return kOk;
}

Result GlDevice::SetTransform(TransformState state, const Matrix& matrix) {
    switch (state) {
    case kTsWorld:
        m_world = matrix;
        return kOk;
    case kTsView:
        m_view = matrix;
        m_viewProjection = m_projection.m * m_view.m;
        return kOk;
    case kTsProjection:
        m_projection = matrix;
        m_viewProjection = m_projection.m * m_view.m;
        return kOk;
    case kTsTexture0:
        m_texture0 = matrix;
        return kOk;
    default:
        return kErrInvalidCall;
    }
}

Result GlDevice::GetTransform(TransformState state, Matrix& matrix) {
    switch (state) {
    case kTsWorld:
        matrix = m_world;
        return kOk;
    case kTsView:
        matrix = m_view;
        return kOk;
    case kTsProjection:
        matrix = m_projection;
        return kOk;
    case kTsTexture0:
        matrix = m_texture0;
        return kOk;
    default:
        return kErrInvalidCall;
    }
}

Result GlDevice::SetRenderState(RenderState state, uint32_t value) {
    if (state >= kRenderStateCount) {
        return kErrInvalidCall;
    }
    if (m_renderStates[state] != value) {
        Flush();
        m_renderStates[state] = value;
    }
    return kOk;
}

Result GlDevice::SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
    // Only the first stage exists: the game never sets another.
    if (stage != 0 || state >= kTextureStageStateCount) {
        return kErrInvalidCall;
    }
    // Each draw keeps whether its texture coordinates are transformed.
    if (m_stageStates[state] != value && state != kTssTextureTransformFlags) {
        Flush();
    }
    m_stageStates[state] = value;
    return kOk;
}

Result GlDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage != 0) {
        return kErrInvalidCall;
    }
    m_texture = texture;
    return kOk;
}

Result GlDevice::SetFVF(uint32_t fvf) {
    m_fvf = fvf;
    return kOk;
}

Result GlDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    if (stream != 0) {
        return kErrInvalidCall;
    }
    m_stream = buffer;
    m_streamOffset = offset;
    m_streamStride = stride;
    return kOk;
}

Result GlDevice::SetIndices(IndexBuffer* buffer) {
    m_indices = buffer;
    return kOk;
}

FragmentKey GlDevice::DrawKey() const {
    const auto isTexture = [](uint32_t arg) { return (arg & 7) == kTaTexture; };
    FragmentKey key{};
    key.colourOp = KnownOp(m_stageStates[kTssColorOp]) ? m_stageStates[kTssColorOp] : kTopDisable;
    key.colourArg1Texture = isTexture(m_stageStates[kTssColorArg1]);
    key.colourArg2Texture = isTexture(m_stageStates[kTssColorArg2]);
    key.alphaOp = KnownOp(m_stageStates[kTssAlphaOp]) ? m_stageStates[kTssAlphaOp] : kTopDisable;
    key.alphaArg1Texture = isTexture(m_stageStates[kTssAlphaArg1]);
    key.alphaArg2Texture = isTexture(m_stageStates[kTssAlphaArg2]);
    const uint32_t func = m_renderStates[kRsAlphaFunc];
    key.alphaFunc =
        m_renderStates[kRsAlphaTestEnable] != 0 && func >= kCmpNever && func < kCmpAlways ? func : 0;
    return key;
}

const GlDevice::Program* GlDevice::UseProgram(FragmentKey key, uint32_t alphaRef) {
    // A draw whose operations never read the texture samples none.
    if (!UsesTexture(key.colourOp, key.colourArg1Texture, key.colourArg2Texture) &&
        !UsesTexture(key.alphaOp, key.alphaArg1Texture, key.alphaArg2Texture)) {
        key.textured = false;
    }
    if (!key.textured) {
        key.untextured = false;
    }
    auto found = m_programs.find(key.Pack());
    if (found == m_programs.end()) {
        Program program;
        const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, FragmentShader(key));
        if (fragment == 0) {
            return nullptr;
        }
        program.name = glCreateProgram();
        glAttachShader(program.name, m_vertexShader);
        glAttachShader(program.name, fragment);
        glLinkProgram(program.name);
        glDetachShader(program.name, m_vertexShader);
        glDeleteShader(fragment);
        GLint linked = GL_FALSE;
        glGetProgramiv(program.name, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            std::printf("Shader link failed\n");
            glDeleteProgram(program.name);
            return nullptr;
        }
        const GLuint block = glGetUniformBlockIndex(program.name, "Draws");
        glUniformBlockBinding(program.name, block, 0);
        // std140 fixes the records' layout, but a driver may ask for more room after them.
        GLint blockBytes = 0;
        glGetActiveUniformBlockiv(program.name, block, GL_UNIFORM_BLOCK_DATA_SIZE, &blockBytes);
        m_drawBlockBytes = std::max(m_drawBlockBytes, static_cast<size_t>(std::max(blockBytes, 0)));
        program.alphaRef = glGetUniformLocation(program.name, "uAlphaRef");
        glUseProgram(program.name);
        if (key.textured) {
            glUniform1i(glGetUniformLocation(program.name, "uTexture"), 0);
        }
        found = m_programs.emplace(key.Pack(), program).first;
    }
    Program& program = found->second;
    glUseProgram(program.name);
    if (program.alphaRef >= 0 && program.alphaRefValue != alphaRef) {
        glUniform1f(program.alphaRef, static_cast<float>(alphaRef));
        program.alphaRefValue = alphaRef;
    }
    return &program;
}

bool GlDevice::ApplyDrawState() {
    FragmentKey key = DrawKey();
    key.textured =
        std::any_of(m_batchRuns.begin(), m_batchRuns.end(), [](const Run& run) { return run.array != 0; });
    key.untextured = m_batchUntextured;
    if (UseProgram(key, m_renderStates[kRsAlphaRef] & 0xFF) == nullptr) {
        return false;
    }
    glBindVertexArray(m_vao);

    if (m_renderStates[kRsAlphaBlendEnable] != 0) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(m_renderStates[kRsSrcBlend]), BlendFactor(m_renderStates[kRsDestBlend]));
    } else {
        glDisable(GL_BLEND);
    }
    if (m_renderStates[kRsZEnable] != 0 && m_params.enableAutoDepthStencil) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GlCompareFunc(m_renderStates[kRsZFunc]));
        glDepthMask(m_renderStates[kRsZWriteEnable] != 0 ? GL_TRUE : GL_FALSE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    // Direct3D culls by the winding seen on screen; so does OpenGL with counter-clockwise fronts, as
    // long as nothing flips the picture.
    switch (m_renderStates[kRsCullMode]) {
    case kCullCw:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    case kCullCcw:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
    return true;
}

Result GlDevice::DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex, uint32_t, uint32_t,
                                      uint32_t startIndex, uint32_t primitiveCount) {
    auto* vertices = static_cast<GlVertexBuffer*>(m_stream);
    auto* indices = static_cast<GlIndexBuffer*>(m_indices);
    if (type != kPtTriangleList || m_fvf != kFvfQuadVertex || vertices == nullptr || indices == nullptr ||
        m_streamStride != kQuadVertexStride || primitiveCount == 0 || baseVertexIndex < 0) {
        return kErrInvalidCall;
    }
    const size_t indexCount = indices->bytes.size() / sizeof(uint16_t);
    const size_t count = static_cast<size_t>(primitiveCount) * 3;
    if (startIndex > indexCount || count > indexCount - startIndex ||
        m_streamOffset > vertices->bytes.size()) {
        return kErrInvalidCall;
    }
    // Every index must name a vertex of the stream: the driver would read outside the buffer.
    const size_t vertexCount = (vertices->bytes.size() - m_streamOffset) / kQuadVertexStride;
    const uint8_t* indexBytes = indices->bytes.data() + static_cast<size_t>(startIndex) * sizeof(uint16_t);
    uint16_t lowest = UINT16_MAX;
    uint16_t highest = 0;
    for (size_t i = 0; i < count; ++i) {
        uint16_t index = 0;
        std::memcpy(&index, indexBytes + i * sizeof(uint16_t), sizeof(index));
        if (static_cast<size_t>(baseVertexIndex) + index >= vertexCount) {
            return kErrInvalidCall;
        }
        lowest = std::min(lowest, index);
        highest = std::max(highest, index);
    }

    const uint32_t used = highest - lowest + 1u;
    const uint8_t* source = vertices->bytes.data() + m_streamOffset +
                            (static_cast<size_t>(baseVertexIndex) + lowest) * kQuadVertexStride;
    const glm::mat4 worldViewProj = m_viewProjection * m_world.m;
    auto* texture = static_cast<GlTexture*>(m_texture);
    if (OutsideClipVolume(worldViewProj, source, used, kQuadVertexStride) ||
        ChangesNothing(texture, source, used)) {
        return kOk;
    }

    // Draws join the batch unless it is full; the render and stage states, the viewport and the back
    // buffer flushed it when they changed.
    Result result = kOk;
    if (m_batchDraws.size() == m_maxBatchDraws) {
        result = Flush();
    }
    const GLuint arrayName = texture != nullptr ? texture->array->name : 0;
    const auto firstIndex = static_cast<uint32_t>(m_batchIndices.size());
    if (m_batchRuns.empty()) {
        m_batchRuns.push_back({firstIndex, arrayName});
    } else if (arrayName != 0 && m_batchRuns.back().array == 0) {
        m_batchRuns.back().array = arrayName;
    } else if (arrayName != 0 && m_batchRuns.back().array != arrayName) {
        m_batchRuns.push_back({firstIndex, arrayName});
    }
    m_batchUntextured = m_batchUntextured || arrayName == 0;
    const auto draw = static_cast<uint32_t>(m_batchDraws.size());
    m_batchDraws.push_back({worldViewProj, m_texture0.m,
                            texture != nullptr ? static_cast<int32_t>(texture->layer) : 0,
                            m_stageStates[kTssTextureTransformFlags] == kTtffDisable ? 0 : 1,
                            texture != nullptr ? 1 : 0, 0});

    const auto first = static_cast<uint32_t>(m_batchVertices.size() / kBatchVertexStride);
    m_batchVertices.resize(m_batchVertices.size() + static_cast<size_t>(used) * kBatchVertexStride);
    uint8_t* target = m_batchVertices.data() + static_cast<size_t>(first) * kBatchVertexStride;
    for (uint32_t v = 0; v < used; ++v) {
        std::memcpy(target, source, kQuadVertexStride);
        std::memcpy(target + kQuadVertexStride, &draw, sizeof(draw));
        source += kQuadVertexStride;
        target += kBatchVertexStride;
    }
    for (size_t i = 0; i < count; ++i) {
        uint16_t index = 0;
        std::memcpy(&index, indexBytes + i * sizeof(uint16_t), sizeof(index));
        m_batchIndices.push_back(first + index - lowest);
    }
    return result;
}

bool GlDevice::ChangesNothing(const GlTexture* texture, const uint8_t* vertices, uint32_t count) const {
    const bool alphaTest = m_renderStates[kRsAlphaTestEnable] != 0;
    const uint32_t func = m_renderStates[kRsAlphaFunc];
    const bool writesDepth = m_renderStates[kRsZEnable] != 0 && m_renderStates[kRsZWriteEnable] != 0 &&
                             m_params.enableAutoDepthStencil;
    const bool keepsBehindAtZero = m_renderStates[kRsAlphaBlendEnable] != 0 &&
                                   m_renderStates[kRsSrcBlend] == kBlendSrcAlpha &&
                                   m_renderStates[kRsDestBlend] == kBlendInvSrcAlpha && !writesDepth;
    // Only an upper bound of the alpha is known: the tests that refuse what is too small.
    const bool testCanRefuse = alphaTest && (func == kCmpNever || func == kCmpEqual || func == kCmpGreater ||
                                             func == kCmpGreaterEqual);
    if (!testCanRefuse && !keepsBehindAtZero) {
        return false;
    }
    if (alphaTest && func == kCmpNever) {
        return true;
    }
    // The range of the vertices' alpha and of the texture coordinates the shader samples.
    float vertexLow = 1.0f;
    float vertexHigh = 0.0f;
    glm::vec2 low(INFINITY);
    glm::vec2 high(-INFINITY);
    const bool transformed = m_stageStates[kTssTextureTransformFlags] != kTtffDisable;
    for (uint32_t i = 0; i < count; ++i, vertices += kQuadVertexStride) {
        uint32_t colour = 0;
        float uvw[3];
        std::memcpy(&colour, vertices + 12, sizeof(colour));
        std::memcpy(uvw, vertices + 16, sizeof(uvw));
        const float alpha = static_cast<float>(colour >> 24) / 255.0f;
        vertexLow = std::min(vertexLow, alpha);
        vertexHigh = std::max(vertexHigh, alpha);
        glm::vec2 at(uvw[0], uvw[1]);
        if (transformed) {
            at = glm::vec2(m_texture0.m * glm::vec4(uvw[0], uvw[1], uvw[2], 1.0f));
        }
        low = glm::min(low, at);
        high = glm::max(high, at);
    }
    // The largest alpha the stage can give, from the largest (and, subtracted, the smallest) arguments.
    const float texel =
        texture != nullptr ? static_cast<float>(texture->alpha.Largest(low.x, high.x, low.y, high.y)) / 255.0f
                           : 1.0f;
    const auto highest = [&](uint32_t arg) { return (arg & 7) == kTaTexture ? texel : vertexHigh; };
    const auto lowest = [&](uint32_t arg) { return (arg & 7) == kTaTexture ? 0.0f : vertexLow; };
    const uint32_t arg1 = m_stageStates[kTssAlphaArg1];
    const uint32_t arg2 = m_stageStates[kTssAlphaArg2];
    float alpha = vertexHigh;
    switch (m_stageStates[kTssAlphaOp]) {
    case kTopSelectArg1:
        alpha = highest(arg1);
        break;
    case kTopSelectArg2:
        alpha = highest(arg2);
        break;
    case kTopModulate:
        alpha = highest(arg1) * highest(arg2);
        break;
    case kTopModulate2x:
        alpha = std::min(highest(arg1) * highest(arg2) * 2.0f, 1.0f);
        break;
    case kTopModulate4x:
        alpha = std::min(highest(arg1) * highest(arg2) * 4.0f, 1.0f);
        break;
    case kTopAdd:
        alpha = std::min(highest(arg1) + highest(arg2), 1.0f);
        break;
    case kTopSubtract:
        alpha = std::max(highest(arg1) - lowest(arg2), 0.0f);
        break;
    default:
        break;
    }
    // As the shader rounds it, with room for its own rounding.
    const float level = std::floor(alpha * 255.0f + 0.5f + 1e-3f);
    const auto ref = static_cast<float>(m_renderStates[kRsAlphaRef] & 0xFF);
    if (testCanRefuse) {
        if (func == kCmpGreater ? level <= ref : level < ref) {
            return true;
        }
    }
    return keepsBehindAtZero && alpha == 0.0f;
}

Result GlDevice::Flush() {
    if (m_batchDraws.empty()) {
        return kOk;
    }
    Refill(GL_ARRAY_BUFFER, m_vertexBuffer, m_batchVertices.size(), m_batchVertices.data());
    const bool applied = ApplyDrawState();
    UploadDraws(m_batchDraws.data(), m_batchDraws.size());
    Refill(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer, m_batchIndices.size() * sizeof(uint32_t),
           m_batchIndices.data());
    for (size_t i = 0; applied && i < m_batchRuns.size(); ++i) {
        const uint32_t first = m_batchRuns[i].firstIndex;
        const auto end = i + 1 < m_batchRuns.size() ? m_batchRuns[i + 1].firstIndex
                                                    : static_cast<uint32_t>(m_batchIndices.size());
        glBindTexture(GL_TEXTURE_2D_ARRAY, m_batchRuns[i].array);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(end - first), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(static_cast<uintptr_t>(first) * sizeof(uint32_t)));
    }
    m_batchVertices.clear();
    m_batchIndices.clear();
    m_batchDraws.clear();
    m_batchRuns.clear();
    m_batchUntextured = false;
    return applied && glGetError() == GL_NO_ERROR ? kOk : kErrDriverInternalError;
}

void GlDevice::UploadDraws(const DrawRecord* records, size_t count) {
    glBindBuffer(GL_UNIFORM_BUFFER, m_drawBuffer);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(m_drawBlockBytes), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(DrawRecord)), records);
}

void GlDevice::DrawOverlay(GLuint texture, float left, float top, float right, float bottom, uint32_t colour,
                           const Rect* clip) {
    Flush();
    const float width = static_cast<float>(m_params.backBufferWidth);
    const float height = static_cast<float>(m_params.backBufferHeight);
    const auto x = [width](float px) { return 2.0f * px / width - 1.0f; };
    const auto y = [height](float py) { return 1.0f - 2.0f * py / height; };
    // The batch's vertex layout; all four are the first draw's.
    struct Vertex {
        float x, y, z;
        uint32_t colour;
        float u, v, w;
        uint32_t draw;
    };
    static_assert(sizeof(Vertex) == kBatchVertexStride);
    const Vertex quad[4] = {{x(left), y(top), 0.5f, colour, 0.0f, 0.0f, 0.0f, 0},
                            {x(left), y(bottom), 0.5f, colour, 0.0f, 1.0f, 0.0f, 0},
                            {x(right), y(bottom), 0.5f, colour, 1.0f, 1.0f, 0.0f, 0},
                            {x(right), y(top), 0.5f, colour, 1.0f, 0.0f, 0.0f, 0}};
    Refill(GL_ARRAY_BUFFER, m_vertexBuffer, sizeof(quad), quad);

    FragmentKey key{};
    key.colourOp = key.alphaOp = kTopModulate;
    key.colourArg1Texture = key.alphaArg1Texture = true;
    key.textured = true;
    if (UseProgram(key, 0) == nullptr) {
        return;
    }
    const DrawRecord record{glm::mat4(1.0f), glm::mat4(1.0f), 0, 0, 1, 0};
    UploadDraws(&record, 1);
    glBindVertexArray(m_vao);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);

    // Clipped to the viewport and the rectangle, in back-buffer pixels.
    int32_t clipLeft = static_cast<int32_t>(m_viewport.x);
    int32_t clipTop = static_cast<int32_t>(m_viewport.y);
    int32_t clipRight = clipLeft + static_cast<int32_t>(m_viewport.width);
    int32_t clipBottom = clipTop + static_cast<int32_t>(m_viewport.height);
    if (clip != nullptr) {
        clipLeft = std::max(clipLeft, clip->left);
        clipTop = std::max(clipTop, clip->top);
        clipRight = std::min(clipRight, clip->right);
        clipBottom = std::min(clipBottom, clip->bottom);
    }
    if (clipRight > clipLeft && clipBottom > clipTop) {
        glViewport(0, 0, static_cast<GLsizei>(m_params.backBufferWidth),
                   static_cast<GLsizei>(m_params.backBufferHeight));
        glDepthRange(0.0, 1.0);
        glEnable(GL_SCISSOR_TEST);
        glScissor(clipLeft, GlRow(clipTop, clipBottom - clipTop), clipRight - clipLeft, clipBottom - clipTop);
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        glDisable(GL_SCISSOR_TEST);
        ApplyViewport();
    }
}

Result GlDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, Pool pool,
                                    std::unique_ptr<VertexBuffer>& out) {
    out.reset();
    if (length == 0) {
        return kErrInvalidCall;
    }
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    out = std::make_unique<GlVertexBuffer>(m_shared, length, pool);
    return kOk;
}

Result GlDevice::CreateIndexBuffer(uint32_t length, uint32_t, Format format, Pool pool,
                                   std::unique_ptr<IndexBuffer>& out) {
    out.reset();
    if (length == 0 || format != kFmtIndex16) {
        return kErrInvalidCall;
    }
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    out = std::make_unique<GlIndexBuffer>(m_shared, length, pool);
    return kOk;
}

Result GlDevice::CreateTextureFromFile(const std::string& file, std::unique_ptr<Texture>& out) {
    out.reset();
    Image image;
    if (!LoadImage(file, image)) {
        return kErrInvalidData;
    }
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    // Growing an array replaces its texture under the draws gathered so far.
    Flush();
    GlTextureArray* array = nullptr;
    uint32_t layer = 0;
    if (!TakeLayer(image.width, image.height, array, layer)) {
        return kErrOutOfMemory;
    }
    glBindTexture(GL_TEXTURE_2D_ARRAY, array->name);
    glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, static_cast<GLint>(layer),
                    static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height), 1, GL_RGBA,
                    GL_UNSIGNED_BYTE, image.rgba.data());
    glBindTexture(GL_TEXTURE_2D_ARRAY, 0);
    if (glGetError() != GL_NO_ERROR) {
        ReleaseLayer(array, layer);
        return kErrOutOfMemory;
    }
    out = std::make_unique<GlTexture>(m_shared, array, layer,
                                      AlphaMap(image.rgba.data(), image.width, image.height));
    return kOk;
}

Result GlDevice::CreateFont(const FontDesc& desc, std::unique_ptr<Font>& out) {
    out.reset();
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    return GlFont::Create(m_shared, desc, out);
}

std::vector<uint32_t> GlDevice::ReadBackBuffer() {
    Flush();
    const uint32_t width = m_params.backBufferWidth;
    const uint32_t height = m_params.backBufferHeight;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_frameBuffer);
    return ReadPixels(width, height, m_topRowFirst);
}

std::vector<uint32_t> GlDevice::ReadWindow() {
    Flush();
    CopyToWindow();
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(m_sdlWindow, &width, &height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    std::vector<uint32_t> pixels = ReadPixels(static_cast<uint32_t>(std::max(width, 0)),
                                              static_cast<uint32_t>(std::max(height, 0)), false);
    glBindFramebuffer(GL_FRAMEBUFFER, m_frameBuffer);
    return pixels;
}

std::vector<GLuint> GlDevice::Programs() const {
    std::vector<GLuint> names;
    for (const auto& [key, program] : m_programs) {
        names.push_back(program.name);
    }
    return names;
}

// Bytes blue, green, red, alpha are 0xAARRGGBB on this little-endian machine.
std::vector<uint32_t> GlDevice::ReadPixels(uint32_t width, uint32_t height, bool topRowFirst) {
    std::vector<uint32_t> read(static_cast<size_t>(width) * height);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_BGRA, GL_UNSIGNED_BYTE,
                 read.data());
    if (topRowFirst) {
        return read;
    }
    std::vector<uint32_t> pixels(read.size());
    for (uint32_t row = 0; row < height; ++row) {
        std::copy_n(read.begin() + static_cast<ptrdiff_t>(height - 1 - row) * width, width,
                    pixels.begin() + static_cast<ptrdiff_t>(row) * width);
    }
    return pixels;
}

Result GlDirect3D::GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) {
    SDL_DisplayMode desktop{};
    if (adapter != kAdapterDefault || SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return kErrNotAvailable;
    }
    mode = {static_cast<uint32_t>(desktop.w), static_cast<uint32_t>(desktop.h),
            static_cast<uint32_t>(desktop.refresh_rate), kFmtX8R8G8B8};
    return kOk;
}

Result GlDirect3D::CheckDeviceType(uint32_t adapter, DeviceType type, Format displayFormat,
                                   Format backBufferFormat, bool) {
    if (adapter != kAdapterDefault || type != kDevTypeHal || displayFormat != kFmtX8R8G8B8 ||
        (backBufferFormat != kFmtX8R8G8B8 && backBufferFormat != kFmtA8R8G8B8)) {
        return kErrNotAvailable;
    }
    return kOk;
}

namespace {

// The display's modes with pixels, as Direct3D would list X8R8G8B8 modes.
std::vector<DisplayMode> ListModes() {
    std::vector<DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            modes.push_back({static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h),
                             static_cast<uint32_t>(mode.refresh_rate), kFmtX8R8G8B8});
        }
    }
    return modes;
}

} // namespace

uint32_t GlDirect3D::GetAdapterModeCount(uint32_t adapter, Format format) {
    if (adapter != kAdapterDefault || format != kFmtX8R8G8B8) {
        return 0;
    }
    return static_cast<uint32_t>(ListModes().size());
}

Result GlDirect3D::EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode, DisplayMode& out) {
    const std::vector<DisplayMode> modes = ListModes();
    if (adapter != kAdapterDefault || format != kFmtX8R8G8B8 || mode >= modes.size()) {
        return kErrInvalidCall;
    }
    out = modes[mode];
    return kOk;
}

Result GlDirect3D::CreateDevice(uint32_t adapter, DeviceType type, Window* focusWindow, uint32_t,
                                PresentParams& params, std::unique_ptr<Device>& out) {
    out.reset();
    if (adapter != kAdapterDefault || type != kDevTypeHal) {
        return kErrInvalidCall;
    }
    return GlDevice::Create(focusWindow, params, out);
}

} // namespace plat

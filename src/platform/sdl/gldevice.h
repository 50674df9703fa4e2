// The drawing device on OpenGL 3.3 core: the fixed-function states the game uses, drawn by one small
// shader into an offscreen back buffer of the presented size, which Present copies to the window.
// Draws are gathered and given to OpenGL together while nothing that changes their look intervenes:
// a software rasteriser's cost is per draw and per change of texture, not per triangle.
#pragma once

#include "platform/gfx.h"
#include "platform/sdl/glshaders.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

class GlDevice;

// Shared by the device and its resources: a resource outliving the device (and its GL context) sees a
// null device and leaves its GL names alone.
struct GlShared {
    GlDevice* device = nullptr;
    // Default-pool buffers and fonts not told OnLostDevice: a reset fails while any is alive.
    int unresettable = 0;
};

// A vertex or an index buffer: both keep their bytes in memory, from where each draw copies what it
// uses into the device's batch.
template <typename Interface> class GlBuffer : public Interface {
  public:
    GlBuffer(std::shared_ptr<GlShared> shared, uint32_t length, Pool pool);
    ~GlBuffer() override;
    Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override;
    Result Unlock() override;

    std::vector<uint8_t> bytes;

  private:
    std::shared_ptr<GlShared> m_shared;
    Pool m_pool;
    bool m_locked = false;
};

extern template class GlBuffer<VertexBuffer>;
extern template class GlBuffer<IndexBuffer>;
using GlVertexBuffer = GlBuffer<VertexBuffer>;
using GlIndexBuffer = GlBuffer<IndexBuffer>;

// Textures of one size share the layers of one array texture, so that draws showing different ones
// of them still go to OpenGL together. Owned by the device.
struct GlTextureArray {
    GLuint name = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<bool> taken; // one a layer
    uint32_t live = 0;
};

// The largest alpha of a picture's texels, whole and by square blocks: what tells a draw that cannot
// change a pixel.
struct AlphaMap {
    static constexpr uint32_t kBlock = 4;
    // From RGBA rows, top first.
    AlphaMap(const uint8_t* rgba, uint32_t width, uint32_t height);
    // The largest alpha of the texels point sampling can reach from texture coordinates in the given
    // ranges; beyond 0..1 addressing wraps, and the whole picture counts.
    uint8_t Largest(float uMin, float uMax, float vMin, float vMax) const;

    uint32_t width;
    uint32_t height;
    uint32_t blocksWide;
    uint8_t largest = 0;
    std::vector<uint8_t> blocks; // rows of blocks, top first
};

class GlTexture : public Texture {
  public:
    GlTexture(std::shared_ptr<GlShared> shared, GlTextureArray* array, uint32_t layer, AlphaMap alpha);
    ~GlTexture() override;
    uint32_t Width() const override { return array->width; }
    uint32_t Height() const override { return array->height; }

    // Where the picture lies; the array is the device's, valid while the device is.
    GlTextureArray* array;
    uint32_t layer;
    AlphaMap alpha;

  private:
    std::shared_ptr<GlShared> m_shared;
};

// Whether all of a draw's vertices lie beyond one side of Direct3D's clip volume (-w <= x, y <= w,
// 0 <= z <= w), so that none of its triangles can show: such draws are left out. A vertex on a side, or
// within rounding of it, counts as inside. Positions are the first three floats of each vertex.
bool OutsideClipVolume(const glm::mat4& worldViewProj, const uint8_t* vertices, uint32_t count,
                       uint32_t stride);

class GlDevice : public Device {
  public:
    // Creates the GL context on the window; null and an error when that is impossible.
    static Result Create(Window* window, PresentParams& params, std::unique_ptr<Device>& out);
    ~GlDevice() override;

    Result TestCooperativeLevel() override;
    Result Reset(PresentParams& params) override;
    Result BeginScene() override;
    Result EndScene() override;
    Result Present() override;
    Result Clear(uint32_t flags, uint32_t colour, float z, uint32_t stencil) override;
    Result SetViewport(const Viewport& viewport) override;
    Result GetViewport(Viewport& viewport) override;
    Result SetTransform(TransformState state, const Matrix& matrix) override;
    Result GetTransform(TransformState state, Matrix& matrix) override;
    Result SetRenderState(RenderState state, uint32_t value) override;
    Result SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) override;
    Result SetTexture(uint32_t stage, Texture* texture) override;
    Result SetFVF(uint32_t fvf) override;
    Result SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
    Result SetIndices(IndexBuffer* buffer) override;
    Result DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) override;
    Result CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                              std::unique_ptr<VertexBuffer>& out) override;
    Result CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, Pool pool,
                             std::unique_ptr<IndexBuffer>& out) override;
    Result CreateTextureFromFile(const std::string& file, std::unique_ptr<Texture>& out) override;
    Result CreateFont(const FontDesc& desc, std::unique_ptr<Font>& out) override;

    // Called by resources as they go.
    void Forget(const void* resource);
    void ReleaseLayer(GlTextureArray* array, uint32_t layer);
    // Draws a one-layer RGBA array texture over the given back-buffer pixels, tinted by an ARGB colour and
    // clipped to the current viewport and the clip rectangle, leaving the game's states as they were.
    void DrawOverlay(GLuint texture, float left, float top, float right, float bottom, uint32_t colour,
                     const Rect* clip);

    // The back buffer, top row first, as 0xAARRGGBB. For tests.
    std::vector<uint32_t> ReadBackBuffer();
    // The window's drawable as Present would show it, top row first, as 0xAARRGGBB. For tests.
    std::vector<uint32_t> ReadWindow();
    const PresentParams& Params() const { return m_params; }
    // The programs made so far. For tests.
    std::vector<GLuint> Programs() const;
    // Whether Present waits by sleeping because the driver gives no vertical sync.
    bool PacesBySleeping() const { return m_sleepPacing; }

  private:
    GlDevice(Window* window, SDL_Window* sdlWindow, SDL_GLContext context, const PresentParams& params);
    bool Build();
    bool BuildBackBuffer();
    void ReleaseBackBuffer();
    void ResetStates();
    // The OpenGL row of the lowest-addressed row of a band of back-buffer rows given from the top.
    GLint GlRow(int32_t top, int32_t height) const;
    void ApplyViewport();
    // Whether a draw of these vertices with the current states leaves every pixel as it was: the alpha
    // test refuses all its fragments, or blending keeps all of what is behind and no depth is written.
    bool ChangesNothing(const GlTexture* texture, const uint8_t* vertices, uint32_t count) const;
    // False when the batch's program cannot be made.
    bool ApplyDrawState();
    // Draws what has been gathered. Whatever changes how the next draw looks calls it first.
    Result Flush();
    // A free layer for a picture of this size, growing or adding an array; false if OpenGL cannot.
    bool TakeLayer(uint32_t width, uint32_t height, GlTextureArray*& array, uint32_t& layer);
    bool Grow(GlTextureArray& array);
    void SyncWindow();
    // The back buffer into the window's drawable, its shape kept between black bars.
    void CopyToWindow();
    // Pixels of the bound read framebuffer, top row first.
    static std::vector<uint32_t> ReadPixels(uint32_t width, uint32_t height, bool topRowFirst);
    void Pace();

    Window* m_window;
    SDL_Window* m_sdlWindow;
    SDL_GLContext m_context;
    PresentParams m_params;
    std::shared_ptr<GlShared> m_shared;

    // What a draw in a batch keeps of its own, as the shader's uniform block lays it out.
    struct DrawRecord {
        glm::mat4 worldViewProj;
        glm::mat4 texMatrix;
        int32_t layer;
        int32_t texTransform;
        int32_t hasTexture;
        int32_t unused;
    };
    static_assert(sizeof(DrawRecord) == 144, "std140 lays a Draw out in 144 bytes");
    // A vertex of the game's layout followed by the number of its draw in the batch.
    static constexpr uint32_t kBatchVertexStride = kQuadVertexStride + 4;

    // A program of the one vertex shader and a fragment shader made for one set of states.
    struct Program {
        GLuint name = 0;
        GLint alphaRef = -1;
        uint32_t alphaRefValue = UINT32_MAX;
    };
    // The key of the current stage and alpha-test states, for a batch sampling no texture.
    FragmentKey DrawKey() const;
    // Makes the key's program current, made on its first use; null if OpenGL cannot make it.
    const Program* UseProgram(FragmentKey key, uint32_t alphaRef);
    // Fresh storage for the whole block, the records at its start: OpenGL leaves drawing undefined while
    // an active block is not backed in full, and the rasteriser may still hold the old storage. Called
    // once the program is current, since making one may ask for more room.
    void UploadDraws(const DrawRecord* records, size_t count);

    GLuint m_vertexShader = 0;
    std::unordered_map<uint32_t, Program> m_programs;
    GLuint m_vao = 0;
    GLuint m_vertexBuffer = 0;
    GLuint m_indexBuffer = 0;
    GLuint m_drawBuffer = 0;
    // What the largest uniform block of the programs made so far takes.
    size_t m_drawBlockBytes = 0;
    GLuint m_frameBuffer = 0;
    GLuint m_colourBuffer = 0;
    GLuint m_depthBuffer = 0;

    std::array<uint32_t, kRenderStateCount> m_renderStates{};
    std::array<uint32_t, kTextureStageStateCount> m_stageStates{};
    Matrix m_world;
    Matrix m_view;
    Matrix m_projection;
    glm::mat4 m_viewProjection{1.0f};
    Matrix m_texture0;
    Viewport m_viewport;
    Texture* m_texture = nullptr;
    VertexBuffer* m_stream = nullptr;
    uint32_t m_streamOffset = 0;
    uint32_t m_streamStride = 0;
    IndexBuffer* m_indices = nullptr;
    uint32_t m_fvf = 0;
    bool m_inScene = false;
    // Whether the back buffer's first row is its top, as the window's is.
    bool m_topRowFirst = false;

    std::vector<uint8_t> m_batchVertices;
    std::vector<uint32_t> m_batchIndices;
    std::vector<DrawRecord> m_batchDraws;
    // Consecutive draws of the batch that sample one array texture, drawn by one call with it bound: a
    // shader that picked among several arrays per draw would branch, or index a sampler array by a value
    // that differs within the call, which only some drivers take. Draws without a texture join the run
    // they fall in; a run of none but those has no array.
    struct Run {
        uint32_t firstIndex;
        GLuint array;
    };
    std::vector<Run> m_batchRuns;
    // Whether some draw of the batch has no texture.
    bool m_batchUntextured = false;
    uint32_t m_maxBatchDraws = 0;
    GLint m_maxLayers = 0;
    std::vector<std::unique_ptr<GlTextureArray>> m_textureArrays;
    // Lost while minimised in full screen, then waiting for a reset; also after a failed reset.
    bool m_lost = false;
    bool m_needsReset = false;
    bool m_windowDirty = true;

    bool m_sleepPacing = false;
    int m_quickPresents = 0;
    std::chrono::steady_clock::duration m_refreshPeriod{};
    std::chrono::steady_clock::time_point m_lastPresent{};
    std::chrono::steady_clock::time_point m_nextPresent{};
};

// The Direct3D object: the SDL display's modes and devices on the game's window.
class GlDirect3D : public Direct3D {
  public:
    Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) override;
    Result CheckDeviceType(uint32_t adapter, DeviceType type, Format displayFormat, Format backBufferFormat,
                           bool windowed) override;
    uint32_t GetAdapterModeCount(uint32_t adapter, Format format) override;
    Result EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode, DisplayMode& out) override;
    Result CreateDevice(uint32_t adapter, DeviceType type, Window* focusWindow, uint32_t behaviourFlags,
                        PresentParams& params, std::unique_ptr<Device>& out) override;
};

} // namespace plat

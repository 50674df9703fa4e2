// Null drawing services: nothing is drawn; the device records what it is asked so that tests can look,
// and each failure the game must survive can be switched on.
#pragma once

#include "platform/gfx.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace plat {

class NullDevice;

// Kept alive by the device and by every resource, so a resource never reads a destroyed device.
struct NullDeviceLedger {
    NullDevice* device = nullptr;
    int vertexBuffers = 0;
    int indexBuffers = 0;
    int textures = 0;
    int fonts = 0;
    // Default-pool buffers and fonts not told OnLostDevice: a reset fails while any is alive.
    int unresettable = 0;
};

struct NullClear {
    Viewport viewport;
    uint32_t flags = 0;
    uint32_t colour = 0;
    float z = 0.0f;
    uint32_t stencil = 0;
};

struct NullDraw {
    Texture* texture = nullptr;
    VertexBuffer* vertices = nullptr;
    IndexBuffer* indices = nullptr;
    uint32_t stride = 0;
    uint32_t fvf = 0;
    PrimitiveType type = kPtTriangleList;
    int32_t baseVertexIndex = 0;
    uint32_t minIndex = 0;
    uint32_t numVertices = 0;
    uint32_t startIndex = 0;
    uint32_t primitiveCount = 0;
};

struct NullText {
    std::string face;
    std::string text;
    Rect rect;
    uint32_t format = 0;
    uint32_t colour = 0;
};

class NullVertexBuffer : public VertexBuffer {
  public:
    NullVertexBuffer(std::shared_ptr<NullDeviceLedger> ledger, uint32_t length, Pool pool);
    ~NullVertexBuffer() override;
    Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override;
    Result Unlock() override;

    std::vector<uint8_t> bytes;
    Pool pool;
    bool locked = false;

  private:
    std::shared_ptr<NullDeviceLedger> m_ledger;
};

class NullIndexBuffer : public IndexBuffer {
  public:
    NullIndexBuffer(std::shared_ptr<NullDeviceLedger> ledger, uint32_t length, Pool pool);
    ~NullIndexBuffer() override;
    Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override;
    Result Unlock() override;

    std::vector<uint8_t> bytes;
    Pool pool;
    bool locked = false;

  private:
    std::shared_ptr<NullDeviceLedger> m_ledger;
};

class NullTexture : public Texture {
  public:
    NullTexture(std::shared_ptr<NullDeviceLedger> ledger, std::string file);
    ~NullTexture() override;
    uint32_t Width() const override { return 64; }
    uint32_t Height() const override { return 64; }

    std::string file;

  private:
    std::shared_ptr<NullDeviceLedger> m_ledger;
};

// Every character is half the cell height wide (or the given width).
class NullFont : public Font {
  public:
    NullFont(std::shared_ptr<NullDeviceLedger> ledger, FontDesc desc);
    ~NullFont() override;
    int32_t DrawTextA(const std::string& text, int32_t count, Rect& rect, uint32_t format,
                      uint32_t colour) override;
    Result OnLostDevice() override;
    Result OnResetDevice() override;

    FontDesc desc;
    bool lost = false;

  private:
    std::shared_ptr<NullDeviceLedger> m_ledger;
};

class NullDevice : public Device {
  public:
    explicit NullDevice(const PresentParams& params);
    ~NullDevice() override;

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
    void RecordText(const NullText& text) { texts.push_back(text); }

    const NullDeviceLedger& Ledger() const { return *m_ledger; }
    // The value last set, or none when never set since creation or the last reset.
    bool HasRenderState(RenderState state) const { return renderStates.count(state) != 0; }
    uint32_t StageState(uint32_t stage, TextureStageState state) const;

    // Failures to act out.
    Result cooperativeLevel = kOk;
    Result resetResult = kOk;
    bool failBufferCreation = false;
    bool failLocks = false;
    bool failDraws = false;
    std::set<std::string> missingFiles;
    std::set<std::string> missingFaces;

    // What it was asked, in order.
    std::vector<std::string> calls;
    std::vector<NullClear> clears;
    std::vector<NullDraw> draws;
    std::vector<NullText> texts;
    std::vector<std::string> texturesCreated;
    std::vector<FontDesc> fontsCreated;
    std::map<uint32_t, uint32_t> renderStates;
    std::map<uint32_t, uint32_t> stageStates; // stage * 256 + state
    std::map<uint32_t, Matrix> transforms;
    PresentParams params;
    Viewport viewport;
    Texture* texture = nullptr;
    VertexBuffer* stream = nullptr;
    uint32_t streamStride = 0;
    IndexBuffer* indices = nullptr;
    uint32_t fvf = 0;
    bool inScene = false;
    int presents = 0;
    int resets = 0;

  private:
    std::shared_ptr<NullDeviceLedger> m_ledger;
};

// The adapter and what creating a device on it does.
struct NullAdapter {
    DisplayMode desktop{1024, 768, 60, kFmtX8R8G8B8};
    std::vector<DisplayMode> modes{{800, 600, 60, kFmtX8R8G8B8},
                                   {1024, 768, 60, kFmtX8R8G8B8},
                                   {1280, 1024, 60, kFmtX8R8G8B8},
                                   {1440, 900, 60, kFmtX8R8G8B8}};
    Result displayModeResult = kOk;
    Result checkDeviceTypeResult = kOk;
    Result enumModesResult = kOk;
    Result createDeviceResult = kOk;
};

class NullDirect3D : public Direct3D {
  public:
    explicit NullDirect3D(NullAdapter adapter) : m_adapter(std::move(adapter)) {}
    Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) override;
    Result CheckDeviceType(uint32_t adapter, DeviceType type, Format displayFormat, Format backBufferFormat,
                           bool windowed) override;
    uint32_t GetAdapterModeCount(uint32_t adapter, Format format) override;
    Result EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode, DisplayMode& out) override;
    Result CreateDevice(uint32_t adapter, DeviceType type, Window* focusWindow, uint32_t behaviourFlags,
                        PresentParams& params, std::unique_ptr<Device>& out) override;

  private:
    NullAdapter m_adapter;
};

struct NullPlacement {
    WindowOrder order = WindowOrder::kNoTopMost;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    uint32_t flags = 0;
};

class NullGraphics : public Graphics {
  public:
    bool EnumDisplayDevices(uint32_t index, DisplayDevice& out) override;
    bool EnumDisplaySettings(const std::string& deviceName, uint32_t modeIndex, DisplayMode& out) override;
    std::unique_ptr<Direct3D> Direct3DCreate9(uint32_t sdkVersion) override;
    void SetWindowStyle(Window& window, uint32_t style) override;
    bool SetWindowPos(Window& window, WindowOrder order, int x, int y, int width, int height,
                      uint32_t flags) override;

    std::vector<DisplayDevice> displays{{"\\\\.\\DISPLAY1", "Null display", kDisplayDevicePrimaryDevice}};
    DisplayMode storedMode{1024, 768, 60, kFmtX8R8G8B8};
    bool storedModeSucceeds = true;
    bool direct3DSucceeds = true;
    NullAdapter adapter;

    std::vector<uint32_t> styles;
    std::vector<NullPlacement> placements;
};

// The graphics services in place until a platform installs its own.
Graphics& DefaultNullGraphics();

} // namespace plat

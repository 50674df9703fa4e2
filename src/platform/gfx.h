// Stand-in for the drawing services the game was written against: the display enumeration and window
// placement of Win32, the Direct3D 9 object and device (the fixed-function subset the game uses), and
// the D3DX textures and fonts. Shaped like the originals so that the game's calls read the same; the
// null implementation serves the unit tests, src/platform/sdl the real game (OpenGL 3.3).
#pragma once

#include "platform/d3dx.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class Window;

// Results, with Direct3D's values so that logged numbers read the same.
using Result = int32_t;
constexpr Result kOk = 0;
constexpr Result kErrInvalidCall = static_cast<Result>(0x8876086Cu);
constexpr Result kErrNotAvailable = static_cast<Result>(0x8876086Au);
constexpr Result kErrDeviceLost = static_cast<Result>(0x88760868u);
constexpr Result kErrDeviceNotReset = static_cast<Result>(0x88760869u);
constexpr Result kErrDriverInternalError = static_cast<Result>(0x88760827u);
constexpr Result kErrOutOfMemory = static_cast<Result>(0x8007000Eu);
constexpr Result kErrInvalidData = static_cast<Result>(0x88760B59u);
inline bool Failed(Result result) {
    return result < 0;
}

enum Format : uint32_t {
    kFmtUnknown = 0,
    kFmtA8R8G8B8 = 21,
    kFmtX8R8G8B8 = 22,
    kFmtD16 = 80,
    kFmtIndex16 = 101,
};

enum Pool : uint32_t { kPoolDefault = 0, kPoolManaged = 1 };
enum DeviceType : uint32_t { kDevTypeHal = 1 };
constexpr uint32_t kAdapterDefault = 0;
constexpr uint32_t kSdkVersion = 32;
constexpr uint32_t kCreateHardwareVertexProcessing = 0x40;
constexpr uint32_t kSwapEffectDiscard = 1;
constexpr uint32_t kMultiSampleNone = 0;
constexpr uint32_t kPresentIntervalDefault = 0;
constexpr uint32_t kPresentIntervalOne = 1;
constexpr uint32_t kPresentIntervalImmediate = 0x80000000u;
constexpr uint32_t kUsageWriteOnly = 8;
// D3DX's "take it from the file" for sizes, mip levels and filters.
constexpr uint32_t kD3dxDefault = 0xFFFFFFFFu;

// Vertex format bits. The device draws one layout: position, ARGB colour, three texture coordinates
// (28 bytes), which is kFvfXyz | kFvfDiffuse | kFvfTex1 | kFvfTexCoordSize3Of0.
constexpr uint32_t kFvfXyz = 0x002;
constexpr uint32_t kFvfDiffuse = 0x040;
constexpr uint32_t kFvfTex1 = 0x100;
constexpr uint32_t kFvfTexCoordSize3Of0 = 0x10000;
constexpr uint32_t kFvfQuadVertex = 0x10142;
constexpr uint32_t kQuadVertexStride = 28;

enum TransformState : uint32_t { kTsView = 2, kTsProjection = 3, kTsTexture0 = 16, kTsWorld = 256 };

enum RenderState : uint32_t {
    kRsZEnable = 7,
    kRsFillMode = 8,
    kRsShadeMode = 9,
    kRsZWriteEnable = 14,
    kRsAlphaTestEnable = 15,
    kRsSrcBlend = 19,
    kRsDestBlend = 20,
    kRsCullMode = 22,
    kRsZFunc = 23,
    kRsAlphaRef = 24,
    kRsAlphaFunc = 25,
    kRsAlphaBlendEnable = 27,
    kRsLighting = 137,
};
constexpr uint32_t kRenderStateCount = 256;

enum CullMode : uint32_t { kCullNone = 1, kCullCw = 2, kCullCcw = 3 };
enum CompareFunc : uint32_t {
    kCmpNever = 1,
    kCmpLess = 2,
    kCmpEqual = 3,
    kCmpLessEqual = 4,
    kCmpGreater = 5,
    kCmpNotEqual = 6,
    kCmpGreaterEqual = 7,
    kCmpAlways = 8,
};
enum Blend : uint32_t {
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcColor = 3,
    kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kBlendDestAlpha = 7,
    kBlendInvDestAlpha = 8,
    kBlendDestColor = 9,
    kBlendInvDestColor = 10,
};

enum TextureStageState : uint32_t {
    kTssColorOp = 1,
    kTssColorArg1 = 2,
    kTssColorArg2 = 3,
    kTssAlphaOp = 4,
    kTssAlphaArg1 = 5,
    kTssAlphaArg2 = 6,
    kTssTextureTransformFlags = 24,
};
constexpr uint32_t kTextureStageStateCount = 33;
enum TextureOp : uint32_t {
    kTopDisable = 1,
    kTopSelectArg1 = 2,
    kTopSelectArg2 = 3,
    kTopModulate = 4,
    kTopModulate2x = 5,
    kTopModulate4x = 6,
    kTopAdd = 7,
    kTopSubtract = 10,
};
enum TextureArg : uint32_t { kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2 };
enum TextureTransformFlags : uint32_t { kTtffDisable = 0, kTtffCount2 = 2 };

constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearZBuffer = 2;
constexpr uint32_t kClearStencil = 4;

enum PrimitiveType : uint32_t { kPtTriangleList = 4 };

struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
    Format format = kFmtUnknown;
};

struct PresentParams {
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;
    Format backBufferFormat = kFmtUnknown;
    uint32_t backBufferCount = 0;
    uint32_t multiSampleType = kMultiSampleNone;
    uint32_t multiSampleQuality = 0;
    uint32_t swapEffect = 0;
    Window* deviceWindow = nullptr;
    bool windowed = false;
    bool enableAutoDepthStencil = false;
    Format autoDepthStencilFormat = kFmtUnknown;
    uint32_t flags = 0;
    uint32_t fullScreenRefreshRateInHz = 0;
    uint32_t presentationInterval = kPresentIntervalDefault;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Buffers are filled through Lock and Unlock; the pointer is valid until Unlock.
class VertexBuffer {
  public:
    virtual ~VertexBuffer() = default;
    // A size of 0 locks from offset to the end.
    virtual Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual Result Unlock() = 0;
};

class IndexBuffer {
  public:
    virtual ~IndexBuffer() = default;
    virtual Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual Result Unlock() = 0;
};

class Texture {
  public:
    virtual ~Texture() = default;
    virtual uint32_t Width() const = 0;
    virtual uint32_t Height() const = 0;
};

// Text formats of DrawTextA.
constexpr uint32_t kDtLeft = 0x0;
constexpr uint32_t kDtTop = 0x0;
constexpr uint32_t kDtWordBreak = 0x10;
constexpr uint32_t kDtSingleLine = 0x20;
constexpr uint32_t kDtNoClip = 0x100;
constexpr uint32_t kDtCalcRect = 0x400;

struct FontDesc {
    int32_t height = 0; // cell height in pixels
    uint32_t width = 0; // average character width; 0 keeps the face's proportions
    uint32_t weight = 400;
    uint32_t mipLevels = 1;
    bool italic = false;
    uint8_t charSet = 1;         // DEFAULT_CHARSET
    uint8_t outputPrecision = 4; // OUT_TT_PRECIS
    uint8_t quality = 0;         // DEFAULT_QUALITY
    uint8_t pitchAndFamily = 0;  // DEFAULT_PITCH
    std::string faceName;
};

// A D3DX text font: draws in back-buffer pixels, clipped to the device's viewport, over whatever the
// device has drawn, without changing the device's states.
class Font {
  public:
    virtual ~Font() = default;
    // Measures (kDtCalcRect: the rectangle is fitted to the text, nothing drawn) or draws the first
    // count bytes of text (-1: all of it). Returns the height of the text in pixels, 0 on failure.
    virtual int32_t DrawTextA(const std::string& text, int32_t count, Rect& rect, uint32_t format,
                              uint32_t colour) = 0;
    // Frees what a device reset loses, and builds it again after.
    virtual Result OnLostDevice() = 0;
    virtual Result OnResetDevice() = 0;
};

// The drawing device. Resources it creates must be destroyed before it; destroying one that is bound
// unbinds it.
class Device {
  public:
    virtual ~Device() = default;

    virtual Result TestCooperativeLevel() = 0;
    // Fails while default-pool resources or fonts not told OnLostDevice are alive, as Direct3D does.
    // Every state goes back to its default.
    virtual Result Reset(PresentParams& params) = 0;
    virtual Result BeginScene() = 0;
    virtual Result EndScene() = 0;
    // Shows the back buffer and waits for the display's next refresh.
    virtual Result Present() = 0;
    // Clears the current viewport.
    virtual Result Clear(uint32_t flags, uint32_t colour, float z, uint32_t stencil) = 0;
    virtual Result SetViewport(const Viewport& viewport) = 0;
    virtual Result GetViewport(Viewport& viewport) = 0;
    virtual Result SetTransform(TransformState state, const Matrix& matrix) = 0;
    virtual Result GetTransform(TransformState state, Matrix& matrix) = 0;
    virtual Result SetRenderState(RenderState state, uint32_t value) = 0;
    virtual Result SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) = 0;
    // The texture is borrowed; null unbinds.
    virtual Result SetTexture(uint32_t stage, Texture* texture) = 0;
    virtual Result SetFVF(uint32_t fvf) = 0;
    virtual Result SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                   uint32_t stride) = 0;
    virtual Result SetIndices(IndexBuffer* buffer) = 0;
    virtual Result DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                        uint32_t numVertices, uint32_t startIndex,
                                        uint32_t primitiveCount) = 0;
    virtual Result CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                                      std::unique_ptr<VertexBuffer>& out) = 0;
    virtual Result CreateIndexBuffer(uint32_t length, uint32_t usage, Format format, Pool pool,
                                     std::unique_ptr<IndexBuffer>& out) = 0;

    // What D3DX builds on a device; reached through the D3DX functions below.
    virtual Result CreateTextureFromFile(const std::string& file, std::unique_ptr<Texture>& out) = 0;
    virtual Result CreateFont(const FontDesc& desc, std::unique_ptr<Font>& out) = 0;
};

class Direct3D {
  public:
    virtual ~Direct3D() = default;
    virtual Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) = 0;
    virtual Result CheckDeviceType(uint32_t adapter, DeviceType type, Format displayFormat,
                                   Format backBufferFormat, bool windowed) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter, Format format) = 0;
    virtual Result EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode, DisplayMode& out) = 0;
    virtual Result CreateDevice(uint32_t adapter, DeviceType type, Window* focusWindow,
                                uint32_t behaviourFlags, PresentParams& params,
                                std::unique_ptr<Device>& out) = 0;
};

// A texture read from an image file. Only the defaults are supported: size and mip levels from the
// file (kD3dxDefault), usage 0, format kFmtUnknown, no colour key; anything else is an invalid call.
Result D3DXCreateTextureFromFileExA(Device* device, const std::string& file, uint32_t width, uint32_t height,
                                    uint32_t mipLevels, uint32_t usage, Format format, Pool pool,
                                    uint32_t filter, uint32_t mipFilter, uint32_t colourKey,
                                    std::unique_ptr<Texture>& out);
Result D3DXCreateFontIndirectW(Device* device, const FontDesc& desc, std::unique_ptr<Font>& out);

// Display devices as Win32 enumerates them.
constexpr uint32_t kDisplayDevicePrimaryDevice = 4;
constexpr uint32_t kEnumCurrentSettings = 0xFFFFFFFFu;
constexpr uint32_t kEnumRegistrySettings = 0xFFFFFFFEu;

struct DisplayDevice {
    std::string deviceName;
    std::string deviceString;
    uint32_t stateFlags = 0;
};

// Window styles and placement order.
constexpr uint32_t kWsPopup = 0x80000000u;
constexpr uint32_t kWsCaptionSysMenuMinimize = 0x00CA0000u;
enum class WindowOrder { kTopMost, kNoTopMost };
constexpr uint32_t kSwpShowWindow = 0x0040;

// The window manager draws the frame, so the window rectangle is the client rectangle.
void AdjustWindowRect(Rect& rect, uint32_t style, bool menu);

// The drawing services of the platform.
class Graphics {
  public:
    virtual ~Graphics() = default;
    // False past the last device.
    virtual bool EnumDisplayDevices(uint32_t index, DisplayDevice& out) = 0;
    // kEnumRegistrySettings: the mode stored for the device (the desktop's).
    virtual bool EnumDisplaySettings(const std::string& deviceName, uint32_t modeIndex, DisplayMode& out) = 0;
    // Null when no drawing is possible.
    virtual std::unique_ptr<Direct3D> Direct3DCreate9(uint32_t sdkVersion) = 0;
    virtual void SetWindowStyle(Window& window, uint32_t style) = 0;
    virtual bool SetWindowPos(Window& window, WindowOrder order, int x, int y, int width, int height,
                              uint32_t flags) = 0;
};

} // namespace plat

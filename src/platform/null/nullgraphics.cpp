#include "platform/null/nullgraphics.h"

#include <algorithm>

namespace plat {

namespace {

Result LockRange(std::vector<uint8_t>& bytes, bool& locked, bool fail, uint32_t offset, uint32_t size,
                 void** data) {
    if (data == nullptr || locked || fail || offset > bytes.size()) {
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

bool FailsLocks(const std::shared_ptr<NullDeviceLedger>& ledger) {
    return ledger->device != nullptr && ledger->device->failLocks;
}

} // namespace

NullVertexBuffer::NullVertexBuffer(std::shared_ptr<NullDeviceLedger> ledger, uint32_t length, Pool p)
    : bytes(length), pool(p), m_ledger(std::move(ledger)) {
    ++m_ledger->vertexBuffers;
    if (pool == kPoolDefault) {
        ++m_ledger->unresettable;
    }
}

NullVertexBuffer::~NullVertexBuffer() {
    --m_ledger->vertexBuffers;
    if (pool == kPoolDefault) {
        --m_ledger->unresettable;
    }
    if (m_ledger->device != nullptr) {
        m_ledger->device->Forget(this);
    }
}

Result NullVertexBuffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
    return LockRange(bytes, locked, FailsLocks(m_ledger), offset, size, data);
}

Result NullVertexBuffer::Unlock() {
    if (!locked) {
        return kErrInvalidCall;
    }
    locked = false;
    return kOk;
}

NullIndexBuffer::NullIndexBuffer(std::shared_ptr<NullDeviceLedger> ledger, uint32_t length, Pool p)
    : bytes(length), pool(p), m_ledger(std::move(ledger)) {
    ++m_ledger->indexBuffers;
    if (pool == kPoolDefault) {
        ++m_ledger->unresettable;
    }
}

NullIndexBuffer::~NullIndexBuffer() {
    --m_ledger->indexBuffers;
    if (pool == kPoolDefault) {
        --m_ledger->unresettable;
    }
    if (m_ledger->device != nullptr) {
        m_ledger->device->Forget(this);
    }
}

Result NullIndexBuffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
    return LockRange(bytes, locked, FailsLocks(m_ledger), offset, size, data);
}

Result NullIndexBuffer::Unlock() {
    if (!locked) {
        return kErrInvalidCall;
    }
    locked = false;
    return kOk;
}

NullTexture::NullTexture(std::shared_ptr<NullDeviceLedger> ledger, std::string f)
    : file(std::move(f)), m_ledger(std::move(ledger)) {
    ++m_ledger->textures;
}

NullTexture::~NullTexture() {
    --m_ledger->textures;
    if (m_ledger->device != nullptr) {
        m_ledger->device->Forget(this);
    }
}

NullFont::NullFont(std::shared_ptr<NullDeviceLedger> ledger, FontDesc d)
    : desc(std::move(d)), m_ledger(std::move(ledger)) {
    ++m_ledger->fonts;
    ++m_ledger->unresettable;
}

NullFont::~NullFont() {
    --m_ledger->fonts;
    if (!lost) {
        --m_ledger->unresettable;
    }
}

int32_t NullFont::DrawTextA(const std::string& text, int32_t count, Rect& rect, uint32_t format,
                            uint32_t colour) {
    if (m_ledger->device == nullptr || lost) {
        return 0;
    }
    const std::string shown =
        count < 0 ? text : text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
    const int32_t charWidth =
        desc.width != 0 ? static_cast<int32_t>(desc.width) : std::max(1, desc.height / 2);
    if ((format & kDtCalcRect) != 0) {
        rect.right = rect.left + charWidth * static_cast<int32_t>(shown.size());
        rect.bottom = rect.top + desc.height;
        return desc.height;
    }
    m_ledger->device->RecordText({desc.faceName, shown, rect, format, colour});
    return desc.height;
}

Result NullFont::OnLostDevice() {
    if (!lost) {
        lost = true;
        --m_ledger->unresettable;
    }
    return kOk;
}

Result NullFont::OnResetDevice() {
    if (lost) {
        lost = false;
        ++m_ledger->unresettable;
    }
    return kOk;
}

NullDevice::NullDevice(const PresentParams& p) : params(p), m_ledger(std::make_shared<NullDeviceLedger>()) {
    m_ledger->device = this;
    viewport = {0, 0, params.backBufferWidth, params.backBufferHeight, 0.0f, 1.0f};
}

NullDevice::~NullDevice() {
    m_ledger->device = nullptr;
}

void NullDevice::Forget(const void* resource) {
    if (texture == resource) {
        texture = nullptr;
    }
    if (stream == resource) {
        stream = nullptr;
    }
    if (indices == resource) {
        indices = nullptr;
    }
}

uint32_t NullDevice::StageState(uint32_t stage, TextureStageState state) const {
    auto it = stageStates.find(stage * 256 + state);
    return it == stageStates.end() ? 0 : it->second;
}

Result NullDevice::TestCooperativeLevel() {
    calls.push_back("TestCooperativeLevel");
    return cooperativeLevel;
}

Result NullDevice::Reset(PresentParams& p) {
    calls.push_back("Reset");
    if (cooperativeLevel == kErrDeviceLost) {
        return kErrDeviceLost;
    }
    if (m_ledger->unresettable > 0 || p.backBufferWidth == 0 || p.backBufferHeight == 0) {
        return kErrInvalidCall;
    }
    if (Failed(resetResult)) {
        return resetResult;
    }
    ++resets;
    params = p;
    renderStates.clear();
    stageStates.clear();
    transforms.clear();
    texture = nullptr;
    stream = nullptr;
    indices = nullptr;
    fvf = 0;
    viewport = {0, 0, params.backBufferWidth, params.backBufferHeight, 0.0f, 1.0f};
    cooperativeLevel = kOk;
    return kOk;
}

Result NullDevice::BeginScene() {
    calls.push_back("BeginScene");
    if (inScene) {
        return kErrInvalidCall;
    }
    inScene = true;
    return kOk;
}

Result NullDevice::EndScene() {
    calls.push_back("EndScene");
    if (!inScene) {
        return kErrInvalidCall;
    }
    inScene = false;
    return kOk;
}

Result NullDevice::Present() {
    calls.push_back("Present");
    ++presents;
    return kOk;
}

Result NullDevice::Clear(uint32_t flags, uint32_t colour, float z, uint32_t stencil) {
    calls.push_back("Clear");
    clears.push_back({viewport, flags, colour, z, stencil});
    return kOk;
}

Result NullDevice::SetViewport(const Viewport& v) {
    calls.push_back("SetViewport");
    if (v.x + v.width > params.backBufferWidth || v.y + v.height > params.backBufferHeight) {
        return kErrInvalidCall;
    }
    viewport = v;
    return kOk;
}

Result NullDevice::GetViewport(Viewport& v) {
    v = viewport;
    return kOk;
}

Result NullDevice::SetTransform(TransformState state, const Matrix& matrix) {
    calls.push_back("SetTransform");
    transforms[state] = matrix;
    return kOk;
}

Result NullDevice::GetTransform(TransformState state, Matrix& matrix) {
    auto it = transforms.find(state);
    matrix = it == transforms.end() ? Matrix{} : it->second;
    return kOk;
}

Result NullDevice::SetRenderState(RenderState state, uint32_t value) {
    calls.push_back("SetRenderState");
    renderStates[state] = value;
    return kOk;
}

Result NullDevice::SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
    calls.push_back("SetTextureStageState");
    stageStates[stage * 256 + state] = value;
    return kOk;
}

Result NullDevice::SetTexture(uint32_t stage, Texture* t) {
    calls.push_back("SetTexture");
    if (stage != 0) {
        return kErrInvalidCall;
    }
    texture = t;
    return kOk;
}

Result NullDevice::SetFVF(uint32_t value) {
    calls.push_back("SetFVF");
    fvf = value;
    return kOk;
}

Result NullDevice::SetStreamSource(uint32_t streamNumber, VertexBuffer* buffer, uint32_t, uint32_t stride) {
    calls.push_back("SetStreamSource");
    if (streamNumber != 0) {
        return kErrInvalidCall;
    }
    stream = buffer;
    streamStride = stride;
    return kOk;
}

Result NullDevice::SetIndices(IndexBuffer* buffer) {
    calls.push_back("SetIndices");
    indices = buffer;
    return kOk;
}

Result NullDevice::DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                        uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) {
    calls.push_back("DrawIndexedPrimitive");
    if (failDraws || stream == nullptr || indices == nullptr) {
        return kErrInvalidCall;
    }
    draws.push_back({texture, stream, indices, streamStride, fvf, type, baseVertexIndex, minIndex,
                     numVertices, startIndex, primitiveCount});
    return kOk;
}

Result NullDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, Pool pool,
                                      std::unique_ptr<VertexBuffer>& out) {
    calls.push_back("CreateVertexBuffer");
    if (failBufferCreation || length == 0) {
        return kErrOutOfMemory;
    }
    out = std::make_unique<NullVertexBuffer>(m_ledger, length, pool);
    return kOk;
}

Result NullDevice::CreateIndexBuffer(uint32_t length, uint32_t, Format format, Pool pool,
                                     std::unique_ptr<IndexBuffer>& out) {
    calls.push_back("CreateIndexBuffer");
    if (failBufferCreation || length == 0 || format != kFmtIndex16) {
        return kErrOutOfMemory;
    }
    out = std::make_unique<NullIndexBuffer>(m_ledger, length, pool);
    return kOk;
}

Result NullDevice::CreateTextureFromFile(const std::string& file, std::unique_ptr<Texture>& out) {
    calls.push_back("CreateTextureFromFile");
    if (missingFiles.count(file) != 0) {
        return kErrNotAvailable;
    }
    texturesCreated.push_back(file);
    out = std::make_unique<NullTexture>(m_ledger, file);
    return kOk;
}

Result NullDevice::CreateFont(const FontDesc& desc, std::unique_ptr<Font>& out) {
    calls.push_back("CreateFont");
    if (missingFaces.count(desc.faceName) != 0) {
        return kErrNotAvailable;
    }
    fontsCreated.push_back(desc);
    out = std::make_unique<NullFont>(m_ledger, desc);
    return kOk;
}

Result NullDirect3D::GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) {
    if (adapter != kAdapterDefault || Failed(m_adapter.displayModeResult)) {
        return kErrInvalidCall;
    }
    mode = m_adapter.desktop;
    return kOk;
}

Result NullDirect3D::CheckDeviceType(uint32_t adapter, DeviceType, Format, Format, bool) {
    return adapter != kAdapterDefault ? kErrInvalidCall : m_adapter.checkDeviceTypeResult;
}

uint32_t NullDirect3D::GetAdapterModeCount(uint32_t adapter, Format format) {
    if (adapter != kAdapterDefault) {
        return 0;
    }
    return static_cast<uint32_t>(
        std::count_if(m_adapter.modes.begin(), m_adapter.modes.end(),
                      [format](const DisplayMode& m) { return m.format == format; }));
}

Result NullDirect3D::EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode, DisplayMode& out) {
    if (adapter != kAdapterDefault || Failed(m_adapter.enumModesResult)) {
        return kErrInvalidCall;
    }
    uint32_t seen = 0;
    for (const DisplayMode& m : m_adapter.modes) {
        if (m.format == format && seen++ == mode) {
            out = m;
            return kOk;
        }
    }
    return kErrInvalidCall;
}

Result NullDirect3D::CreateDevice(uint32_t adapter, DeviceType, Window* focusWindow, uint32_t,
                                  PresentParams& params, std::unique_ptr<Device>& out) {
    out.reset();
    if (adapter != kAdapterDefault || focusWindow == nullptr) {
        return kErrInvalidCall;
    }
    if (params.backBufferWidth == 0 || params.backBufferHeight == 0) {
        return kErrInvalidCall;
    }
    if (Failed(m_adapter.createDeviceResult)) {
        return m_adapter.createDeviceResult;
    }
    out = std::make_unique<NullDevice>(params);
    return kOk;
}

bool NullGraphics::EnumDisplayDevices(uint32_t index, DisplayDevice& out) {
    if (index >= displays.size()) {
        return false;
    }
    out = displays[index];
    return true;
}

bool NullGraphics::EnumDisplaySettings(const std::string&, uint32_t, DisplayMode& out) {
    if (!storedModeSucceeds) {
        return false;
    }
    out = storedMode;
    return true;
}

std::unique_ptr<Direct3D> NullGraphics::Direct3DCreate9(uint32_t sdkVersion) {
    if (!direct3DSucceeds || sdkVersion != kSdkVersion) {
        return nullptr;
    }
    return std::make_unique<NullDirect3D>(adapter);
}

void NullGraphics::SetWindowStyle(Window&, uint32_t style) {
    styles.push_back(style);
}

bool NullGraphics::SetWindowPos(Window&, WindowOrder order, int x, int y, int width, int height,
                                uint32_t flags) {
    placements.push_back({order, x, y, width, height, flags});
    return true;
}

Graphics& DefaultNullGraphics() {
    static NullGraphics graphics;
    return graphics;
}

} // namespace plat

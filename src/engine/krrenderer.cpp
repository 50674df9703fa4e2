#include "engine/krrenderer.h"

#include "engine/krlog.h"

#include <cmath>

namespace {

constexpr uint32_t kBarColour = 0xFF000000;
constexpr uint32_t kPictureColour = 0xFF3C3C3C;

} // namespace

Renderer::Renderer(plat::Window* w, bool startWindowed) : window(w), windowed(startWindowed) {}

Renderer::~Renderer() {
    Release();
}

bool Renderer::CreateDevice(plat::Window* w) {
    window = w;
    if (d3d == nullptr || window == nullptr) {
        return false;
    }
    plat::DisplayMode mode;
    if (plat::Failed(d3d->GetAdapterDisplayMode(plat::kAdapterDefault, mode))) {
        return false;
    }
    if (plat::Failed(
            d3d->CheckDeviceType(plat::kAdapterDefault, plat::kDevTypeHal, mode.format, mode.format, true))) {
        return false;
    }
    const uint32_t count = d3d->GetAdapterModeCount(plat::kAdapterDefault, plat::kFmtX8R8G8B8);
    for (uint32_t i = 0; i < count; ++i) {
        plat::DisplayMode offered;
        if (plat::Failed(d3d->EnumAdapterModes(plat::kAdapterDefault, plat::kFmtX8R8G8B8, i, offered))) {
            return false;
        }
        if (offered.width == 1440 && offered.height == 900) {
            has1440x900 = true;
        }
    }
    int width = 0;
    int height = 0;
    window->GetClientSize(width, height);
    backBufferWidth = width > 0 ? static_cast<uint32_t>(width) : 0;
    backBufferHeight = height > 0 ? static_cast<uint32_t>(height) : 0;
    FillPresentParams();
    if (!InitDevice()) {
        return false;
    }
    fonts.CreateFonts(backBufferWidth, backBufferHeight, margin);
    barsOn = false;
    return true;
}

bool Renderer::InitDevice() {
    if (plat::Failed(d3d->CreateDevice(plat::kAdapterDefault, plat::kDevTypeHal, window,
                                       plat::kCreateHardwareVertexProcessing, presentParams, device)) ||
        device == nullptr) {
        device.reset();
        return false;
    }
    geometry.SetDevice(device.get());
    textures.SetDevice(device.get());
    fonts.SetDevice(device.get());
    SetDefaultStates();
    return true;
}

void Renderer::SetDefaultStates() {
    device->SetRenderState(plat::kRsCullMode, plat::kCullCw);
    device->SetRenderState(plat::kRsLighting, 0);
    device->SetRenderState(plat::kRsZEnable, 1);
    device->SetRenderState(plat::kRsAlphaTestEnable, 1);
    device->SetRenderState(plat::kRsAlphaRef, 1);
    device->SetRenderState(plat::kRsAlphaFunc, plat::kCmpGreaterEqual);
    device->SetTextureStageState(0, plat::kTssTextureTransformFlags, plat::kTtffCount2);
}

void Renderer::FillPresentParams() {
    presentParams = plat::PresentParams{};
    presentParams.backBufferWidth = backBufferWidth;
    presentParams.backBufferHeight = backBufferHeight;
    presentParams.backBufferFormat = plat::kFmtX8R8G8B8;
    presentParams.backBufferCount = 0;
    presentParams.multiSampleType = plat::kMultiSampleNone;
    presentParams.swapEffect = plat::kSwapEffectDiscard;
    presentParams.deviceWindow = window;
    presentParams.windowed = windowed;
    presentParams.enableAutoDepthStencil = true;
    presentParams.autoDepthStencilFormat = plat::kFmtD16;
    presentParams.flags = 0;
    presentParams.fullScreenRefreshRateInHz = windowed ? 0 : 60;
    presentParams.presentationInterval = plat::kPresentIntervalOne;
}

bool Renderer::Reset() {
    if (device == nullptr) {
        return false;
    }
    OnLostDevice();
    FillPresentParams();
    if (device->Reset(presentParams) == plat::kOk) {
        OnResetDevice();
        return true;
    }
    LogLine("Reset FAILED!");
    return false;
}

bool Renderer::CheckDevice() {
    if (device == nullptr) {
        LogLine("D3DDevice not created.");
        return false;
    }
    switch (device->TestCooperativeLevel()) {
    case plat::kOk:
        return true;
    case plat::kErrDeviceLost:
        plat::Platform().clock->Sleep(50);
        return false;
    case plat::kErrDeviceNotReset:
        if (Reset()) {
            return true;
        }
        plat::Platform().clock->Sleep(50);
        LogLine("Cannot reset d3ddevice!");
        return false;
    default:
        LogLine("D3D not ready, DRIVERINTERNALERROR.");
        return false;
    }
}

void Renderer::BeginFrame() {
    if (device == nullptr) {
        return;
    }
    const uint32_t targetAndDepth = plat::kClearTarget | plat::kClearZBuffer;
    if (barsOn) {
        device->SetViewport(leftBar);
        device->Clear(targetAndDepth, kBarColour, 1.0f, 0);
        device->SetViewport(rightBar);
        device->Clear(targetAndDepth, kBarColour, 1.0f, 0);
    }
    device->SetViewport(mainViewport);
    device->Clear(targetAndDepth, kPictureColour, 1.0f, 0);
    device->BeginScene();
    device->SetFVF(plat::kFvfQuadVertex);
    // The vertex alpha is taken from the texture alpha: how the quads fade sprites.
    device->SetTextureStageState(0, plat::kTssAlphaOp, plat::kTopSubtract);
    device->SetTextureStageState(0, plat::kTssAlphaArg1, plat::kTaTexture);
    device->SetTextureStageState(0, plat::kTssAlphaArg2, plat::kTaDiffuse);
    device->SetRenderState(plat::kRsAlphaBlendEnable, 1);
    device->SetRenderState(plat::kRsSrcBlend, plat::kBlendSrcAlpha);
    device->SetRenderState(plat::kRsDestBlend, plat::kBlendInvSrcAlpha);
}

uint32_t Renderer::SetResolution(uint32_t width, uint32_t height) {
    backBufferWidth = width;
    backBufferHeight = height;
    const float quotient = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 0.0f;
    const float aspect = std::floor(quotient * 100.0f + 0.5f) / 100.0f;
    const uint32_t mainWidth = 4 * (height / 3);
    const bool accepted = (aspect > 1.32f && aspect < 1.34f) || (aspect > 1.24f && aspect < 1.26f);
    // A back buffer narrower than 4:3 has no room for bars: it is drawn whole.
    if (accepted || mainWidth > width) {
        mainViewport = {0, 0, width, height, 0.0f, 1.0f};
        margin = 0;
        barsOn = false;
    } else {
        margin = (width - mainWidth) / 2;
        mainViewport = {margin, 0, mainWidth, height, 0.0f, 1.0f};
        leftBar = {0, 0, margin, height, 0.0f, 1.0f};
        rightBar = {margin + mainWidth, 0, margin, height, 0.0f, 1.0f};
        barsOn = true;
    }
    Reset();
    fonts.ReleaseFonts();
    fonts.CreateFonts(backBufferWidth, backBufferHeight, margin);
    if (windowed) {
        PlaceWindow();
    }
    return margin;
}

void Renderer::PlaceWindow() {
    if (window == nullptr) {
        return;
    }
    plat::Rect rect{0, 0, static_cast<int32_t>(backBufferWidth), static_cast<int32_t>(backBufferHeight)};
    plat::AdjustWindowRect(rect, plat::kWsCaptionSysMenuMinimize, false);
    plat::Platform().graphics->SetWindowPos(*window, plat::WindowOrder::kNoTopMost, rect.left + 30,
                                            rect.top + 30, rect.right - rect.left, rect.bottom - rect.top,
                                            plat::kSwpShowWindow);
}

void Renderer::ToggleFullScreen() {
    if (device == nullptr || window == nullptr) {
        return;
    }
    plat::Graphics& graphics = *plat::Platform().graphics;
    windowed = !windowed;
    if (windowed) {
        graphics.SetWindowStyle(*window, plat::kWsCaptionSysMenuMinimize);
    } else {
        graphics.SetWindowStyle(*window, plat::kWsPopup);
        window->Show(plat::kSwHide);
    }
    Reset();
    if (windowed) {
        PlaceWindow();
    }
    if (!window->IsVisible()) {
        graphics.SetWindowPos(*window, plat::WindowOrder::kTopMost, 0, 0, static_cast<int>(backBufferWidth),
                              static_cast<int>(backBufferHeight), plat::kSwpShowWindow);
        window->Show(plat::kSwShow);
    }
}

void Renderer::OnLostDevice() {
    geometry.ReleaseBuffers();
    textures.ReleaseTextures();
    fonts.OnLostDevice();
}

void Renderer::OnResetDevice() {
    geometry.RebuildBuffers();
    textures.RebuildTextures();
    fonts.OnResetDevice();
    SetDefaultStates();
}

void Renderer::Release() {
    if (device != nullptr) {
        fonts.ReleaseFonts();
        textures.ReleaseAll();
        geometry.ReleaseAll();
        fonts.SetDevice(nullptr);
        textures.SetDevice(nullptr);
        geometry.SetDevice(nullptr);
        device.reset();
    }
    d3d.reset();
}

void Renderer::DrawDebugText(const std::string& text, float x, float y, uint32_t colour) {
    fonts.DrawDebugText(text, colour, x, y);
}

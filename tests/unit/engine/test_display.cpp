// The display system and renderer on the null platform: start-up at the display's stored mode, the
// side-bar arithmetic, the states each frame relies on, lost devices, full-screen switching, and a
// shutdown that is safe after any failed start-up.
#include "engine/engine.h"
#include "engine/krdisplaysys.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"
#include "recordingstate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Display : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::WindowDesc desc;
        desc.width = 800;
        desc.height = 600;
        window.Create(desc);
        plat::Services services;
        services.window = &window;
        services.clock = &clock;
        services.graphics = &graphics;
        plat::Install(services);
    }

    void TearDown() override {
        display.Shutdown();
        plat::Install(plat::Services{});
    }

    // Starts the display, keeping its log lines.
    bool Start() {
        CaptureStdout();
        const bool started = display.Init(&window);
        log = GetCapturedStdout();
        return started;
    }

    plat::NullDevice& Device() { return dynamic_cast<plat::NullDevice&>(*display.renderer->device); }
    Renderer& R() { return *display.renderer; }

    plat::NullWindow window;
    plat::ManualClock clock;
    plat::NullGraphics graphics;
    DisplaySys display;
    std::string log;
};

TEST_F(Display, StartsFullScreenAtTheStoredModeOfThePrimaryDisplay) {
    graphics.displays = {{"\\\\.\\DISPLAY1", "second", 1}, {"\\\\.\\DISPLAY2", "main", 5}};
    graphics.storedMode = {1440, 900, 60, plat::kFmtX8R8G8B8};
    ASSERT_TRUE(Start()) << log;
    EXPECT_EQ(log, "Width: 1440 Height: 900\nAspect Ratio of screen is: 1.6\n");
    EXPECT_EQ(display.width, 1440u);
    EXPECT_EQ(display.height, 900u);
    EXPECT_EQ(display.margin, 120u);
    EXPECT_TRUE(R().has1440x900);
    EXPECT_FALSE(R().windowed);
    // The device began at the window's 800 x 600 and was reset to the stored mode.
    const plat::PresentParams& params = Device().params;
    EXPECT_EQ(Device().resets, 1);
    EXPECT_EQ(params.backBufferWidth, 1440u);
    EXPECT_EQ(params.backBufferHeight, 900u);
    EXPECT_FALSE(params.windowed);
    EXPECT_EQ(params.backBufferFormat, plat::kFmtX8R8G8B8);
    EXPECT_EQ(params.backBufferCount, 0u);
    EXPECT_EQ(params.swapEffect, plat::kSwapEffectDiscard);
    EXPECT_TRUE(params.enableAutoDepthStencil);
    EXPECT_EQ(params.autoDepthStencilFormat, plat::kFmtD16);
    EXPECT_EQ(params.fullScreenRefreshRateInHz, 60u);
    EXPECT_EQ(params.presentationInterval, plat::kPresentIntervalOne);
    EXPECT_EQ(params.deviceWindow, &window);
    // The default texture and quad are loaded, and the fonts sized for the new back buffer.
    EXPECT_EQ(R().textures.Entries().count("../Assets/defaulttexture.png"), 1u);
    EXPECT_EQ(R().geometry.Entries().count("Quad.x"), 1u);
    ASSERT_EQ(Device().fontsCreated.size(), 4u);
    EXPECT_EQ(Device().fontsCreated[0].height, 600 / 45);
    EXPECT_EQ(Device().fontsCreated[2].height, 900 / 45);
    EXPECT_EQ(Device().fontsCreated[3].width, 1200u / 120u);
}

TEST_F(Display, DefaultStatesAreSetAndSurviveAReset) {
    graphics.adapter.modes = {{1024, 768, 60, plat::kFmtX8R8G8B8}};
    ASSERT_TRUE(Start()) << log;
    EXPECT_EQ(log, "Width: 1024 Height: 768\nAspect Ratio of screen is: 1.33333\n");
    EXPECT_FALSE(R().has1440x900);
    for (int round = 0; round < 2; ++round) {
        plat::NullDevice& device = Device();
        EXPECT_EQ(device.renderStates.at(plat::kRsCullMode), plat::kCullCw);
        EXPECT_EQ(device.renderStates.at(plat::kRsLighting), 0u);
        EXPECT_EQ(device.renderStates.at(plat::kRsZEnable), 1u);
        EXPECT_EQ(device.renderStates.at(plat::kRsAlphaTestEnable), 1u);
        EXPECT_EQ(device.renderStates.at(plat::kRsAlphaRef), 1u);
        EXPECT_EQ(device.renderStates.at(plat::kRsAlphaFunc), plat::kCmpGreaterEqual);
        EXPECT_EQ(device.StageState(0, plat::kTssTextureTransformFlags), plat::kTtffCount2);
        ASSERT_TRUE(R().Reset());
    }
}

TEST_F(Display, ResolutionsWithoutAndWithSideBars) {
    ASSERT_TRUE(Start()) << log;
    struct Case {
        uint32_t width, height, margin;
        plat::Viewport main;
    };
    const Case cases[] = {
        {800, 600, 0, {0, 0, 800, 600, 0, 1}},
        {1024, 768, 0, {0, 0, 1024, 768, 0, 1}},
        {1280, 1024, 0, {0, 0, 1280, 1024, 0, 1}},
        {1440, 900, 120, {120, 0, 1200, 900, 0, 1}},
        {1920, 1080, 240, {240, 0, 1440, 1080, 0, 1}},
        // An odd difference leaves the last column outside every viewport.
        {1365, 768, 170, {170, 0, 1024, 768, 0, 1}},
        // Narrower than 4:3 outside the accepted bands: drawn whole, without bars.
        {1280, 1000, 0, {0, 0, 1280, 1000, 0, 1}},
        {600, 800, 0, {0, 0, 600, 800, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(R().SetResolution(c.width, c.height), c.margin);
        EXPECT_EQ(R().margin, c.margin);
        EXPECT_EQ(R().barsOn, c.margin != 0);
        EXPECT_EQ(R().mainViewport, c.main);
        EXPECT_EQ(Device().params.backBufferWidth, c.width);
        EXPECT_EQ(Device().params.backBufferHeight, c.height);
        if (c.margin != 0) {
            EXPECT_EQ(R().leftBar, (plat::Viewport{0, 0, c.margin, c.height, 0, 1}));
            EXPECT_EQ(R().rightBar, (plat::Viewport{c.margin + c.main.width, 0, c.margin, c.height, 0, 1}));
        }
    }
}

TEST_F(Display, EachFrameClearsBarsAndPictureThenSetsTheFadeStates) {
    graphics.storedMode = {1440, 900, 60, plat::kFmtX8R8G8B8};
    ASSERT_TRUE(Start()) << log;
    Device().calls.clear();
    R().BeginFrame();
    const std::vector<plat::NullClear>& clears = Device().clears;
    ASSERT_EQ(clears.size(), 3u);
    const uint32_t both = plat::kClearTarget | plat::kClearZBuffer;
    EXPECT_EQ(clears[0].viewport, R().leftBar);
    EXPECT_EQ(clears[1].viewport, R().rightBar);
    EXPECT_EQ(clears[2].viewport, R().mainViewport);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(clears[static_cast<size_t>(i)].flags, both);
        EXPECT_EQ(clears[static_cast<size_t>(i)].z, 1.0f);
        EXPECT_EQ(clears[static_cast<size_t>(i)].stencil, 0u);
        EXPECT_EQ(clears[static_cast<size_t>(i)].colour, i < 2 ? 0xFF000000u : 0xFF3C3C3Cu);
    }
    // The picture's viewport stays for the frame (picking reads it).
    EXPECT_EQ(Device().viewport, R().mainViewport);
    const std::vector<std::string> order(Device().calls.begin(), Device().calls.begin() + 8);
    EXPECT_EQ(order, (std::vector<std::string>{"SetViewport", "Clear", "SetViewport", "Clear", "SetViewport",
                                               "Clear", "BeginScene", "SetFVF"}));
    EXPECT_EQ(Device().fvf, 0x10142u);
    EXPECT_EQ(Device().StageState(0, plat::kTssAlphaOp), plat::kTopSubtract);
    EXPECT_EQ(Device().StageState(0, plat::kTssAlphaArg1), plat::kTaTexture);
    EXPECT_EQ(Device().StageState(0, plat::kTssAlphaArg2), plat::kTaDiffuse);
    EXPECT_EQ(Device().renderStates.at(plat::kRsAlphaBlendEnable), 1u);
    EXPECT_EQ(Device().renderStates.at(plat::kRsSrcBlend), plat::kBlendSrcAlpha);
    EXPECT_EQ(Device().renderStates.at(plat::kRsDestBlend), plat::kBlendInvSrcAlpha);

    // Without bars only the picture is cleared.
    R().SetResolution(1024, 768);
    Device().clears.clear();
    Device().EndScene();
    R().BeginFrame();
    ASSERT_EQ(Device().clears.size(), 1u);
    EXPECT_EQ(Device().clears[0].viewport, (plat::Viewport{0, 0, 1024, 768, 0, 1}));
}

TEST_F(Display, CheckDeviceWaitsOutALostDeviceAndResetsWhenAsked) {
    ASSERT_TRUE(Start()) << log;
    EXPECT_TRUE(R().CheckDevice());

    Device().cooperativeLevel = plat::kErrDeviceLost;
    CaptureStdout();
    EXPECT_FALSE(R().CheckDevice());
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(clock.now, 50u);

    Device().cooperativeLevel = plat::kErrDeviceNotReset;
    const int resets = Device().resets;
    EXPECT_TRUE(R().CheckDevice());
    EXPECT_EQ(Device().resets, resets + 1);
    EXPECT_TRUE(R().geometry.Draw("Quad.x"));

    Device().cooperativeLevel = plat::kErrDeviceNotReset;
    Device().resetResult = plat::kErrDriverInternalError;
    CaptureStdout();
    EXPECT_FALSE(R().CheckDevice());
    EXPECT_EQ(GetCapturedStdout(), "Reset FAILED!\nCannot reset d3ddevice!\n");
    EXPECT_EQ(clock.now, 100u);

    Device().cooperativeLevel = plat::kErrDriverInternalError;
    CaptureStdout();
    EXPECT_FALSE(R().CheckDevice());
    EXPECT_EQ(GetCapturedStdout(), "D3D not ready, DRIVERINTERNALERROR.\n");

    R().Release();
    CaptureStdout();
    EXPECT_FALSE(R().CheckDevice());
    EXPECT_EQ(GetCapturedStdout(), "D3DDevice not created.\n");
}

TEST_F(Display, ToggleFullScreenSwitchesStyleResetsAndPlacesTheWindow) {
    ASSERT_TRUE(Start()) << log;
    window.Show(plat::kSwShowNormal);
    R().ToggleFullScreen();
    EXPECT_TRUE(R().windowed);
    EXPECT_TRUE(Device().params.windowed);
    EXPECT_EQ(Device().params.fullScreenRefreshRateInHz, 0u);
    ASSERT_EQ(graphics.styles, (std::vector<uint32_t>{0x00CA0000u}));
    ASSERT_EQ(graphics.placements.size(), 1u);
    EXPECT_EQ(graphics.placements[0].order, plat::WindowOrder::kNoTopMost);
    EXPECT_EQ(graphics.placements[0].x, 30);
    EXPECT_EQ(graphics.placements[0].y, 30);
    EXPECT_EQ(graphics.placements[0].width, 1024);
    EXPECT_EQ(graphics.placements[0].height, 768);

    // A windowed resolution change places the window too.
    R().SetResolution(800, 600);
    ASSERT_EQ(graphics.placements.size(), 2u);
    EXPECT_EQ(graphics.placements[1].width, 800);

    // Back to full screen: a popup, hidden during the reset, then shown on top.
    R().ToggleFullScreen();
    EXPECT_FALSE(Device().params.windowed);
    EXPECT_EQ(graphics.styles.back(), 0x80000000u);
    EXPECT_EQ(graphics.placements.back().order, plat::WindowOrder::kTopMost);
    EXPECT_EQ(graphics.placements.back().x, 0);
    EXPECT_EQ(graphics.placements.back().width, 800);
    EXPECT_EQ(window.showCommands, (std::vector<int>{plat::kSwShowNormal, plat::kSwHide, plat::kSwShow}));
    EXPECT_TRUE(window.visible);

    R().Release();
    R().ToggleFullScreen();
    EXPECT_FALSE(R().windowed);
}

TEST_F(Display, WithoutAPrimaryDisplayStartUpFailsWithTheCheckLine) {
    graphics.displays = {{"\\\\.\\DISPLAY1", "side", 1}};
    EXPECT_FALSE(Start());
    EXPECT_EQ(log, "krdisplaysys(70) : \"Hey visual device checking fail!\"\n");
    EXPECT_EQ(display.renderer, nullptr);
    CaptureStdout();
    display.Shutdown();
    display.Shutdown();
    EXPECT_EQ(GetCapturedStdout(), "");
}

TEST_F(Display, EveryFailedStartUpShutsDownSilently) {
    for (int failure = 0; failure < 5; ++failure) {
        SCOPED_TRACE(failure);
        plat::NullGraphics broken;
        broken.storedModeSucceeds = failure != 0;
        broken.direct3DSucceeds = failure != 1;
        broken.adapter.displayModeResult = failure == 2 ? plat::kErrNotAvailable : plat::kOk;
        broken.adapter.enumModesResult = failure == 3 ? plat::kErrInvalidCall : plat::kOk;
        broken.adapter.createDeviceResult = failure == 4 ? plat::kErrNotAvailable : plat::kOk;
        plat::Services services;
        services.window = &window;
        services.clock = &clock;
        services.graphics = &broken;
        plat::Install(services);
        DisplaySys failing;
        CaptureStdout();
        EXPECT_FALSE(failing.Init(&window));
        failing.Shutdown();
        const std::string lines = GetCapturedStdout();
        EXPECT_EQ(lines.find("Couldn't"), std::string::npos) << lines;
        EXPECT_EQ(failing.renderer, nullptr);
    }
}

TEST_F(Display, ShutdownReleasesTheDefaultsAndTheDevice) {
    ASSERT_TRUE(Start()) << log;
    R().textures.Load(display.defaultTexture);
    CaptureStdout();
    display.Shutdown();
    EXPECT_EQ(GetCapturedStdout(), "Texture count decremented.\n");
    EXPECT_EQ(display.renderer, nullptr);
}

TEST(EngineDrawing, ARunFrameDrawsTheTopStateBetweenTheFrameStartAndPresent) {
    plat::NullWindow window;
    plat::WindowDesc desc;
    desc.width = 800;
    desc.height = 600;
    window.Create(desc);
    plat::NullGraphics graphics;
    plat::Services services;
    services.window = &window;
    services.graphics = &graphics;
    plat::Install(services);
    std::vector<std::string> journal;
    {
        Engine engine;
        RecordingState state("Screen", journal);
        ASSERT_TRUE(engine.Init(&window, &state));
        engine.Frame();
        auto& device = dynamic_cast<plat::NullDevice&>(*engine.m_display.renderer->device);
        device.calls.clear();
        state.On("Render", [&device](Engine&) { device.calls.push_back("Render"); });
        engine.Frame();
        std::vector<std::string> frame;
        for (const std::string& call : device.calls) {
            if (call == "TestCooperativeLevel" || call == "BeginScene" || call == "Render" ||
                call == "EndScene" || call == "Present") {
                frame.push_back(call);
            }
        }
        EXPECT_EQ(frame, (std::vector<std::string>{"TestCooperativeLevel", "BeginScene", "Render", "EndScene",
                                                   "Present"}));
        // A lost device skips the drawing but not the screen's own work.
        device.cooperativeLevel = plat::kErrDeviceLost;
        journal.clear();
        engine.Frame();
        EXPECT_EQ(journal, (std::vector<std::string>{"Screen.HandleInput", "Screen.Update"}));
        EXPECT_EQ(device.presents, 1);
        engine.Quit();
        engine.Frame();
    }
    {
        // The engine's destruction after a failed display start touches nothing that was not made.
        graphics.displays.clear();
        Engine engine;
        RecordingState state("Screen", journal);
        CaptureStdout();
        EXPECT_FALSE(engine.Init(&window, &state));
        EXPECT_NE(GetCapturedStdout().find("DisplaySys failed to load."), std::string::npos);
    }
    plat::Install(plat::Services{});
}

} // namespace

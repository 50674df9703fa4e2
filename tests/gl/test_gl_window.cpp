// What Present puts in a window of another shape than the back buffer's, where the pointer lands in the
// back buffer, and which X errors say the window is gone. Runs on SDL's offscreen driver.
#include "gl_support.h"

#include "platform/sdl/sdlquit.h"

#include <X11/X.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace gltest;

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 600;

class GlWindow : public GlFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindow(nullptr, kWindowWidth, kWindowHeight));
        ASSERT_NO_FATAL_FAILURE(OpenRenderer(renderer));
    }

    void TearDown() override {
        renderer.reset();
        GlFixture::TearDown();
    }

    std::unique_ptr<Renderer> renderer;
};

TEST_F(GlWindow, FourThreeBackBufferIsShownWholeBetweenBlackBars) {
    // A windowed reset leaves the window its size.
    renderer->windowed = true;
    renderer->backBufferWidth = 800;
    renderer->backBufferHeight = 600;
    ASSERT_TRUE(renderer->Reset());
    ASSERT_EQ(device->Clear(plat::kClearTarget, kGrey, 1.0f, 0), plat::kOk);
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window->Handle(), &width, &height);
    ASSERT_EQ(width, kWindowWidth);
    ASSERT_EQ(height, kWindowHeight);

    const std::vector<uint32_t> shown = device->ReadWindow();
    ASSERT_EQ(shown.size(), static_cast<size_t>(kWindowWidth) * kWindowHeight);
    const auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * kWindowWidth + x]; };
    // 800 x 600 fills the height: 100 black columns each side.
    for (int y : {0, 300, kWindowHeight - 1}) {
        EXPECT_EQ(at(0, y), kBlack);
        EXPECT_EQ(at(99, y), kBlack);
        EXPECT_EQ(at(100, y), kGrey);
        EXPECT_EQ(at(500, y), kGrey);
        EXPECT_EQ(at(899, y), kGrey);
        EXPECT_EQ(at(900, y), kBlack);
        EXPECT_EQ(at(kWindowWidth - 1, y), kBlack);
    }
}

TEST(BackBufferPoint, ScalesInsideThePictureAndHoldsTheBarsToItsEdges) {
    // 1024 x 768 in 1600 x 900: 1200 x 900 between bars of 200; 1024 pixels over 1200 points.
    const plat::ShownRect beside = plat::FitInWindow(1024, 768, 1600, 900);
    const auto at = [&](int x, int y) {
        const plat::BufferPoint p = plat::BackBufferPointAt(beside, 1024, 768, x, y);
        return std::pair{p.x, p.y};
    };
    EXPECT_EQ(at(200, 0), std::pair(0, 0));
    EXPECT_EQ(at(1399, 899), std::pair(1023, 767));
    EXPECT_EQ(at(199, 300), std::pair(0, 256));
    EXPECT_EQ(at(1599, 300), std::pair(1023, 256));

    // 800 x 600 in 800 x 800: bars of 100 above and below.
    const plat::ShownRect above = plat::FitInWindow(800, 600, 800, 800);
    const auto down = [&](int y) { return plat::BackBufferPointAt(above, 800, 600, 400, y).y; };
    EXPECT_EQ(down(99), 0);
    EXPECT_EQ(down(700), 599);
    EXPECT_EQ(down(799), 599);
}

TEST(WindowGoneError, TheCoreAndTheGlxErrorsOfAMissingWindowCount) {
    constexpr int kGlxFirstError = 161;
    EXPECT_TRUE(plat::IsWindowGoneError(BadWindow, kGlxFirstError));
    EXPECT_TRUE(plat::IsWindowGoneError(kGlxFirstError + 2, kGlxFirstError));  // GLXBadDrawable
    EXPECT_TRUE(plat::IsWindowGoneError(kGlxFirstError + 12, kGlxFirstError)); // GLXBadWindow
    EXPECT_FALSE(plat::IsWindowGoneError(kGlxFirstError, kGlxFirstError));     // GLXBadContext
    EXPECT_FALSE(plat::IsWindowGoneError(kGlxFirstError + 5, kGlxFirstError)); // GLXBadCurrentWindow
    // Without GLX those offsets are core errors of other kinds.
    EXPECT_FALSE(plat::IsWindowGoneError(BadValue, 0));
}

} // namespace

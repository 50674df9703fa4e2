// What Present puts in a window of another shape than the back buffer's, and which X errors say the
// window is gone. Runs on SDL's offscreen driver.
#include "gl_support.h"

#include "platform/sdl/sdlquit.h"

#include <X11/X.h>

#include <memory>
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

TEST(WindowGoneError, TheCoreAndTheGlxErrorsOfAMissingWindowCount) {
    constexpr int kGlxFirstError = 161;
    EXPECT_TRUE(plat::IsWindowGoneError(BadWindow, kGlxFirstError));
    EXPECT_TRUE(plat::IsWindowGoneError(BadDrawable, kGlxFirstError));
    EXPECT_TRUE(plat::IsWindowGoneError(kGlxFirstError + 2, kGlxFirstError));  // GLXBadDrawable
    EXPECT_TRUE(plat::IsWindowGoneError(kGlxFirstError + 12, kGlxFirstError)); // GLXBadWindow
    EXPECT_FALSE(plat::IsWindowGoneError(BadMatch, kGlxFirstError));
    EXPECT_FALSE(plat::IsWindowGoneError(kGlxFirstError, kGlxFirstError));     // GLXBadContext
    EXPECT_FALSE(plat::IsWindowGoneError(kGlxFirstError + 5, kGlxFirstError)); // GLXBadCurrentWindow
    // Without GLX those offsets are core errors of other kinds.
    EXPECT_FALSE(plat::IsWindowGoneError(BadValue, 0));
    EXPECT_FALSE(plat::IsWindowGoneError(BadColor, 0));
}

} // namespace

// A small kingdom on the OpenGL device, seen through the top-down camera: each cell shows its tile's
// picture where the grid puts it, the buildings lie over their cells and the Capital spreads over its
// neighbours. The committed pictures are drawn ("../Assets" from tests/) and compared with themselves.
// Set THORNVALE_SNAPSHOT_DIR to keep what was drawn as a PNG file.
#include "gl_support.h"

#include "kingdom/gamedata.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace gltest;

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Colour OfPixel(uint32_t argb) {
    return {static_cast<double>((argb >> 16) & 0xFF), static_cast<double>((argb >> 8) & 0xFF),
            static_cast<double>(argb & 0xFF)};
}

double Distance(const Colour& a, const Colour& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// A picture with the mean colours the cells are compared by.
struct Picture : Image {
    // The mean over the middle of a rectangle (a fifth of each side left out), opaque texels only.
    Colour Mean(int left, int top, int w, int h) const {
        Colour sum;
        int n = 0;
        for (int y = top + h / 5; y < top + h - h / 5; ++y) {
            for (int x = left + w / 5; x < left + w - w / 5; ++x) {
                const uint32_t p = At(x, y);
                if ((p >> 24) < 128) {
                    continue;
                }
                const Colour c = OfPixel(p);
                sum.r += c.r;
                sum.g += c.g;
                sum.b += c.b;
                ++n;
            }
        }
        return n == 0 ? Colour{} : Colour{sum.r / n, sum.g / n, sum.b / n};
    }
};

Picture LoadPicture(const std::string& file) {
    return {LoadImage(file)};
}

class GlKingdom : public GlFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlFixture::SetUp());
        renderer().textures.Load(engine->m_display.defaultTexture);
    }

    GameData& world() { return *engine->m_gameData; }

    // Resident as after the loading screen's folder scan.
    void Resident(const std::string& xmlFile) {
        Sprite sprite;
        sprite.InitWithXML(xmlFile, false);
        sprite.Load(*engine);
    }

    Picture Draw(const std::string& name) {
        renderer().BeginFrame();
        world().m_activeCamera->ApplyToDevice(*engine);
        world().m_tileMap.Render(*engine);
        return {{static_cast<int>(renderer().backBufferWidth), static_cast<int>(renderer().backBufferHeight),
                 EndFrame(name)}};
    }
};

// A cell is 50 pixels across: the top-down camera shows 16 units over 800 pixels. The camera is centred
// on cell (1, 1), which is then at the middle of the picture.
constexpr int kCell = 50;
int CellLeft(uint32_t col) {
    return 400 + (static_cast<int>(col) - 1) * kCell - kCell / 2;
}
int CellTop(uint32_t row) {
    return 300 + (static_cast<int>(row) - 1) * kCell - kCell / 2;
}

TEST_F(GlKingdom, TheTopDownCameraShowsEachTileWhereTheGridPutsItAndTheBuildingsOverTheirCells) {
    TileMap& map = world().m_tileMap;
    ASSERT_TRUE(map.StartGrid(3, 3));
    const TileType types[3][3] = {{TILE_PATH, TILE_EMPTY, TILE_GATE},
                                  {TILE_EMPTY, TILE_BUILDING, TILE_CRACK},
                                  {TILE_CAPITAL, TILE_PATH, TILE_PATH}};
    for (uint32_t row = 0; row < 3; ++row) {
        for (uint32_t col = 0; col < 3; ++col) {
            ASSERT_TRUE(map.AppendTile(std::make_unique<KRTile>(row, col, types[row][col])));
        }
    }
    map.PlaceBuilding(1, 1, BUILDING_FARM);
    map.PlaceBuilding(2, 0, BUILDING_CAPITAL);
    // The hover tile away from the map.
    map.m_hoverTile.m_boundingBox.m_position = {40.0f, -0.5f, 40.0f};
    for (const char* picture :
         {"../Assets/Tiles/tileempty.xml", "../Assets/Tiles/tilepath.xml", "../Assets/Tiles/tilebldgbase.xml",
          "../Assets/Tiles/tilegate.xml", "../Assets/Tiles/tile_crack.xml", "../Assets/tilecapital.xml",
          "../Assets/Buildings/farm_bldg.xml", "../Assets/overlay.xml"}) {
        Resident(picture);
    }
    KROrthoCamera& top = world().m_kingdomCamera;
    top.Eye() = {1.0f, 10.0f, -1.0f};
    top.m_target = {1.0f, 0.0f, -1.0f};
    world().m_activeCamera = &top;
    const Picture drawn = Draw("kingdom_top_view");

    // Plain cells show their own picture.
    const Picture path = LoadPicture("../Assets/Tiles/tilepath.png");
    const Picture empty = LoadPicture("../Assets/Tiles/tileempty.png");
    const Picture gate = LoadPicture("../Assets/Tiles/tilegate.png");
    const Picture crack = LoadPicture("../Assets/Tiles/tile_crack.png");
    struct Expectation {
        uint32_t row;
        uint32_t col;
        Colour colour;
    };
    const Expectation plain[] = {{0, 0, path.Mean(0, 0, 64, 64)},  {0, 1, empty.Mean(0, 0, 64, 64)},
                                 {0, 2, gate.Mean(0, 0, 64, 64)},  {1, 0, empty.Mean(0, 0, 64, 64)},
                                 {1, 2, crack.Mean(0, 0, 64, 64)}, {2, 2, path.Mean(0, 0, 64, 64)}};
    for (const Expectation& e : plain) {
        const Colour got = drawn.Mean(CellLeft(e.col), CellTop(e.row), kCell, kCell);
        EXPECT_LT(Distance(got, e.colour), 12.0) << "cell " << e.row << "," << e.col;
    }
    // Different kinds of ground are told apart at a glance.
    EXPECT_GT(Distance(path.Mean(0, 0, 64, 64), empty.Mean(0, 0, 64, 64)), 40.0);
    EXPECT_GT(Distance(crack.Mean(0, 0, 64, 64), empty.Mean(0, 0, 64, 64)), 30.0);

    // Outside the map the picture stays clear.
    EXPECT_EQ(drawn.At(CellLeft(0) - 10, CellTop(0) + 10), kGrey);
    EXPECT_EQ(drawn.At(CellLeft(3) + 10, CellTop(1) + 10), kGrey);
    EXPECT_NE(drawn.At(CellLeft(2) + kCell - 3, CellTop(0) + 3), kGrey);

    // The farm: its red barn over the building's grey flagstones.
    int red = 0;
    for (int y = CellTop(1); y < CellTop(1) + kCell; ++y) {
        for (int x = CellLeft(1); x < CellLeft(1) + kCell; ++x) {
            const Colour c = OfPixel(drawn.At(x, y));
            red += c.r > 140.0 && c.g < 90.0 && c.b < 80.0 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 150);

    // The Capital stands 1.5 cells wide and 2 tall; laid over its cell it reaches from the middle of the
    // row above to half a cell past the map's edge, and a quarter cell past its sides.
    int blueAbove = 0;
    for (int y = CellTop(1); y < CellTop(2); ++y) {
        for (int x = CellLeft(0) - kCell / 4; x < CellLeft(0) + kCell + kCell / 4; ++x) {
            const Colour c = OfPixel(drawn.At(x, y));
            blueAbove += c.b > 130.0 && c.r < 90.0 && c.b > c.g + 30.0 ? 1 : 0;
        }
    }
    EXPECT_GT(blueAbove, 30);
    EXPECT_NE(drawn.At(CellLeft(0) - 3, CellTop(2) + 25), kGrey);
    EXPECT_NE(drawn.At(CellLeft(0) + 5, CellTop(3) + 10), kGrey);
    EXPECT_EQ(drawn.At(CellLeft(0) + 25, CellTop(3) + 35), kGrey);
    // Its dark gate near the bottom of the picture, below its own cell's middle.
    const Colour door = drawn.Mean(CellLeft(0) + 18, CellTop(2) + 46, 14, 18);
    EXPECT_LT(door.r, 90.0);
    EXPECT_LT(door.g, 70.0);
}

} // namespace

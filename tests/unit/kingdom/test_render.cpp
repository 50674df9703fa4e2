// Where the map, its buildings and the skybox are drawn.
#include "kingdom_support.h"

#include <cmath>

namespace {

using kingdomtest::Apply;
using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;

class MapDrawing : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        for (const char* picture : {"../Assets/Tiles/tileempty.xml", "../Assets/Tiles/tilepath.xml",
                                    "../Assets/Tiles/tilebldgbase.xml", "../Assets/tilecapital.xml",
                                    "../Assets/Buildings/farm_bldg.xml", "../Assets/overlay.xml"}) {
            LoadPicture(picture);
        }
        MakeMap(world().m_tileMap, {".#", "CB"});
        world().m_tileMap.PlaceBuilding(1, 0, BUILDING_CAPITAL);
        world().m_tileMap.PlaceBuilding(1, 1, BUILDING_FARM);
    }

    static void ExpectNear(const plat::Vector3& got, const plat::Vector3& want) {
        EXPECT_NEAR(got.x, want.x, 1e-5f);
        EXPECT_NEAR(got.y, want.y, 1e-5f);
        EXPECT_NEAR(got.z, want.z, 1e-5f);
    }
};

TEST_F(MapDrawing, TilesLieOnTheGroundAndBuildingsStandOnTheirCells) {
    world().m_activeCamera = &world().m_perspCamera;
    world().m_tileMap.m_hoverTile.m_boundingBox.m_position = {1.0f, -0.5f, 0.0f};
    world().m_tileMap.Render(*engine);
    const auto& draws = device->draws;
    ASSERT_EQ(draws.size(), 4u + 2u + 1u);

    // Tiles in grid order, flat: the top edge of the picture lies half a unit further up the map (+z).
    const plat::Vector3 cells[] = {{0, -0.5f, 0}, {1, -0.5f, 0}, {0, -0.5f, -1}, {1, -0.5f, -1}};
    for (size_t i = 0; i < 4; ++i) {
        ExpectNear(Apply(draws[i].world, {0, 0, 0}), cells[i]);
        ExpectNear(Apply(draws[i].world, {0, 0.5f, 0}), cells[i] + plat::Vector3{0, 0, 0.5f});
    }
    EXPECT_EQ(draws[0].texture, "../Assets/Tiles/tileempty.png");
    EXPECT_EQ(draws[1].texture, "../Assets/Tiles/tilepath.png");

    // The Capital stands 1.5 wide and 2 high with its foot on the ground; others at -0.2, upright.
    EXPECT_EQ(draws[4].texture, "../Assets/tilecapital.png");
    ExpectNear(Apply(draws[4].world, {0, 0, 0}), {0, 0.5f, -1});
    ExpectNear(Apply(draws[4].world, {0.5f, -0.5f, 0}), {0.75f, -0.5f, -1});
    EXPECT_EQ(draws[5].texture, "../Assets/Buildings/farm_bldg.png");
    ExpectNear(Apply(draws[5].world, {0, 0, 0}), {1, -0.2f, -1});
    ExpectNear(Apply(draws[5].world, {0, 0.5f, 0}), {1, 0.3f, -1});

    // The hover tile last, flat over the cell it was moved to.
    EXPECT_EQ(draws[6].texture, "../Assets/overlay.png");
    ExpectNear(Apply(draws[6].world, {0, 0.5f, 0}), {1, -0.5f, 0.5f});
}

TEST_F(MapDrawing, AlikeNeighboursAlongARowAreOneQuadWithThePictureRepeated) {
    TileMap& map = world().m_tileMap;
    MakeMap(map, {"....", ".#..", "...."});
    map.GetTile(2, 2)->m_sprite.m_fadeLevel = 1;
    world().m_activeCamera = &world().m_perspCamera;
    map.Render(*engine);
    std::vector<kingdomtest::Draw> ground;
    for (const auto& draw : device->draws) {
        if (draw.texture.find("/Tiles/") != std::string::npos) {
            ground.push_back(draw);
        }
    }
    // Row 0 whole; row 1 broken by the path; row 2 by the faded cell.
    ASSERT_EQ(ground.size(), 1u + 3u + 3u);
    struct Span {
        float left, right, z, repeats;
    };
    const Span spans[] = {{-0.5f, 3.5f, 0, 4}, {-0.5f, 0.5f, -1, 1}, {0.5f, 1.5f, -1, 1},
                          {1.5f, 3.5f, -1, 2}, {-0.5f, 1.5f, -2, 2}, {1.5f, 2.5f, -2, 1},
                          {2.5f, 3.5f, -2, 1}};
    for (size_t i = 0; i < ground.size(); ++i) {
        ExpectNear(Apply(ground[i].world, {-0.5f, 0, 0}), {spans[i].left, -0.5f, spans[i].z});
        ExpectNear(Apply(ground[i].world, {0.5f, 0.5f, 0}), {spans[i].right, -0.5f, spans[i].z + 0.5f});
        // The picture once per cell: u runs to the number of cells.
        EXPECT_FLOAT_EQ(Apply(ground[i].texture0, {1, 0, 0}).x, spans[i].repeats) << i;
    }
    EXPECT_EQ(ground[1].texture, "../Assets/Tiles/tileempty.png");
    EXPECT_EQ(ground[2].texture, "../Assets/Tiles/tilepath.png");
    // The first cell of a run is left as it was.
    const KRTile& first = *map.GetTile(0, 0);
    ExpectNear(first.m_boundingBox.m_position, {0, -0.5f, 0});
    EXPECT_EQ(first.m_boundingBox.m_scale[0], 1.0f);
    EXPECT_EQ(first.m_sprite.m_repeatAcross, 1u);
}

TEST_F(MapDrawing, FromStraightAboveBuildingsAreLaidOverTheirCells) {
    world().m_activeCamera = &world().m_kingdomCamera;
    world().m_tileMap.Render(*engine);
    const auto& draws = device->draws;
    ASSERT_EQ(draws.size(), 7u);
    // Still at their heights, so they cover the ground, but their pictures face the sky.
    ExpectNear(Apply(draws[4].world, {0, 0, 0}), {0, 0.5f, -1});
    ExpectNear(Apply(draws[4].world, {0, 0.5f, 0}), {0, 0.5f, 0.0f});
    ExpectNear(Apply(draws[5].world, {0, 0.5f, 0}), {1, -0.2f, -0.5f});
    ExpectNear(Apply(draws[5].world, {0.5f, 0, 0}), {1.5f, -0.2f, -1});
    // Drawn again through the other camera, they stand up again.
    device->draws.clear();
    world().m_activeCamera = &world().m_perspCamera;
    world().m_tileMap.Render(*engine);
    ExpectNear(Apply(device->draws[5].world, {0, 0.5f, 0}), {1, 0.3f, -1});
}

TEST_F(MapDrawing, TheSkyboxSurroundsTheActiveCamera) {
    for (const char* face : {"../Assets/Textures/Skybox/front.xml", "../Assets/Textures/Skybox/left.xml",
                             "../Assets/Textures/Skybox/right.xml", "../Assets/Textures/Skybox/bottom.xml"}) {
        LoadPicture(face);
    }
    world().m_activeCamera = &world().m_kingdomCamera;
    world().DrawSkybox(*engine);
    ASSERT_EQ(device->draws.size(), 4u);
    const plat::Vector3 eye = world().m_kingdomCamera.Eye();
    ExpectNear(Apply(device->draws[0].world, {0, 0, 0}), eye + plat::Vector3{0, 0, 500});
    ExpectNear(Apply(device->draws[1].world, {0, 0, 0}), eye + plat::Vector3{-500, 0, 0});
    ExpectNear(Apply(device->draws[2].world, {0, 0, 0}), eye + plat::Vector3{500, 0, 0});
    ExpectNear(Apply(device->draws[3].world, {0, 0, 0}), eye + plat::Vector3{0, -500, 0});
    // Each face is 1000 across and faces the camera's side of it: the bottom lies flat.
    const plat::Vector3 corner = Apply(device->draws[3].world, {0.5f, 0.5f, 0});
    EXPECT_NEAR(corner.y, eye.y - 500.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(corner.x - eye.x), 500.0f, 1e-3f);
}

} // namespace

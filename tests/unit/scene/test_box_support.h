// Shared set-up of the HUD box tests: the sprite tests' engine and scratch Assets folder with the
// textures boxes switch between, a GameData that owns the boxes, and a box context that records what
// the boxes asked of the realm.
#pragma once

#include "kingdom/gamedata.h"
#include "scene/boxobject.h"
#include "scene/hudtext.h"
#include "sprite_support.h"

#include <string>
#include <utility>
#include <vector>

namespace boxtest {

class RecordingBoxContext : public BoxContext {
  public:
    bool IsPaused() const override { return paused; }
    void SelectUnit(KRUnit* unit) override { selectedUnit = unit; }
    void SetToolMode(int32_t mode) override { toolMode = mode; }
    void PlaceSelectionMarker(KRUnit* unit) override { markerUnit = unit; }
    void SelectBox(BoxObject* box) override { selectedBox = box; }
    void ForgetBox(const BoxObject* box) override {
        if (selectedBox == box) {
            selectedBox = nullptr;
        }
    }
    void DispatchBoxAction(BoxActionId id, BoxObject* box) override { dispatched.emplace_back(id, box); }
    int32_t GameMode() const override { return gameMode; }
    int32_t InfoPage() const override { return infoPage; }
    int32_t UnitPage() const override { return unitPage; }

    bool paused = false;
    KRUnit* selectedUnit = nullptr;
    int32_t toolMode = 0;
    KRUnit* markerUnit = nullptr;
    BoxObject* selectedBox = nullptr;
    std::vector<std::pair<BoxActionId, BoxObject*>> dispatched;
    int32_t gameMode = 0;
    int32_t infoPage = 0;
    int32_t unitPage = 0;
};

class BoxTest : public spritetest::SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        for (const char* name :
             {"guibuttonsheet", "krbcspr", "fonts", "defaulttexture", "Buttons/ButtonFlash",
              "Buttons/ButtonDarkGrey", "Buttons/LeftArrowButtons", "Buttons/RightArrowButtons",
              "Buttons/ButtonDarkBlue", "Boxes/PlainBorder"}) {
            WriteTexture(name);
        }
        SetBoxContext(&context);
    }
    void TearDown() override {
        gameData.m_hudBoxes.clear();
        SetBoxContext(nullptr);
        SetTextCameraSource(nullptr);
        SpriteTest::TearDown();
    }

    // A one-frame texture configuration named after its file, with a PNG beside it.
    std::string WriteTexture(const std::string& name) {
        std::string type = name;
        for (char& c : type) {
            if (c == '/') {
                c = '_';
            }
        }
        std::string image = assets.WritePng(name + ".png");
        return assets.Write(
            name + ".xml",
            spritetest::TextureXml(type, "<File>" + image +
                                             "</File><Alpha>255</Alpha><Width>32</Width>"
                                             "<Height>32</Height><ScaleX>1</ScaleX><ScaleY>1</ScaleY>"));
    }

    // A box of gameData's list, shown, at a position and size.
    BoxObject* NewBox(float x = 0.0f, float z = 0.0f, float width = 1.0f, float height = 1.0f) {
        return CreateHudBox(gameData, x, 0.0f, z, width, height, 0, 1, 1.0f, 0.0f, 0.0f, true, true, true,
                            true, true, 0, 0);
    }

    // Every box of the list, one step each, in list order.
    void Step(float delta, int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            for (auto& box : gameData.m_hudBoxes) {
                box->Update(delta);
            }
        }
    }

    // Steps until no box has a command left; false when that never happens.
    bool Settle(float delta = 0.02f, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            bool busy = false;
            for (auto& box : gameData.m_hudBoxes) {
                busy = busy || !box->m_commands.empty();
            }
            if (!busy) {
                return true;
            }
            Step(delta);
        }
        return false;
    }

    RecordingBoxContext context;
    GameData gameData;
};

} // namespace boxtest

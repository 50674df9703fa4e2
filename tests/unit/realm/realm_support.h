// Shared set-up of the roster, merchant and invasion tests: a realm on the box tests' engine and world,
// whose random draws come from a script the test writes (0 once the script is used up, counted), and
// unit types with chosen statistics.
#pragma once

#include "battle/krunit.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/test_box_support.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace realmtest {

class RealmTest : public boxtest::BoxTest {
  protected:
    void SetUp() override {
        BoxTest::SetUp();
        for (const char* name : {"Tiles/tilebldgbase", "Units/golem_unit", "Units/taipen_unit", "Units/angel_unit",
                                 "Units/demon_unit", "Units/elvenkind_unit", "Units/elemental_unit",
                                 "Units/leviathian_unit", "Units/dragonkin_unit", "krbcspr"}) {
            WriteTexture(name);
        }
        // The commanders take their 45 draws from the fallback.
        realm = std::make_unique<PlayerEditor>(engine.get(), &gameData, [this] {
            if (draws.empty()) {
                ++extraDraws;
                return 0;
            }
            const int value = draws.front();
            draws.pop_front();
            return value;
        });
        extraDraws = 0;
    }
    void TearDown() override {
        realm.reset();
        BoxTest::TearDown();
    }

    // A type whose eight summed statistics are each `stat`, so that it costs 4 x stat x range.
    static std::unique_ptr<KRUnit> Type(float stat, int32_t range = 1, const std::string& typeName = "Golem") {
        auto unit = std::make_unique<KRUnit>(typeName);
        unit->m_typeName = typeName;
        unit->AttkSpd = unit->MoveSpd = unit->STR = unit->VIT = stat;
        unit->DEF = unit->Accuracy = unit->Force = unit->Evade = stat;
        unit->Range = range;
        return unit;
    }

    // A roster head as the HUD builds one: an empty list between its two arrows.
    BoxObject* RosterHead(bool closed = false) {
        return CreateHudListBox(gameData, -7.0f, 0.0f, -4.5f, 1.25f, 0.5f, 1, 1.0f, 0.0f, 0.0f, true, true, true,
                                closed, 0, -4.5f, 0.0f, -5.0f, 1.0f, 1.0f);
    }

    // The boxes after the head along its chain.
    static std::vector<BoxObject*> Chain(BoxObject* head) {
        std::vector<BoxObject*> boxes;
        for (BoxObject* box = head->m_next; box != nullptr && boxes.size() < 100; box = box->m_next) {
            boxes.push_back(box);
        }
        return boxes;
    }

    std::deque<int> draws;
    int extraDraws = 0;
    std::unique_ptr<PlayerEditor> realm;
};

} // namespace realmtest

// Shared set-up of the roster, merchant and invasion tests: a realm on the box tests' engine and world
// whose random draws come from a script the test writes (0 once it is used up), unit types with chosen
// statistics, and roster heads as the HUD builds them.
#pragma once

#include "battle/krunit.h"
#include "realm/playereditor.h"
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
        for (const char* name : {"Tiles/tilebldgbase", "Units/golem_unit", "Units/taipen_unit", "krbcspr"}) {
            WriteTexture(name);
        }
        realm = std::make_unique<PlayerEditor>(engine.get(), &gameData, [this] {
            const int value = draws.empty() ? 0 : draws.front();
            if (!draws.empty()) {
                draws.pop_front();
            }
            return value;
        });
    }
    void TearDown() override {
        realm.reset();
        BoxTest::TearDown();
    }

    // The eight summed statistics are each `stat`: the type costs 4 x stat x range.
    static std::unique_ptr<KRUnit> Type(float stat, int32_t range = 1) {
        auto unit = std::make_unique<KRUnit>("Golem");
        unit->AttkSpd = unit->MoveSpd = unit->STR = unit->VIT = stat;
        unit->DEF = unit->Accuracy = unit->Force = unit->Evade = stat;
        unit->Range = range;
        return unit;
    }

    // An empty list between its two arrows.
    BoxObject* RosterHead() {
        return CreateHudListBox(gameData, -7.0f, 0.0f, -4.5f, 1.25f, 0.5f, 1, 1.0f, 0.0f, 0.0f, true, true,
                                true, false, 0, -4.5f, 0.0f, -5.0f, 1.0f, 1.0f);
    }

    static std::vector<BoxObject*> Chain(const BoxObject* head) {
        std::vector<BoxObject*> boxes;
        for (BoxObject* box = head->m_next; box != nullptr && boxes.size() < 100; box = box->m_next) {
            boxes.push_back(box);
        }
        return boxes;
    }

    // One frame of the realm, its log kept out of the test's output.
    std::vector<std::string> Frame(float dt) {
        spritetest::CapturedLog log;
        realm->Update(dt);
        return log.Lines();
    }

    std::deque<int> draws;
    std::unique_ptr<PlayerEditor> realm;
};

} // namespace realmtest

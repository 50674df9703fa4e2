#include "battle/uniteditorscripts.h"

#include "battle/uniteditorstate.h"
#include "engine/engine.h"
#include "kingdom/gamedata.h"

namespace {

// The editor when it was requested last, or when it is on top again: a pop (leaving the pause menu)
// leaves the popped screen as the one last requested, and the editor's buttons must still work.
UnitEditorState* CurrentEditor() {
    Engine& engine = Engine::Instance();
    if (auto* editor = dynamic_cast<UnitEditorState*>(engine.m_lastRequestedState)) {
        return editor;
    }
    return dynamic_cast<UnitEditorState*>(engine.Top());
}

void AddPoint(StatIndex index) {
    if (UnitEditorState* editor = CurrentEditor()) {
        editor->AddPoint(index);
    }
}

void RemovePoint(StatIndex index) {
    if (UnitEditorState* editor = CurrentEditor()) {
        editor->RemovePoint(index);
    }
}

} // namespace

void ScriptUnit() {
    Engine& engine = Engine::Instance();
    if (engine.ChangeState(&UnitEditorState::Instance()) && engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_UNIT_EDITOR;
    }
}

void ScriptUStatConfirm() {
    if (UnitEditorState* editor = CurrentEditor()) {
        editor->Confirm(Engine::Instance());
    }
}

void ScriptUStatReset() {
    if (UnitEditorState* editor = CurrentEditor()) {
        editor->ResetPreview(Engine::Instance());
    }
}

void UStatAddHp() {
    AddPoint(STAT_BATTLE_HP);
}
void UStatMinusHp() {
    RemovePoint(STAT_BATTLE_HP);
}
void UStatAddStr() {
    AddPoint(STAT_STR);
}
void UStatMinusStr() {
    RemovePoint(STAT_STR);
}
void UStatAddVit() {
    AddPoint(STAT_VIT);
}
void UStatMinusVit() {
    RemovePoint(STAT_VIT);
}
void UStatAddDef() {
    AddPoint(STAT_DEF);
}
void UStatMinusDef() {
    RemovePoint(STAT_DEF);
}
void UStatAddMoveSpd() {
    AddPoint(STAT_MOVE_SPD);
}
void UStatMinusMovSpd() {
    RemovePoint(STAT_MOVE_SPD);
}
void UStatAddRange() {
    AddPoint(STAT_RANGE);
}
void UStatMinusRange() {
    RemovePoint(STAT_RANGE);
}
void UStatAddAccuracy() {
    AddPoint(STAT_ACCURACY);
}
void UStatMinusAccuracy() {
    RemovePoint(STAT_ACCURACY);
}
void UStatAddAttkSpd() {
    AddPoint(STAT_ATTK_SPD);
}
void UStatMinusAttkSpd() {
    RemovePoint(STAT_ATTK_SPD);
}
void UStatAddEvade() {
    AddPoint(STAT_EVADE);
}
void UStatMinusEvade() {
    RemovePoint(STAT_EVADE);
}
void UStatAddEnergy() {
    AddPoint(STAT_ENERGY);
}
void UStatMinusEnergy() {
    RemovePoint(STAT_ENERGY);
}

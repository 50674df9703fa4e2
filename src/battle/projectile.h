// Missiles of ranged soldiers, the sparks they throw on impact, and the race damage rule every hit
// goes through.
#pragma once

#include "battle/krunit.h"
#include "scene/krgameobject.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

inline constexpr const char* kProjectileFile = "../Assets/projectile.xml";

// The factor of an attacker race against a defender race; 1.0 for any race outside the table.
float RaceMultiplier(Race attacker, Race defender);

// What a hit that leaves the defender without health does: the death animation, the dead flag and,
// for the player's kills, a tenth of the dead unit's cost into the money stock.
void ApplyKill(KRMiniUnit& defender, bool attackerIsPlayer, float* moneyStock);

// A spark of an impact. It sits on its target while it has one; without, it flies to its aim and is
// finished on arrival, or once it strays too far.
class ScatterPiece : public KRGameObject {
  public:
    ScatterPiece(const plat::Vector3& from, const plat::Vector3& to);

    // Borrowed; cleared by whoever removes the soldier.
    KRMiniUnit* m_target = nullptr;
    plat::Vector3 m_position{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_aim{0.0f, 0.0f, 0.0f};
    uint8_t m_finished = 0;
};

class KRProjectile : public KRGameObject {
  public:
    // Launched from (x, y, z) at the target soldier; y is the height above the grid.
    KRProjectile(KRMiniUnit* target, float x, float y, float z, float damage, int32_t range,
                 float* moneyStock, KRUnit* attacker);
    // Its pieces still held lose their target.
    ~KRProjectile() override;

    // One step of the arc on the battle's game delta.
    void Move();
    bool HasHit();
    // The hit: damage, the kill, the shooter becoming the defender's chase target, and sparks.
    void Impact();
    // One frame of a piece of the scatter list.
    static void Scatter(ScatterPiece& piece, float frameTime);
    // Hands the pieces made by the impact over to the battle's scatter list.
    void TakeScatterPieces(std::list<std::unique_ptr<KRGameObject>>& into);

    float m_verticalSpeed = 0.0f;
    float m_distance = 0.0f;
    float m_arcHeight = 0.0f;
    plat::Vector3 m_position{0.0f, 0.0f, 0.0f};
    // Borrowed; cleared when the soldier is removed from its squad.
    KRMiniUnit* m_target = nullptr;
    float m_damage = 0.0f;
    float m_speedFactor = 1.0f;
    // Refreshed by the battle every frame before Move.
    float m_frameTime = 0.0f;
    int32_t m_range = 1;
    float m_lastVerticalStep = 0.0f;
    bool m_done = false;
    bool m_playerSide = true;
    std::string m_attackerTypeName;
    int32_t m_attackerCount = 0;
    Race m_attackerRace = RACE_UNKNOWN;
    std::vector<std::unique_ptr<ScatterPiece>> m_scatterPieces;
    int32_t m_pieceParameters[2] = {1, 0};
    float m_pieceSpread = 0.2f;
    int32_t m_pieceFlags = 0;
    float* m_moneyStock = nullptr;
    // Borrowed.
    KRUnit* m_attacker = nullptr;
};

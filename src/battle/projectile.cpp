#include "battle/projectile.h"

#include "battle/unitbattle.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kRaceCount = 8;
constexpr float kProjectileScale = 0.1f;
constexpr float kPieceScale = 0.05f;
constexpr int kPiecesPerImpact = 4;
constexpr float kPieceApproach = 10.0f;
constexpr float kPieceArrived = 0.05f;
constexpr float kPieceStrayed = 2.0f;
// A missile exactly above its target has no way to go sideways.
constexpr float kNoHorizontalDistance = 1e-6f;
// Launched straight above its target a missile has no arc; it drops as one shot one cell away would.
constexpr float kStraightDropDistance = 1.0f;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Attacker by defender, races in their own order.
const float kRaceTable[kRaceCount][kRaceCount] = {
    // Elv   Dra   Lev   Gol    Ele    Tai   Dem    Ang
    {1.0f, 1.0f, 1.0f, 3.0f, 3.0f, 1.0f, 1.0f, 0.25f},   // Elvenkind
    {2.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3.0f, 1.0f},    // Dragonkin
    {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 2.0f, 2.0f, 1.0f},    // Leviathian
    {1.0f, 1.0f, 1.0f, 5.0f, 0.5f, 2.0f, 1.0f, 0.25f},   // Golem
    {2.0f, 2.0f, 1.0f, 0.5f, 1.0f, 2.0f, 1.0f, 1.0f},    // Elemental
    {3.0f, 1.0f, 0.25f, 0.25f, 1.0f, 1.0f, 1.0f, 3.0f},  // Taipen
    {2.0f, 1.0f, 2.0f, 1.0f, 2.0f, 2.0f, 5.0f, 1.0f},    // Demon
    {1.0f, 1.0f, 1.0f, 0.25f, 0.25f, 1.0f, 10.0f, 0.25f} // Angel
};

// Every missile and spark looks the same: they copy one reading of the configuration rather than parse
// it again for each shot.
class ProjectileLook : public KRGameObject {
  public:
    ProjectileLook() : KRGameObject("KRProjectile", kProjectileFile) {}
};

const KRGameObject& Look() {
    static const ProjectileLook look;
    return look;
}

float HorizontalDistance(const plat::Vector3& a, const plat::Vector3& b) {
    const float dx = b.x - a.x;
    const float dz = b.z - a.z;
    return std::sqrt(dx * dx + dz * dz);
}

} // namespace

float RaceMultiplier(Race attacker, Race defender) {
    if (attacker < 0 || attacker >= kRaceCount || defender < 0 || defender >= kRaceCount) {
        return 1.0f;
    }
    return kRaceTable[attacker][defender];
}

void KRMiniUnit::TakeDamage(float damage, const std::string& attackerType, int32_t attackerCount,
                            Race attackerRace, bool attackerIsPlayer) {
    PlayerEditor* realm = BattleRealm();
    const float* mod = realm != nullptr ? realm->m_masteryMod : nullptr;
    float d = damage;
    if (attackerIsPlayer && mod != nullptr) {
        d += mod[MASTERY_COMMANDER];
    }
    const float factor = RaceMultiplier(attackerRace, m_race);
    d *= factor;
    if (mod != nullptr && std::rand() % 100 + 1 < static_cast<int>(mod[MASTERY_FATALITY])) {
        d *= mod[MASTERY_SHARPENED_ATTACKS];
    }
    const float armour = m_owner != nullptr ? m_owner->DEF : 0.0f;
    const float skin = mod != nullptr ? mod[MASTERY_HARDENED_SKIN] : 0.0f;
    d -= armour * (skin + 100.0f) / 100.0f;
    if (d <= 1.0f) {
        d = 1.0f;
    }
    if (realm != nullptr) {
        std::ostringstream dealt;
        dealt << (attackerIsPlayer ? "Your " : "Enemy's") << attackerType << "(" << attackerCount
              << ") dealt " << d << "(" << factor << "X)";
        realm->AddGameMessage(dealt.str(), 1, kWhite);
        std::ostringstream taken;
        taken << (attackerIsPlayer ? "dmg to Enemy's" : "dmg to Your")
              << (m_owner != nullptr ? m_owner->m_typeName : std::string()) << "("
              << (m_owner != nullptr ? m_owner->Size : 0) << ")";
        realm->AddGameMessage(taken.str(), 2, kWhite);
    }
    HP -= d;
}

void ApplyKill(KRMiniUnit& defender, bool attackerIsPlayer, float* moneyStock) {
    if (defender.HP > 0.0f) {
        return;
    }
    defender.m_sprite.SetAnimation("Dead");
    defender.m_sprite.m_oneShot = true;
    defender.m_sprite.m_hold = false;
    defender.m_dead = true;
    if (attackerIsPlayer) {
        if (moneyStock != nullptr && defender.m_owner != nullptr) {
            *moneyStock += defender.m_owner->ComputeCost() / 10.0f;
        }
        defender.HP = -9999.9f;
    }
}

ScatterPiece::ScatterPiece(const plat::Vector3& from, const plat::Vector3& to)
    : KRGameObject(Look()), m_position(from), m_aim(to) {
    m_name = "ScatterPiece";
    m_boundingBox.m_scale[0] = kPieceScale;
    m_boundingBox.m_scale[1] = kPieceScale;
    m_sprite.SetAnimation("Bullet");
    m_boundingBox.m_position = {from.x, from.y, -from.z};
}

KRProjectile::KRProjectile(KRMiniUnit* target, float x, float y, float z, float damage, int32_t range,
                           float* moneyStock, KRUnit* attacker)
    : KRGameObject(Look()), m_position{x, y, z}, m_target(target), m_damage(damage), m_range(range),
      m_moneyStock(moneyStock), m_attacker(attacker) {
    m_boundingBox.m_scale[0] = kProjectileScale;
    m_boundingBox.m_scale[1] = kProjectileScale;
    m_sprite.m_currentFrame = 8;
    m_sprite.SetAnimation("Bullet");
    if (GameData* world = BattleWorld()) {
        m_frameTime = world->m_battleFrameTime;
    }
    if (attacker != nullptr) {
        m_playerSide = attacker->m_playerSide;
        m_attackerTypeName = attacker->m_typeName;
        m_attackerCount = attacker->Size;
        m_attackerRace =
            attacker->m_soldiers.empty() ? attacker->m_race : attacker->m_soldiers.front().m_race;
    }
    if (target != nullptr) {
        m_distance = HorizontalDistance(m_position, target->m_position);
    }
    m_verticalSpeed = m_arcHeight = m_distance * 0.5f;
    m_boundingBox.m_position = {x, y, -z};
}

KRProjectile::~KRProjectile() {
    for (auto& piece : m_scatterPieces) {
        piece->m_target = nullptr;
    }
}

void KRProjectile::Move() {
    if (m_target == nullptr) {
        m_done = true;
        return;
    }
    const float dt = m_frameTime;
    const float h = (m_distance > kNoHorizontalDistance ? m_distance : kStraightDropDistance) * 0.5f;
    m_lastVerticalStep = h * dt;
    m_verticalSpeed -= h * dt;
    const plat::Vector3& aim = m_target->m_position;
    const float dx = aim.x - m_position.x;
    const float dz = aim.z - m_position.z;
    const float length = std::sqrt(dx * dx + dz * dz);
    if (m_verticalSpeed < 0.0f && m_position.y > 0.0f && h > 0.0f && m_arcHeight > 0.0f) {
        m_speedFactor = length / h - m_position.y / (m_arcHeight * 0.5f) + 1.0f;
    }
    if (length > kNoHorizontalDistance) {
        // Never past the target in one step.
        const float step = std::min(m_speedFactor * m_distance * 0.5f * dt, length);
        const float along = std::max(step, -length);
        m_position.x += along * (dx / length);
        m_position.z += along * (dz / length);
    }
    m_position.y += m_verticalSpeed * dt;
    if (m_position.y < 0.0f) {
        m_position.y = 0.0f;
    }
}

bool KRProjectile::HasHit() {
    if (m_target == nullptr) {
        m_done = true;
        return false;
    }
    return Distance3(m_position, m_target->m_position) <= m_target->m_radius * 0.5f;
}

void KRProjectile::Impact() {
    if (m_target == nullptr) {
        m_done = true;
        return;
    }
    KRMiniUnit& defender = *m_target;
    defender.TakeDamage(m_damage, m_attackerTypeName, m_attackerCount, m_attackerRace, m_playerSide);
    ApplyKill(defender, m_playerSide, m_moneyStock);
    KRUnit* defending = defender.m_owner;
    if (defending != nullptr && defending->m_stance == 1 && defending->m_chaseTarget == nullptr &&
        m_attacker != nullptr && m_attacker->m_lifeState == UNIT_ACTIVE) {
        defending->m_chaseTarget = m_attacker;
    }
    for (int i = 0; i < kPiecesPerImpact; ++i) {
        const float spread = m_pieceSpread + static_cast<float>(std::rand() % 10) / 50.0f;
        const float angle = static_cast<float>(i) * 1.5708f + static_cast<float>(std::rand() % 10) * 0.1f;
        const plat::Vector3 to{m_position.x + spread * std::cos(angle), m_position.y + spread * 0.5f,
                               m_position.z + spread * std::sin(angle)};
        m_scatterPieces.push_back(std::make_unique<ScatterPiece>(m_position, to));
    }
    for (auto& piece : m_scatterPieces) {
        piece->m_target = nullptr;
    }
}

void KRProjectile::TakeScatterPieces(std::list<std::unique_ptr<KRGameObject>>& into) {
    for (auto& piece : m_scatterPieces) {
        into.push_back(std::move(piece));
    }
    m_scatterPieces.clear();
}

void KRProjectile::Scatter(ScatterPiece& piece, float frameTime) {
    if (piece.m_target != nullptr) {
        piece.m_position = piece.m_target->m_position;
    }
    piece.m_position = piece.m_position + (piece.m_aim - piece.m_position) * (frameTime * kPieceApproach);
    const float jx = static_cast<float>(std::rand() % 10) / 100.0f;
    const float jy = static_cast<float>(std::rand() % 10) / 100.0f;
    const float jz = static_cast<float>(std::rand() % 10) / 100.0f;
    piece.m_boundingBox.m_position = {piece.m_position.x + jx, piece.m_position.y + jy,
                                      -(piece.m_position.z + jz)};
    if (piece.m_target != nullptr) {
        return;
    }
    const float left = Distance3(piece.m_aim, piece.m_position);
    if (left <= kPieceArrived || left >= kPieceStrayed) {
        piece.m_finished = 1;
    }
}

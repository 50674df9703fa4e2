// The three rosters: technologies bought from merchants, offers on sale and purchased groups, each
// entry a unit copy shown by a box chained into its roster's HUD list.
#include "realm/playereditor.h"

#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "kingdom/mail.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* kBaseUnitName = "New Base Unit";
constexpr const char* kMerchantUnitName = "New Merchant Unit";
constexpr const char* kPurchasedUnitName = "New Purchased Unit";
constexpr const char* kRosterBoxBaseFile = "../Assets/Tiles/tilebldgbase.xml";
constexpr float kSmallestGroup = 1.0f;
constexpr float kLargestGroup = 9.0f;
// Entries past this many start folded away.
constexpr size_t kRosterEntriesShown = 8;
// A list group with more members than this hides the newest.
constexpr size_t kListMembersShown = 10;

// The unit upkeep that each realm resource is charged from; Money is charged as the cost.
constexpr UnitUpkeep kUpkeepOfResource[RESOURCE_COUNT] = {
    UPKEEP_FIRE,  UPKEEP_EARTH,   UPKEEP_LIGHT, UPKEEP_NATURE, UPKEEP_ICE,
    UPKEEP_METAL, UPKEEP_PSYCHIC, UPKEEP_DARK,  UPKEEP_MONEY,  UPKEEP_POP};

// A refused recruitment's letter: the prefix, then the short stock as the HUD counters name it.
constexpr const char* kNotEnoughPrefix = "You Don't Have Enough ";
constexpr const char* kStockNames[RESOURCE_COUNT] = {"Fire",  "Earth",   "Light",    "Nature", "Ice",
                                                     "Metal", "Psychic", "Darkness", "Money",  "Population"};

// The box a new entry follows: the last before the end arrow, or the chain's last.
BoxObject* LastEntryBox(BoxObject* head) {
    std::unordered_set<const BoxObject*> seen{head};
    BoxObject* box = head;
    while (box->m_next != nullptr && box->m_next->m_actionId != kBoxActionScrollForward &&
           seen.insert(box->m_next).second) {
        box = box->m_next;
    }
    return box;
}

bool PointsInto(const float* source, const KRUnit* unit) {
    const auto at = reinterpret_cast<std::uintptr_t>(source);
    const auto begin = reinterpret_cast<std::uintptr_t>(unit);
    return at >= begin && at < begin + sizeof(KRUnit);
}

} // namespace

float PlayerEditor::PurchaseGroupSize() {
    if (!(m_purchaseGroupSize >= kSmallestGroup)) {
        m_purchaseGroupSize = kSmallestGroup;
    } else if (m_purchaseGroupSize > kLargestGroup) {
        m_purchaseGroupSize = kLargestGroup;
    }
    return m_purchaseGroupSize;
}

void PlayerEditor::ReleaseUnitSounds(KRUnit& unit) {
    if (m_engine != nullptr) {
        unit.Cleanup(*m_engine);
    }
}

void PlayerEditor::CreateBaseUnit(KRUnit* unit) {
    if (unit == nullptr) {
        return;
    }
    const float cost = unit->ComputeCost();
    if (!(m_stock[RESOURCE_MONEY] >= cost)) {
        return;
    }
    m_stock[RESOURCE_MONEY] -= cost;
    const float group = PurchaseGroupSize();
    unit->Size = static_cast<int32_t>(group);
    unit->m_soldierCount = group;
    auto copy = std::make_unique<KRUnit>(*unit);
    copy->m_sprite.m_visible = false;
    copy->m_name = kBaseUnitName;
    KRUnit* entry = copy.get();
    m_baseUnits.push_back(std::move(copy));
    AddRosterEntry(m_techRosterBox, entry, m_baseUnits.size(), false);
    // Bought from a merchant, the offer goes (and the unit with it).
    RemoveMerchantUnit(unit);
}

void PlayerEditor::CreateMerchantUnit(KRUnit* unit, float lifetime) {
    if (unit == nullptr) {
        return;
    }
    const float group = PurchaseGroupSize();
    unit->Size = static_cast<int32_t>(group);
    unit->m_soldierCount = group;
    auto copy = std::make_unique<KRUnit>(*unit);
    copy->m_sprite.m_visible = false;
    copy->m_name = kMerchantUnitName;
    KRUnit* entry = copy.get();
    m_merchantUnits.push_back(std::move(copy));
    BoxObject* box = AddRosterEntry(m_merchantRosterBox, entry, m_merchantUnits.size(), false);
    if (box != nullptr) {
        box->SetLifetime(lifetime);
        box->m_numberSource = box->LifetimeSource();
    }
}

bool PlayerEditor::CreatePurchasedUnit(KRUnit* unit, Resource* shortStock) {
    if (unit == nullptr) {
        return false;
    }
    const float group = PurchaseGroupSize();
    const float cost = unit->ComputeCost();
    const float total = cost * group;
    float charge[RESOURCE_COUNT] = {};
    for (int r = 0; r < RESOURCE_COUNT; ++r) {
        charge[r] = r == RESOURCE_MONEY ? total : unit->m_upkeep[kUpkeepOfResource[r]] * group;
        // Written to refuse a NaN as well as a shortfall.
        if (!(charge[r] <= m_stock[r])) {
            if (shortStock != nullptr) {
                *shortStock = static_cast<Resource>(r);
            }
            return false;
        }
    }
    for (int r = 0; r < RESOURCE_COUNT; ++r) {
        m_stock[r] -= charge[r];
    }
    unit->Size = static_cast<int32_t>(group);
    unit->m_soldierCount = group;
    auto copy = std::make_unique<KRUnit>(*unit);
    // The money upkeep is per soldier: the cost of one.
    copy->m_upkeep[UPKEEP_MONEY] = cost;
    copy->m_sprite.m_visible = false;
    copy->m_name = kPurchasedUnitName;
    KRUnit* entry = copy.get();
    m_purchasedUnits.push_back(std::move(copy));
    AddRosterEntry(m_armyRosterBox, entry, m_purchasedUnits.size(), true);
    return true;
}

void PlayerEditor::RestoreBaseUnit(std::unique_ptr<KRUnit> unit) {
    if (unit == nullptr) {
        return;
    }
    KRUnit* entry = unit.get();
    m_baseUnits.push_back(std::move(unit));
    AddRosterEntry(m_techRosterBox, entry, m_baseUnits.size(), false);
}

void PlayerEditor::RestorePurchasedUnit(std::unique_ptr<KRUnit> unit) {
    if (unit == nullptr) {
        return;
    }
    KRUnit* entry = unit.get();
    m_purchasedUnits.push_back(std::move(unit));
    AddRosterEntry(m_armyRosterBox, entry, m_purchasedUnits.size(), true);
}

BoxObject* PlayerEditor::AddRosterEntry(BoxObject* head, KRUnit* unit, size_t rosterSize, bool everyScreen) {
    if (head == nullptr || m_gameData == nullptr) {
        return nullptr;
    }
    const RosterKind kind = everyScreen ? ROSTER_PURCHASED : ROSTER_TECH_OR_OFFER;
    BoxObject* box = CreateHudBox(*m_gameData, 0.0f, 0.0f, 0.0f, 1.25f, 0.5f, 2, 1, 1.0f, 0.0f, 0.0f,
                                  everyScreen, true, everyScreen, everyScreen, false, kind, 0);
    box->m_actionId = unit->m_name == kMerchantUnitName ? kBoxActionMerchantOffer : kBoxActionRosterUnit;
    box->m_linkedUnit = unit;
    box->m_label.SetText(unit->m_name, {0.0f, 0.0f, 0.0f});
    if (everyScreen) {
        box->m_numberSource = &unit->m_soldierCount;
    }

    BoxObject* previous = LastEntryBox(head);
    BoxObject* following = previous->m_next;
    previous->m_next = box;
    box->m_anchor = previous;
    box->m_next = following;
    if (following != nullptr) {
        following->m_anchor = box;
    }
    box->m_baseHeight = previous->m_baseHeight;
    box->m_baseWidth = previous->m_baseWidth;
    box->m_boundingBox.m_scale[0] = previous->m_boundingBox.m_scale[0];
    box->m_boundingBox.m_scale[1] = previous->m_boundingBox.m_scale[1];
    box->m_anchorOffset = {previous->m_baseWidth, 0.0f, 0.0f};

    box->m_sprite.InitWithXML(kRosterBoxBaseFile, false);
    box->SetTexture(unit->m_sprite.m_xmlName);

    if (rosterSize <= kRosterEntriesShown) {
        box->m_folded = previous->m_folded;
        box->m_pickable = previous->m_pickable;
        box->m_sprite.m_visible = true;
    } else {
        box->m_folded = true;
        box->m_pickable = false;
        box->m_sprite.m_visible = false;
    }

    BoxObject* group = head->m_group != nullptr ? head->m_group : head;
    box->m_group = group;
    std::vector<BoxObject*>& members = group->m_members;
    if (box->m_folded || members.empty()) {
        box->m_layoutPosition = previous->m_layoutPosition;
    } else {
        const BoxObject* first = members.front();
        const float k = static_cast<float>(members.size()) - 1.0f;
        box->m_layoutPosition = {first->m_layoutPosition.x + k * box->m_anchorOffset.x,
                                 previous->m_layoutPosition.y,
                                 first->m_layoutPosition.z + k * box->m_anchorOffset.z};
    }
    members.insert(members.empty() ? members.end() : std::prev(members.end()), box);
    if (members.size() > kListMembersShown) {
        box->m_folded = true;
        box->m_pickable = false;
        box->m_sprite.m_visible = false;
    }

    // Unfolded, the box is placed by its index in the slot it comes to rest in: the slides still owed
    // by its predecessor would take it past, onto the predecessor's slot.
    if (box->m_folded) {
        for (const BoxCommand& command : previous->m_commands) {
            if (command.m_kind == BoxCommandKind::SlideLeft) {
                box->QueueCommand(BoxCommandKind::SlideLeft, command.m_speed);
            }
        }
    }
    return box;
}

void PlayerEditor::RemoveFrom(std::list<std::unique_ptr<KRUnit>>& roster, KRUnit* unit, bool alwaysDeselect) {
    auto held = std::find_if(roster.begin(), roster.end(),
                             [unit](const std::unique_ptr<KRUnit>& entry) { return entry.get() == unit; });
    if (held == roster.end()) {
        return;
    }
    std::unique_ptr<KRUnit> owned = std::move(*held);
    roster.erase(held);
    const bool purchased = &roster == &m_purchasedUnits;
    if (alwaysDeselect || m_selectedUnit == unit) {
        m_selectedUnit = nullptr;
    }
    if (m_editedUnit == unit) {
        m_editedUnit = nullptr;
    }
    if (m_gameData != nullptr) {
        m_gameData->m_playerUnits.remove(unit);
        auto& boxes = m_gameData->m_hudBoxes;
        // Display boxes that showed one of its numbers show nothing from now on.
        for (const auto& box : boxes) {
            if (box->m_numberSource != nullptr && PointsInto(box->m_numberSource, unit)) {
                box->m_numberSource = &m_zeroDisplay;
            }
        }
        auto linked = std::find_if(boxes.begin(), boxes.end(), [unit](const std::unique_ptr<BoxObject>& box) {
            return box->m_linkedUnit == unit;
        });
        if (linked != boxes.end()) {
            BoxObject* box = linked->get();
            std::unordered_set<const BoxObject*> seen{box};
            bool unfolded = !purchased;
            for (BoxObject* after = box->m_next; after != nullptr && seen.insert(after).second;
                 after = after->m_next) {
                if (!purchased) {
                    // The end arrow keeps the place the list gave it.
                    if (after->m_actionId == kBoxActionScrollForward) {
                        continue;
                    }
                    // A slide cut short would leave the box between two slots, over its neighbour.
                    after->m_commands.remove_if([](const BoxCommand& command) {
                        return command.m_kind != BoxCommandKind::SlideLeft;
                    });
                }
                after->QueueCommand(BoxCommandKind::SlideLeft, 0.0f);
                // The next entry kept out of sight comes into view; the end arrow stays as the list has it.
                if (!unfolded && after->m_folded && after->m_linkedUnit != nullptr) {
                    after->m_folded = false;
                    after->m_pickable = true;
                    after->m_sprite.m_visible = true;
                    unfolded = true;
                }
            }
            // Any other box that still names the unit forgets it.
            for (const auto& other : boxes) {
                if (other->m_linkedUnit == unit) {
                    other->m_linkedUnit = nullptr;
                }
            }
            ForgetBox(box);
            DeleteHudBox(*m_gameData, box);
        }
    }
    ReleaseUnitSounds(*owned);
    // The unit goes as `owned` leaves scope.
}

void PlayerEditor::RemoveBaseUnit(KRUnit* unit) {
    RemoveFrom(m_baseUnits, unit, false);
}

void PlayerEditor::RemoveMerchantUnit(KRUnit* unit) {
    RemoveFrom(m_merchantUnits, unit, false);
}

void PlayerEditor::RemovePurchasedUnit(KRUnit* unit) {
    RemoveFrom(m_purchasedUnits, unit, true);
}

void PlayerEditor::RemoveExpiredMerchantUnits() {
    if (m_merchantRosterBox == nullptr) {
        return;
    }
    const BoxObject* group =
        m_merchantRosterBox->m_group != nullptr ? m_merchantRosterBox->m_group : m_merchantRosterBox;
    if (group->m_members.size() < 2) {
        return;
    }
    // Collected first: each removal edits the member list.
    std::vector<KRUnit*> expired;
    for (size_t i = 1; i < group->m_members.size(); ++i) {
        const BoxObject* member = group->m_members[i];
        if (member != nullptr && member->m_expired && member->m_linkedUnit != nullptr) {
            expired.push_back(member->m_linkedUnit);
        }
    }
    for (KRUnit* unit : expired) {
        RemoveMerchantUnit(unit);
    }
}

void PlayerEditor::BuySelectedFromMerchant() {
    if (m_selectedUnit != nullptr && m_selectedUnit->m_name == kMerchantUnitName) {
        CreateBaseUnit(m_selectedUnit);
    }
}

void PlayerEditor::RecruitSelectedUnit() {
    if (m_selectedUnit == nullptr || m_selectedUnit->m_name != kBaseUnitName) {
        return;
    }
    // An upkeep under a tenth shows as 0 on the page: without a letter the refusal would go unexplained.
    Resource shortStock = RESOURCE_COUNT;
    if (!CreatePurchasedUnit(m_selectedUnit, &shortStock) && shortStock != RESOURCE_COUNT &&
        m_gameData != nullptr) {
        m_gameData->m_mailList.AddMail(std::string(kNotEnoughPrefix) + kStockNames[shortStock], MAIL_ALERT);
    }
}

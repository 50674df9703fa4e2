// The slot folders of the save screen: where they are, which there are, and what each one shows.
#include "flow/saveloadstate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "platform/documents.h"
#include "realm/armyconfig.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNewDataText = "New Data";
// How far past the slot count a new folder's number is looked for.
constexpr uint32_t kMaxSlotNumberSearch = 10000;

PlayerEditor* Realm() {
    Engine* engine = Engine::Current();
    return engine != nullptr ? engine->m_playerEditor : nullptr;
}

void SetFirstValue(BoxObject* head, const std::string& text) {
    if (head != nullptr && head->m_next != nullptr) {
        head->m_next->m_label.SetText(text, {0.0f, 0.0f, 0.0f});
    }
}

// Runs of digits compare by their value, so that Data2 comes before Data10; everything else by
// character. Names equal in that way (Data02, Data2) keep their plain order.
bool SlotNameBefore(const std::string& a, const std::string& b) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (!digit(a[i]) || !digit(b[j])) {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
            continue;
        }
        const size_t aStart = i;
        const size_t bStart = j;
        while (i < a.size() && digit(a[i])) {
            ++i;
        }
        while (j < b.size() && digit(b[j])) {
            ++j;
        }
        // Leading zeros dropped, the longer number is the larger; of equal length, the plain order.
        std::string_view aNumber(a.data() + aStart, i - aStart);
        std::string_view bNumber(b.data() + bStart, j - bStart);
        aNumber.remove_prefix(std::min(aNumber.find_first_not_of('0'), aNumber.size()));
        bNumber.remove_prefix(std::min(bNumber.find_first_not_of('0'), bNumber.size()));
        if (aNumber.size() != bNumber.size()) {
            return aNumber.size() < bNumber.size();
        }
        if (aNumber != bNumber) {
            return aNumber < bNumber;
        }
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b;
}

} // namespace

bool SaveLoadState::ScanSaveFolder() {
    m_slotPaths.clear();
    const std::string documents = plat::DocumentsFolder();
    if (documents.empty()) {
        LogLine("No documents folder: games cannot be saved");
        // Nothing may then be written, not even where an earlier scan found the folder.
        m_saveFolder.clear();
        m_selectedSlot = 0;
        return false;
    }
    std::error_code error;
    fs::create_directory(documents + AssetPaths::kSaveGameFolder, error);
    fs::create_directory(std::string(documents) + AssetPaths::kSaveGameFolder + AssetPaths::kSaveDataFolder,
                         error);
    m_saveFolder = documents + AssetPaths::kSaveDataPath;

    bool complete = true;
    fs::directory_iterator it(m_saveFolder, error);
    if (error) {
        LogLine("Cannot list " + m_saveFolder + ": " + error.message());
        complete = false;
    } else {
        std::vector<std::string> names;
        for (const fs::directory_iterator end; it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            std::error_code typeError;
            if (name.find("Data") != std::string::npos && it->is_directory(typeError)) {
                names.push_back(name);
            }
        }
        if (error) {
            complete = false;
        }
        // Directory order differs between file systems and runs; sorted, slot numbers stay put.
        std::sort(names.begin(), names.end(), SlotNameBefore);
        for (const std::string& name : names) {
            m_slotPaths.push_back(m_saveFolder + name + "/");
        }
    }
    m_selectedSlot = std::min<uint32_t>(m_selectedSlot, static_cast<uint32_t>(m_slotPaths.size()));
    return complete;
}

bool SaveLoadState::SelectSlot(uint32_t index) {
    const size_t count = m_slotPaths.size();
    PlayerEditor* realm = Realm();
    if (index > count) {
        return false;
    }
    if (index == count) {
        ArmyDataBlock fresh;
        fresh.TimeStamp = kNewDataText;
        ShowSlotInfo(fresh);
        if (realm != nullptr) {
            realm->UnhighlightButton(kBoxActionLoadGame);
        }
        return false;
    }
    // Read as the file is now, whatever was read under its type earlier in the run.
    std::unique_ptr<ArmyConfig> army = ReadArmyFile(m_slotPaths[index] + kSlotFiles[0], false);
    if (army) {
        ShowSlotInfo(army->m_block);
    }
    if (realm != nullptr) {
        if (army) {
            realm->HighlightButton(kBoxActionLoadGame);
        } else {
            realm->UnhighlightButton(kBoxActionLoadGame);
        }
    }
    return true;
}

std::string SaveLoadState::GetOrCreateSlotFolder() {
    const uint32_t count = static_cast<uint32_t>(m_slotPaths.size());
    if (m_selectedSlot < count) {
        return m_slotPaths[m_selectedSlot];
    }
    if (m_saveFolder.empty()) {
        return "";
    }
    // Folders made or removed by hand may have taken the slot count's number.
    for (uint32_t number = count; number < count + kMaxSlotNumberSearch; ++number) {
        const std::string name = FormatString("Data%u", number);
        std::error_code error;
        if (fs::create_directory(m_saveFolder + name, error)) {
            LogLine(name);
            LogLine(name);
            return m_saveFolder + name + "/";
        }
        if (error && error != std::errc::file_exists) {
            LogLine("Cannot make " + m_saveFolder + name + ": " + error.message());
            return "";
        }
    }
    return "";
}

std::string SaveLoadState::SlotPath() const {
    return m_selectedSlot < m_slotPaths.size() ? m_slotPaths[m_selectedSlot] : std::string();
}

void SaveLoadState::ShowSlotInfo(const ArmyDataBlock& summary) {
    PlayerEditor* realm = Realm();
    if (realm == nullptr) {
        return;
    }
    BoxObject* const* boxes = realm->m_saveScreenBoxes;
    SetFirstValue(boxes[kSaveSlotBox], FormatString("%u", m_selectedSlot + 1));
    SetFirstValue(boxes[kSaveGameTimeBox], summary.TimeStamp);
    LogLine("Box Stuff Changing ");
    for (int row = 0; row < 2; ++row) {
        BoxObject* value =
            boxes[kSaveResourceRow1 + row] != nullptr ? boxes[kSaveResourceRow1 + row]->m_next : nullptr;
        for (int k = 0; k < RESOURCE_COUNT / 2 && value != nullptr; ++k, value = value->m_next) {
            // Finite, as read; clamped so that the whole number exists.
            const float stock =
                std::clamp(summary.resources[row * (RESOURCE_COUNT / 2) + k], -2.0e9f, 2.0e9f);
            value->m_label.SetText(FormatString("%d", static_cast<int>(stock)), {0.0f, 0.0f, 0.0f});
        }
    }
    SetFirstValue(boxes[kSaveDateBox], summary.DateStamp);
}

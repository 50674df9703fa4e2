// The slot folders of the save screen: where they are, which there are, and what each one shows.
#include "flow/saveloadstate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krconfig.h"
#include "engine/krlog.h"
#include "platform/documents.h"
#include "realm/armyconfig.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

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

// Beside a slot "Data0" while it is saved into: the spare ".Data0.saving" the new files are written to,
// and, where folders cannot be exchanged in one step, ".Data0.old" holding the old slot between the two
// renames. Neither is ever a slot.
constexpr std::string_view kSpareSuffix = ".saving";
constexpr std::string_view kAsideSuffix = ".old";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsLeftover(std::string_view name) {
    return !name.empty() && name.front() == '.' &&
           (EndsWith(name, kSpareSuffix) || EndsWith(name, kAsideSuffix));
}

// saveFolder ends in "/".
std::string SpareOf(const std::string& saveFolder, const std::string& name) {
    return saveFolder + "." + name + std::string(kSpareSuffix);
}

std::error_code StepError(const char* step, const std::string& path) {
    return std::error_code(FileStepError(step, path), std::generic_category());
}

// An existing folder is fine.
std::error_code MakeFolder(const std::string& path, bool* made = nullptr) {
    std::error_code error = StepError("make", path);
    const bool created = !error && fs::create_directory(path, error);
    if (made != nullptr) {
        *made = created;
    }
    return error;
}

std::error_code RemoveAll(const std::string& path) {
    std::error_code error = StepError("remove", path);
    if (!error) {
        fs::remove_all(path, error);
    }
    return error;
}

std::error_code Rename(const std::string& from, const std::string& to) {
    std::error_code error = StepError("rename", to);
    if (!error) {
        fs::rename(from, to, error);
    }
    return error;
}

// Both folders stay whole whatever happens: the kernel swaps their names in one step.
std::error_code Exchange(const std::string& a, const std::string& b) {
    std::error_code error = StepError("exchange", b);
    if (!error && ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) != 0) {
        error.assign(errno, std::generic_category());
    }
    return error;
}

bool ExchangeUnsupported(const std::error_code& error) {
    return error == std::errc::invalid_argument || error == std::errc::function_not_supported ||
           error == std::errc::operation_not_supported;
}

bool IsEmptyFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error) && fs::is_empty(path, error) && !error;
}

// A spare beside an empty slot folder is a new slot's first save that never finished: both go, the
// slot first, so that an empty slot is never left without the spare that marks it.
std::error_code DropSpare(const std::string& spare, const std::string& slot) {
    if (IsEmptyFolder(slot)) {
        if (std::error_code error = StepError("remove", slot); error || !fs::remove(slot, error)) {
            return error;
        }
    }
    return RemoveAll(spare);
}

std::error_code EmptyFolder(const std::string& folder) {
    std::vector<std::string> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path().string());
    }
    for (const std::string& entry : entries) {
        if (!error) {
            error = RemoveAll(entry);
        }
    }
    return error;
}

// Makes the renames in a folder outlast a power cut.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// What a save stopped part way left beside the slots (saveFolder ends in "/"). A slot set aside goes
// back when its place is empty (the save had not finished), else it is old and goes; spares go.
void TidyInterruptedSaves(const std::string& saveFolder) {
    std::vector<std::string> spares;
    std::vector<std::string> asides;
    std::error_code error;
    for (fs::directory_iterator it(saveFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (IsLeftover(name)) {
            (EndsWith(name, kSpareSuffix) ? spares : asides).push_back(name);
        }
    }
    const auto slotOf = [&](const std::string& name, std::string_view suffix) {
        return saveFolder + name.substr(1, name.size() - 1 - suffix.size());
    };
    for (const std::string& name : asides) {
        const std::string slot = slotOf(name, kAsideSuffix);
        std::error_code missing;
        const bool restore = !fs::exists(slot, missing) && !missing;
        if (const std::error_code failed =
                restore ? Rename(saveFolder + name, slot) : RemoveAll(saveFolder + name)) {
            LogLine("Cannot tidy " + saveFolder + name + ": " + failed.message());
        }
    }
    for (const std::string& name : spares) {
        if (const std::error_code failed = DropSpare(saveFolder + name, slotOf(name, kSpareSuffix))) {
            LogLine("Cannot tidy " + saveFolder + name + ": " + failed.message());
        }
    }
}

} // namespace

std::string WriteSlotAsOne(const std::string& slot, const std::function<bool(const std::string&)>& write) {
    const fs::path slotPath = fs::path(slot).parent_path();
    const std::string saveFolder = slotPath.parent_path().string() + "/";
    const std::string name = slotPath.filename().string();
    const std::string target = slotPath.string();
    const std::string spare = SpareOf(saveFolder, name);
    const std::string aside = saveFolder + "." + name + std::string(kAsideSuffix);

    // A new slot's spare is already there, made with it; anything in a spare is an unfinished save's.
    std::error_code error = MakeFolder(spare);
    if (error == std::errc::file_exists) {
        error = RemoveAll(spare);
        if (!error) {
            error = MakeFolder(spare);
        }
    }
    if (!error) {
        error = EmptyFolder(spare);
    }
    if (error) {
        DropSpare(spare, target);
        return spare + " could not be made ready: " + error.message();
    }
    if (!write(spare + "/")) {
        DropSpare(spare, target);
        return "its files could not be written in " + slot;
    }
    error = Exchange(spare, target);
    const bool exchanged = !error;
    if (ExchangeUnsupported(error)) {
        // The old slot is set aside, the spare takes its name, and then the old one goes. Until then
        // the slot is missing, and a scan puts the set-aside one back.
        error = RemoveAll(aside);
        if (!error) {
            error = Rename(target, aside);
        }
        if (!error) {
            error = Rename(spare, target);
            if (error) {
                Rename(aside, target);
            }
        }
    }
    if (error) {
        DropSpare(spare, target);
        return slot + " could not be replaced: " + error.message();
    }
    for (const char* file : kSlotFiles) {
        ConfigCache::Instance().ForgetFile(slot + file);
    }
    SyncFolder(saveFolder);
    // The save is done; old files left over are removed by the next save or scan.
    const std::string& old = exchanged ? spare : aside;
    if (const std::error_code failed = RemoveAll(old)) {
        LogLine("Cannot remove the old files in " + old + ": " + failed.message());
    }
    return "";
}

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
    TidyInterruptedSaves(m_saveFolder);

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
            if (name.find("Data") != std::string::npos && !IsLeftover(name) && it->is_directory(typeError)) {
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
        // The spare comes first: should the save stop before its end, the empty slot folder beside it
        // is known for what it is and removed by the next scan.
        const std::string spare = SpareOf(m_saveFolder, name);
        bool spareMade = false;
        bool made = false;
        std::error_code error = MakeFolder(spare, &spareMade);
        if (!error) {
            error = MakeFolder(m_saveFolder + name, &made);
        }
        if (made) {
            LogLine(name);
            LogLine(name);
            return m_saveFolder + name + "/";
        }
        if (spareMade) {
            RemoveAll(spare);
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

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
#include <cctype>
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
// renames. Old files that could not be removed wait under a fresh ".Data0.saving.1.stale" until they can
// be. None is ever a slot.
constexpr std::string_view kSpareSuffix = ".saving";
constexpr std::string_view kAsideSuffix = ".old";
constexpr std::string_view kStaleSuffix = ".stale";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsLeftover(std::string_view name) {
    return !name.empty() && name.front() == '.' &&
           (EndsWith(name, kSpareSuffix) || EndsWith(name, kAsideSuffix) || EndsWith(name, kStaleSuffix));
}

// saveFolder ends in "/".
std::string SpareOf(const std::string& saveFolder, const std::string& name) {
    return saveFolder + "." + name + std::string(kSpareSuffix);
}

// Why a save failed, in the player's words.
std::string PlainCause(const std::error_code& error) {
    if (error == std::errc::no_space_on_device || error.value() == EDQUOT) {
        return "the disk is full";
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return "the game may not write in the save folder";
    }
    if (error == std::errc::read_only_file_system) {
        return "the disk can only be read, not written";
    }
    if (error == std::errc::io_error) {
        return "the disk could not be written";
    }
    if (error == std::errc::no_such_file_or_directory) {
        return "the save folder has gone";
    }
    if (!error) {
        return "its files could not be written";
    }
    std::string text = error.message();
    if (text.empty()) {
        return "its files could not be written";
    }
    text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
    return text;
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
        // A slot kept read-only by its owner is old files all the same: its entries could not go otherwise.
        std::error_code ignored;
        if (fs::is_directory(fs::symlink_status(path, ignored))) {
            fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        }
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

// Old files go, or, when they cannot (another user's, a folder not ours to change), are set aside under
// a fresh hidden name, so that they never stand in the way of a later save. An error only when neither
// could be done.
std::error_code Discard(const std::string& path) {
    const std::error_code error = RemoveAll(path);
    if (!error) {
        return error;
    }
    const fs::path where(path);
    std::string stem = where.filename().string();
    if (!stem.empty() && stem.front() == '.') {
        stem.erase(0, 1);
    }
    for (uint32_t number = 1; number < kMaxSlotNumberSearch; ++number) {
        const std::string fresh =
            (where.parent_path() / ("." + stem + "." + std::to_string(number) + std::string(kStaleSuffix)))
                .string();
        std::error_code taken;
        if (fs::symlink_status(fresh, taken).type() != fs::file_type::not_found) {
            continue;
        }
        if (Rename(path, fresh)) {
            break;
        }
        LogLine("Cannot remove " + path + " (" + error.message() + "): set aside as " + fresh);
        return {};
    }
    return error;
}

// The new slot keeps the permissions its folder and files had.
void KeepPermissions(const std::string& slot, const std::string& spare) {
    for (const char* file : kSlotFiles) {
        std::error_code error;
        const fs::file_status old = fs::status(slot + "/" + file, error);
        if (!error && fs::is_regular_file(old)) {
            fs::permissions(spare + "/" + file, old.permissions(), error);
        }
    }
    std::error_code error;
    const fs::file_status folder = fs::status(slot, error);
    if (!error && fs::is_directory(folder)) {
        fs::permissions(spare, folder.permissions(), error);
    }
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

// A link is never taken for an empty slot folder: it, and what it leads to, are the player's.
bool IsEmptyFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::symlink_status(path, error)) && fs::is_empty(path, error) && !error;
}

// A spare beside an empty slot folder is a new slot's first save that never finished: both go, the
// slot first, so that an empty slot is never left without the spare that marks it.
std::error_code DropSpare(const std::string& spare, const std::string& slot) {
    if (IsEmptyFolder(slot)) {
        if (std::error_code error = StepError("remove", slot); error || !fs::remove(slot, error)) {
            return error;
        }
    }
    return Discard(spare);
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
    std::vector<std::string> stale;
    std::error_code error;
    for (fs::directory_iterator it(saveFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (IsLeftover(name)) {
            (EndsWith(name, kStaleSuffix)   ? stale
             : EndsWith(name, kSpareSuffix) ? spares
                                            : asides)
                .push_back(name);
        }
    }
    for (const std::string& name : stale) {
        if (const std::error_code failed = RemoveAll(saveFolder + name)) {
            LogLine("Cannot tidy " + saveFolder + name + ": " + failed.message());
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
                restore ? Rename(saveFolder + name, slot) : Discard(saveFolder + name)) {
            LogLine("Cannot tidy " + saveFolder + name + ": " + failed.message());
        }
    }
    for (const std::string& name : spares) {
        if (const std::error_code failed = DropSpare(saveFolder + name, slotOf(name, kSpareSuffix))) {
            LogLine("Cannot tidy " + saveFolder + name + ": " + failed.message());
        }
    }
}

// The folder a linked slot leads to is the player's: the link stays, the three files are replaced there
// one by one, each through a temporary file of its own, and nothing else in it is touched. A link to
// the save folder or to a folder above it would write among the slots: refused.
std::string WriteLinkedSlot(const std::string& slot, const std::function<bool(const std::string&)>& write) {
    const fs::path link = fs::path(slot).parent_path();
    std::error_code error;
    const fs::path target = fs::canonical(link, error);
    fs::path saves;
    if (!error) {
        saves = fs::canonical(link.parent_path(), error);
    }
    if (error || !fs::is_directory(target, error)) {
        LogLine(slot + " leads to no folder" + (error ? ": " + error.message() : ""));
        return "the slot leads to no folder";
    }
    const auto [end, rest] = std::mismatch(target.begin(), target.end(), saves.begin(), saves.end());
    if (end == target.end()) {
        LogLine(slot + " leads to " + target.string() + ", which holds the save folder: not saved there");
        return "the slot leads to a folder that holds the saved games";
    }
    if (!write(target.string() + "/")) {
        const std::error_code cause = LastConfigWriteError();
        LogLine("The files could not be written in " + target.string() +
                (cause ? ": " + cause.message() : ""));
        return PlainCause(cause);
    }
    for (const char* file : kSlotFiles) {
        ConfigCache::Instance().ForgetFile(slot + file);
    }
    return "";
}

} // namespace

std::string WriteSlotAsOne(const std::string& slot, const std::function<bool(const std::string&)>& write) {
    const fs::path slotPath = fs::path(slot).parent_path();
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(slotPath, linkError))) {
        return WriteLinkedSlot(slot, write);
    }
    const std::string saveFolder = slotPath.parent_path().string() + "/";
    const std::string name = slotPath.filename().string();
    const std::string target = slotPath.string();
    const std::string spare = SpareOf(saveFolder, name);
    const std::string aside = saveFolder + "." + name + std::string(kAsideSuffix);

    // A new slot's spare is already there, made with it; anything in a spare is an unfinished save's.
    std::error_code error = MakeFolder(spare);
    if (error == std::errc::file_exists) {
        error = Discard(spare);
        if (!error) {
            error = MakeFolder(spare);
        }
    }
    if (!error) {
        error = EmptyFolder(spare);
    }
    if (error) {
        LogLine(spare + " could not be made ready: " + error.message());
        DropSpare(spare, target);
        return PlainCause(error);
    }
    if (!write(spare + "/")) {
        const std::error_code cause = LastConfigWriteError();
        LogLine("The files could not be written in " + spare + (cause ? ": " + cause.message() : ""));
        DropSpare(spare, target);
        return PlainCause(cause);
    }
    KeepPermissions(target, spare);
    error = Exchange(spare, target);
    const bool exchanged = !error;
    if (ExchangeUnsupported(error)) {
        // The old slot is set aside, the spare takes its name, and then the old one goes. Until then
        // the slot is missing, and a scan puts the set-aside one back.
        error = Discard(aside);
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
        LogLine(slot + " could not be replaced: " + error.message());
        DropSpare(spare, target);
        return PlainCause(error);
    }
    for (const char* file : kSlotFiles) {
        ConfigCache::Instance().ForgetFile(slot + file);
    }
    SyncFolder(saveFolder);
    // The save is done; old files left over are removed by the next save or scan.
    const std::string& old = exchanged ? spare : aside;
    if (const std::error_code failed = Discard(old)) {
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

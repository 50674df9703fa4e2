// The configuration layer: every XML file of the game is read into, and written from, one generic tree.
//
// A typed configuration derives from KRConfig, is built as a copy of a read tree and builds its typed
// object from that tree in CreateTyped:
//
//     class KRTextureConfig : public KRConfig {
//     public:
//         explicit KRTextureConfig(const KRConfig& read) : KRConfig(read) {}
//         std::unique_ptr<KRConfig> CreateTyped() const override; // a new, filled KRTextureConfig
//     };
//
// Loading one (the loader pattern):
//
//     ConfigLoad outcome;
//     std::unique_ptr<KRTextureConfig> texture = LoadTypedConfig<KRTextureConfig>(file, &outcome);
//     if (!texture) { ... outcome tells why; the layer has already logged unreadable files }
//
// LoadTypedConfig reads the file, offers a KRTextureConfig copy of the tree to the ConfigCache, which
// keeps the first one stored for the file and its "type" ("" when the root has none) until exit, and
// returns CreateTyped of the cached configuration through a checked downcast. TypedConfig<T> does the
// same for a tree already read.
// Writers build a KRConfig (or a typed one) with the target path as its file name and call WriteConfig.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

class TiXmlElement;

using ConfigAttributes = std::vector<std::pair<std::string, std::string>>;

// The file name of a configuration that could not be read.
inline constexpr const char* kConfigErrorFile = "ERROR";

// One element of a configuration file. Owns its children; a copy copies the whole subtree.
class ConfigNode {
public:
    ConfigNode(std::string name, std::string text, bool isText);
    ConfigNode(const ConfigNode& other);
    ConfigNode& operator=(const ConfigNode& other);
    ConfigNode(ConfigNode&&) noexcept = default;
    ConfigNode& operator=(ConfigNode&&) noexcept = default;
    ~ConfigNode() = default;

    // Text of the first child of exactly that name; "" when there is none.
    std::string GetChildValue(const std::string& name) const;
    // First child of exactly that name; null when there is none.
    const ConfigNode* FindChild(const std::string& name) const;
    ConfigNode* FindChild(const std::string& name);
    // Appends a child and returns it, for writers building a tree.
    ConfigNode& AddChild(ConfigNode child);

    // True: no child elements, and the text is kept. False: child elements, and the text is "".
    bool m_isText = false;
    std::string m_name;
    std::string m_text;
    // Below the root's children, the attributes of this node's child elements (see ReadConfigChildren).
    ConfigAttributes m_attributes;
    std::vector<std::unique_ptr<ConfigNode>> m_children;
};

class KRConfig {
public:
    KRConfig(std::string fileName, std::string elementName, std::string type);
    KRConfig(const KRConfig&) = default;
    KRConfig& operator=(const KRConfig&) = default;
    KRConfig(KRConfig&&) = default;
    KRConfig& operator=(KRConfig&&) = default;
    virtual ~KRConfig() = default;

    virtual std::string Describe() const;
    // The typed object built from the tree; the generic configuration has none.
    virtual std::unique_ptr<KRConfig> CreateTyped() const { return nullptr; }

    void SetType(const std::string& type);
    // WriteConfig emits the pair as a child element with that text when there are no nodes.
    void AddChildValue(std::pair<std::string, std::string> value);

    // The root's attributes under the root's name, and for each child element name the attributes of
    // the first child of that name.
    std::map<std::string, ConfigAttributes> m_attributesByElement;
    std::vector<ConfigNode> m_nodes;
    // Where it was read from and is written to; kConfigErrorFile when the file could not be read.
    std::string m_fileName;
    std::string m_elementName;
    // The root's "type" attribute.
    std::string m_type;
    // Name and text of every child element of the root, in document order.
    std::vector<std::pair<std::string, std::string>> m_childValues;
};

// Reads a file. Files that cannot be opened, are over 4 MiB, nest deeper than 256 elements or are not
// the UTF-8 XML the game writes (see krconfigcheck.h) are refused before parsing: one log line naming
// the file, and a configuration whose file name is kConfigErrorFile.
KRConfig ReadConfig(const std::string& file);
// Reads first and its following siblings into parent's children; their attributes go to parent.
void ReadConfigChildren(const TiXmlElement* first, ConfigNode& parent);
// Writes the configuration to its file name through a temporary file beside it, so that the old file
// survives any failure. False, with one log line naming the file, when it was not written.
bool WriteConfig(const KRConfig& config);
// The system's error behind the last WriteConfig that failed; empty when it was not the system's.
std::error_code LastConfigWriteError();

// Test seam for saving: every step that changes a saved file or folder on disk (a write, a rename, a
// removal) asks the hook first, and fails with the errno it returns unless that is 0. Tests fail the
// steps one at a time, or throw from the hook to stop a save where a crash would. No hook: all proceed.
using FileStepHook = std::function<int(const char* step, const std::string& path)>;
void SetFileStepHook(FileStepHook hook);
int FileStepError(const char* step, const std::string& path);

// Configurations kept for the life of the process, keyed by file and "type" together.
class ConfigCache {
public:
    static ConfigCache& Instance();

    ConfigCache() = default;
    ConfigCache(const ConfigCache&) = delete;
    ConfigCache& operator=(const ConfigCache&) = delete;

    // Keeps config when nothing is cached for its file and type yet, else drops it. Returns the cached
    // configuration (borrowed; it lives until Destroy), or null when given null.
    const KRConfig* Offer(std::unique_ptr<KRConfig> config);
    const KRConfig* Find(const std::string& fileName, const std::string& type) const;
    // A file that was written anew must be read anew: its entries are no longer found, but stay alive.
    void ForgetFile(const std::string& fileName);
    size_t Size() const { return m_configs.size(); }
    void Destroy();

private:
    std::map<std::pair<std::string, std::string>, std::unique_ptr<KRConfig>> m_configs;
    std::vector<std::unique_ptr<KRConfig>> m_forgotten;
};

void DestroyConfigCache();

// The checked downcast: the object when it is a T, otherwise null (and the object is deleted).
template <class T> std::unique_ptr<T> ConfigCast(std::unique_ptr<KRConfig> config) {
    static_assert(std::is_base_of_v<KRConfig, T>);
    T* typed = dynamic_cast<T*>(config.get());
    if (typed == nullptr) {
        return nullptr;
    }
    config.release();
    return std::unique_ptr<T>(typed);
}

enum class ConfigLoad {
    Loaded,
    Unreadable, // ReadConfig failed (and logged why)
    WrongClass  // the cached configuration's CreateTyped gave no T; the caller logs its own line
};

// Steps of the loader pattern after the read, for a tree already in hand.
template <class T> std::unique_ptr<T> TypedConfig(const KRConfig& read, ConfigLoad* outcome = nullptr) {
    static_assert(std::is_base_of_v<KRConfig, T> && std::is_constructible_v<T, const KRConfig&>);
    ConfigLoad result = ConfigLoad::Loaded;
    std::unique_ptr<T> typed;
    if (read.m_fileName == kConfigErrorFile) {
        result = ConfigLoad::Unreadable;
    } else {
        const KRConfig* cached = ConfigCache::Instance().Offer(std::make_unique<T>(read));
        typed = ConfigCast<T>(cached->CreateTyped());
        if (!typed) {
            result = ConfigLoad::WrongClass;
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    return typed;
}

template <class T>
std::unique_ptr<T> LoadTypedConfig(const std::string& file, ConfigLoad* outcome = nullptr) {
    return TypedConfig<T>(ReadConfig(file), outcome);
}

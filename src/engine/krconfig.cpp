#include "engine/krconfig.h"

#include "engine/krconfigcheck.h"
#include "engine/krlog.h"

#include <tinyxml.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileStepHook& StepHook() {
    static FileStepHook hook;
    return hook;
}

std::string ErrnoText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

int& LastWriteErrno() {
    static int error = 0;
    return error;
}

// The same, kept as the cause of the write that is failing.
std::string WriteErrnoText(int error) {
    LastWriteErrno() = error;
    return ErrnoText(error);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // The result of close, which is where some file systems first report a failed write.
    int Close() {
        int result = 0;
        if (m_fd >= 0) {
            result = ::close(m_fd);
            m_fd = -1;
        }
        return result;
    }

private:
    int m_fd;
};

// The whole file, refused when it is not a regular file or larger than the cap. Non-blocking open so
// that a named pipe in place of a file cannot hang the game.
bool ReadFileBytes(const std::string& file, std::string& out, std::string& reason) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        reason = errno == ENOENT ? "no such file" : ErrnoText(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        reason = ErrnoText(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = "not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > kConfigMaxBytes) {
        reason = "larger than 4 MiB";
        return false;
    }
    out.clear();
    char chunk[65536];
    while (true) {
        ssize_t got = ::read(fd.Get(), chunk, sizeof(chunk));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = ErrnoText(errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        out.append(chunk, static_cast<size_t>(got));
        // The file may have grown since it was measured.
        if (out.size() > kConfigMaxBytes) {
            reason = "larger than 4 MiB";
            return false;
        }
    }
    return true;
}

// What TinyXML's own file loader does to line ends before parsing.
void NormalizeLineEnds(std::string& text) {
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            text[out++] = '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

bool WriteAll(int fd, const std::string& bytes, std::string& reason) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = WriteErrnoText(errno);
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Exclusive creation: never follows a link planted at the name.
int CreateTemporary(const std::string& temp) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(temp.c_str(), flags, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left over from a write that was cut short.
        ::unlink(temp.c_str());
        fd = ::open(temp.c_str(), flags, 0666);
    }
    return fd;
}

// Replaces file with bytes, or leaves it as it was. The bytes go to a hidden temporary file in the same
// folder (same file system, so the rename is atomic); its name has no ".xml", so that a leftover one is
// never taken for content by the folder scans.
bool ReplaceFile(const std::string& file, const std::string& bytes, std::string& reason) {
    namespace fs = std::filesystem;
    fs::path target(file);
    if (file.empty() || !target.has_filename()) {
        reason = "no file name";
        return false;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const std::string temp = (folder / ("." + target.stem().string() + ".tmp")).string();

    FileDescriptor fd(CreateTemporary(temp));
    if (fd.Get() < 0) {
        reason = WriteErrnoText(errno);
        return false;
    }
    struct stat old {};
    // A rewritten file keeps the permissions it had.
    if (::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }
    bool written = true;
    if (const int error = FileStepError("write", file); error != 0) {
        reason = WriteErrnoText(error);
        written = false;
    }
    written = written && WriteAll(fd.Get(), bytes, reason);
    if (written && ::fsync(fd.Get()) != 0) {
        reason = WriteErrnoText(errno);
        written = false;
    }
    if (fd.Close() != 0 && written) {
        reason = WriteErrnoText(errno);
        written = false;
    }
    if (written) {
        const int error = FileStepError("rename", file);
        if (error != 0 || ::rename(temp.c_str(), file.c_str()) != 0) {
            reason = WriteErrnoText(error != 0 ? error : errno);
            written = false;
        }
    }
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    // Makes the rename itself durable; by now the file is complete whatever this reports.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        ::fsync(dir.Get());
    }
    return true;
}

ConfigAttributes AttributesOf(const TiXmlElement& element) {
    ConfigAttributes attributes;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        attributes.emplace_back(a->Name(), a->Value());
    }
    return attributes;
}

// TinyXML gives no text (null) for an empty element.
std::string TextOf(const TiXmlElement& element) {
    const char* text = element.GetText();
    return text != nullptr ? std::string(text) : std::string();
}

KRConfig ErrorConfig() {
    return KRConfig(kConfigErrorFile, "", "");
}

// The node goes to the document at once, which owns it from then on.
TiXmlElement* AddElement(TiXmlNode& parent, const std::string& name) {
    auto element = std::make_unique<TiXmlElement>(name);
    return parent.LinkEndChild(element.release())->ToElement();
}

void AddText(TiXmlElement& element, const std::string& text) {
    auto node = std::make_unique<TiXmlText>(text);
    element.LinkEndChild(node.release());
}

void SetAttributes(TiXmlElement& element, const ConfigAttributes& attributes) {
    for (const auto& [name, value] : attributes) {
        element.SetAttribute(name, value);
    }
}

// Attributes below the top level are not written: a read puts them in their parent's list, which the
// writer cannot tell apart. depth is that of the children; a tree too deep to read back is refused.
bool WriteConfigChildren(const std::vector<std::unique_ptr<ConfigNode>>& children, TiXmlElement& parent,
                         size_t depth) {
    for (const auto& child : children) {
        if (!child) {
            continue;
        }
        if (depth > kConfigMaxDepth) {
            return false;
        }
        TiXmlElement* element = AddElement(parent, child->m_name);
        if (child->m_isText) {
            AddText(*element, child->m_text);
        } else if (!WriteConfigChildren(child->m_children, *element, depth + 1)) {
            return false;
        }
    }
    return true;
}

bool BuildDocument(const KRConfig& config, TiXmlDocument& doc) {
    auto declaration = std::make_unique<TiXmlDeclaration>("1.0", "", "");
    doc.LinkEndChild(declaration.release());
    TiXmlElement* root = AddElement(doc, config.m_elementName);
    auto rootAttributes = config.m_attributesByElement.find(config.m_elementName);
    if (rootAttributes != config.m_attributesByElement.end()) {
        SetAttributes(*root, rootAttributes->second);
    }
    if (!config.m_nodes.empty()) {
        for (const ConfigNode& node : config.m_nodes) {
            TiXmlElement* element = AddElement(*root, node.m_name);
            if (node.m_isText) {
                AddText(*element, node.m_text);
            } else if (!WriteConfigChildren(node.m_children, *element, 3)) {
                return false;
            }
            SetAttributes(*element, node.m_attributes);
        }
        return true;
    }
    for (const auto& [name, text] : config.m_childValues) {
        TiXmlElement* element = AddElement(*root, name);
        AddText(*element, text);
        auto attributes = config.m_attributesByElement.find(name);
        if (attributes != config.m_attributesByElement.end()) {
            SetAttributes(*element, attributes->second);
        }
    }
    return true;
}

} // namespace

ConfigNode::ConfigNode(std::string name, std::string text, bool isText)
    : m_isText(isText), m_name(std::move(name)), m_text(std::move(text)) {}

ConfigNode::ConfigNode(const ConfigNode& other)
    : m_isText(other.m_isText), m_name(other.m_name), m_text(other.m_text), m_attributes(other.m_attributes) {
    m_children.reserve(other.m_children.size());
    for (const auto& child : other.m_children) {
        m_children.push_back(child ? std::make_unique<ConfigNode>(*child) : nullptr);
    }
}

ConfigNode& ConfigNode::operator=(const ConfigNode& other) {
    if (this != &other) {
        ConfigNode copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::string ConfigNode::GetChildValue(const std::string& name) const {
    const ConfigNode* child = FindChild(name);
    return child != nullptr ? child->m_text : std::string();
}

const ConfigNode* ConfigNode::FindChild(const std::string& name) const {
    for (const auto& child : m_children) {
        if (child && child->m_name == name) {
            return child.get();
        }
    }
    return nullptr;
}

ConfigNode* ConfigNode::FindChild(const std::string& name) {
    return const_cast<ConfigNode*>(std::as_const(*this).FindChild(name));
}

ConfigNode& ConfigNode::AddChild(ConfigNode child) {
    m_children.push_back(std::make_unique<ConfigNode>(std::move(child)));
    return *m_children.back();
}

KRConfig::KRConfig(std::string fileName, std::string elementName, std::string type)
    : m_fileName(std::move(fileName)), m_elementName(std::move(elementName)) {
    SetType(type);
}

std::string KRConfig::Describe() const {
    return m_fileName + "\n" + m_elementName + "\n" + m_type + "\n";
}

void KRConfig::SetType(const std::string& type) {
    m_attributesByElement.try_emplace(m_elementName, ConfigAttributes{{"type", type}});
    m_type = type;
}

void KRConfig::AddChildValue(std::pair<std::string, std::string> value) {
    m_childValues.push_back(std::move(value));
}

void ReadConfigChildren(const TiXmlElement* first, ConfigNode& parent) {
    for (const TiXmlElement* element = first; element != nullptr; element = element->NextSiblingElement()) {
        ConfigAttributes attributes = AttributesOf(*element);
        parent.m_attributes.insert(parent.m_attributes.end(), attributes.begin(), attributes.end());
        const TiXmlElement* firstChild = element->FirstChildElement();
        auto node = std::make_unique<ConfigNode>(element->Value(), firstChild ? "" : TextOf(*element),
                                                 firstChild == nullptr);
        if (firstChild != nullptr) {
            ReadConfigChildren(firstChild, *node);
        }
        parent.m_children.push_back(std::move(node));
    }
}

KRConfig ReadConfig(const std::string& file) {
    std::string text;
    std::string reason;
    if (!ReadFileBytes(file, text, reason) || !CheckConfigText(text, reason)) {
        LogLine("Couldn't read config " + file + ": " + reason);
        return ErrorConfig();
    }
    NormalizeLineEnds(text);
    TiXmlDocument doc;
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (doc.Error()) {
        LogLine("Couldn't read config " + file + ": " + doc.ErrorDesc() + " (line " +
                std::to_string(doc.ErrorRow()) + ")");
        return ErrorConfig();
    }
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr) {
        LogLine("Couldn't read config " + file + ": no root element");
        return ErrorConfig();
    }

    KRConfig config(file, "", "");
    config.m_elementName = root->Value();
    const char* type = root->Attribute("type");
    if (type == nullptr || *type == '\0') {
        LogLine("Error Reading Attribute");
    }
    config.SetType(type != nullptr ? type : "");
    config.m_attributesByElement[config.m_elementName] = AttributesOf(*root);

    for (const TiXmlElement* child = root->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        std::string name = child->Value();
        std::string childText = TextOf(*child);
        config.m_childValues.emplace_back(name, childText);
        const TiXmlElement* firstChild = child->FirstChildElement();
        ConfigNode node(name, firstChild ? "" : childText, firstChild == nullptr);
        if (firstChild != nullptr) {
            ReadConfigChildren(firstChild, node);
        }
        ConfigAttributes own = AttributesOf(*child);
        node.m_attributes.insert(node.m_attributes.end(), own.begin(), own.end());
        config.m_attributesByElement.try_emplace(name, std::move(own));
        config.m_nodes.push_back(std::move(node));
    }
    return config;
}

void SetFileStepHook(FileStepHook hook) {
    StepHook() = std::move(hook);
}

int FileStepError(const char* step, const std::string& path) {
    return StepHook() ? StepHook()(step, path) : 0;
}

std::error_code LastConfigWriteError() {
    return {LastWriteErrno(), std::generic_category()};
}

bool WriteConfig(const KRConfig& config) {
    LastWriteErrno() = 0;
    std::string reason;
    TiXmlDocument doc;
    bool written = false;
    if (!BuildDocument(config, doc)) {
        reason = "nested deeper than " + std::to_string(kConfigMaxDepth) + " elements";
    } else {
        TiXmlPrinter printer;
        doc.Accept(&printer);
        if (!CheckConfigText(printer.Str(), reason)) {
            reason = "it would not read back: " + reason;
        } else {
            written = ReplaceFile(config.m_fileName, printer.Str(), reason);
        }
    }
    if (!written) {
        LogLine("Couldn't write " + config.m_fileName + ": " + reason);
        return false;
    }
    ConfigCache::Instance().ForgetFile(config.m_fileName);
    return true;
}

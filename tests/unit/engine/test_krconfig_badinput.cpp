// Files the game must refuse with one log line and without a crash, and writes that fail without
// harming what was on disk.
#include "engine/test_krconfig_support.h"

#include "engine/krconfig.h"
#include "engine/krconfigcheck.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using krconfig_test::CapturedLog;
using krconfig_test::ConfigTest;
using krconfig_test::DataFile;
using krconfig_test::ReadBytes;

struct BadFile {
    const char* name;
    const char* reason;
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

// A refused read: the error configuration, nothing cached, one line naming the file and the reason.
void ExpectRefused(const std::string& path, const std::string& reason) {
    CapturedLog log;
    KRConfig config = ReadConfig(path);
    ConfigLoad outcome = ConfigLoad::Loaded;
    std::unique_ptr<KRConfig> typed = LoadTypedConfig<KRConfig>(path, &outcome);
    std::vector<std::string> lines = log.Lines();

    EXPECT_EQ(kConfigErrorFile, config.m_fileName);
    EXPECT_EQ("", config.m_elementName);
    EXPECT_EQ("", config.m_type);
    EXPECT_TRUE(config.m_nodes.empty());
    EXPECT_TRUE(config.m_childValues.empty());
    EXPECT_FALSE(typed);
    EXPECT_EQ(ConfigLoad::Unreadable, outcome);
    EXPECT_EQ(0u, ConfigCache::Instance().Size());
    ASSERT_EQ(2u, lines.size()); // one per read
    EXPECT_EQ(lines[0], lines[1]);
    const std::string prefix = "Couldn't read config " + path + ": ";
    EXPECT_EQ(0u, lines[0].rfind(prefix, 0)) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find(reason, prefix.size())) << lines[0];
}

class BadInputTest : public ConfigTest, public testing::WithParamInterface<BadFile> {};

TEST_P(BadInputTest, IsLoggedAndRefused) {
    ExpectRefused(DataFile(GetParam().name), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    DataFiles, BadInputTest,
    testing::Values(
        BadFile{"empty.xml", "empty file"},
        BadFile{"not_xml.xml", "text where an element is expected (line 1)"},
        BadFile{"truncated.xml", "truncated"}, BadFile{"no_root.xml", "no root element"},
        BadFile{"too_deep.xml", "nested deeper than 256 elements"},
        BadFile{"attribute_without_value.xml", "attribute enabled of <File> has no value (line 3)"},
        BadFile{"unquoted_attribute.xml", "value of attribute type of <Texture> is not in quotes"},
        BadFile{"text_before_root.xml", "text where an element is expected (line 2)"},
        BadFile{"text_after_root.xml", "text after the root element (line 5)"},
        BadFile{"second_root.xml", "markup after the root element (line 5)"},
        BadFile{"mismatched_end_tag.xml", "</Width> closes <File>"},
        // Well formed as far as the pre-parse check goes; TinyXML itself refuses it.
        BadFile{"duplicate_attribute.xml", "Error parsing Element. (line 3)"},
        BadFile{"doctype.xml", "markup that the game does not read (line 2)"},
        BadFile{"nul_byte.xml", "NUL byte (line 3)"},
        BadFile{"invalid_utf8_latin1.xml", "invalid UTF-8 (line 3)"},
        BadFile{"invalid_utf8_stray_continuation.xml", "invalid UTF-8 (line 3)"},
        BadFile{"invalid_utf8_overlong.xml", "invalid UTF-8 (line 3)"},
        BadFile{"invalid_utf8_surrogate.xml", "invalid UTF-8 (line 3)"},
        BadFile{"invalid_utf8_lead_byte_hides_quote.xml", "invalid UTF-8 (line 2)"}),
    [](const testing::TestParamInfo<BadFile>& info) {
        std::string name = info.param.name;
        return name.substr(0, name.find('.'));
    });

class ReadLimitsTest : public ConfigTest {};

TEST_F(ReadLimitsTest, MissingFilesFoldersAndPipesAreRefused) {
    ExpectRefused(DataFile("no_such_file.xml"), "no such file");
    ExpectRefused(m_dir.Root(), "not a regular file");
    const std::string pipe = m_dir.Path("pipe.xml");
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    ExpectRefused(pipe, "not a regular file");
}

TEST_F(ReadLimitsTest, FilesAreTakenUpToFourMebibytes) {
    const std::string head = "<Big type=\"Big1\"><Pad>";
    const std::string tail = "</Pad></Big>";
    std::string exact = head + std::string(kConfigMaxBytes - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(4u * 1024u * 1024u, exact.size());
    const std::string fits = m_dir.Write("fits.xml", exact);
    KRConfig config = ReadConfig(fits);
    EXPECT_EQ("Big1", config.m_type);
    ASSERT_EQ(1u, config.m_childValues.size());
    EXPECT_EQ(kConfigMaxBytes - head.size() - tail.size(), config.m_childValues[0].second.size());

    // Not kept in the repository: four mebibytes of nothing.
    exact.insert(head.size(), "x");
    ExpectRefused(m_dir.Write("over.xml", exact), "larger than 4 MiB");
}

TEST_F(ReadLimitsTest, NestingIsTakenUpTo256ElementsAndFarDeeperFilesDoNotCrash) {
    KRConfig config = ReadConfig(DataFile("deepest_allowed.xml"));
    EXPECT_EQ("DeepestAllowed", config.m_type);
    ASSERT_EQ(1u, config.m_nodes.size());
    size_t depth = 2;
    const ConfigNode* node = &config.m_nodes[0];
    while (!node->m_children.empty()) {
        node = node->m_children[0].get();
        ++depth;
    }
    EXPECT_EQ(256u, depth);
    EXPECT_EQ("x", node->m_text);

    // Far beyond what the parser's recursion survives.
    std::string deep = "<Root type=\"Deep\">";
    for (int i = 0; i < 200000; ++i) {
        deep += "<a>";
    }
    ExpectRefused(m_dir.Write("deep.xml", deep), "nested deeper than 256 elements");
}

TEST_F(ReadLimitsTest, AMissingTypeIsLoggedAndTheFileLoadsUnderTheEmptyType) {
    const std::string path = DataFile("missing_type.xml");
    CapturedLog log;
    KRConfig config = ReadConfig(path);
    ConfigLoad outcome = ConfigLoad::Unreadable;
    EXPECT_TRUE(LoadTypedConfig<KRConfig>(path, &outcome) == nullptr); // the base builds no typed object
    std::vector<std::string> lines = log.Lines();

    EXPECT_EQ(path, config.m_fileName);
    EXPECT_EQ("Texture", config.m_elementName);
    EXPECT_EQ("", config.m_type);
    EXPECT_EQ(2u, config.m_childValues.size());
    EXPECT_EQ(ConfigLoad::WrongClass, outcome);
    ASSERT_NE(nullptr, ConfigCache::Instance().Find(path, ""));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("Error Reading Attribute", lines[0]);
}

// Runs body in a child process, for what must not touch the test process itself (privileges, limits).
int RunInChild(const std::function<int()>& body) {
    std::fflush(stdout);
    pid_t pid = ::fork();
    if (pid == 0) {
        int code = body();
        std::fflush(stdout);
        ::_exit(code);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

constexpr int kCannotDropPrivileges = 77;

class WriteFailureTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        m_target = m_dir.Write("armydata.xml", kOldSave);
    }

    KRConfig NewSave(size_t values = 1) const {
        KRConfig config(m_target, "ArmyData", "ArmyData1700000001");
        for (size_t i = 0; i < values; ++i) {
            config.AddChildValue({"Value", std::to_string(i)});
        }
        return config;
    }

    // The old save is whole and nothing else was left in the folder.
    void ExpectOldSaveIntact() {
        EXPECT_EQ(kOldSave, ReadBytes(m_target));
        EXPECT_EQ(std::vector<std::string>{"armydata.xml"}, m_dir.Entries());
    }

    void ExpectOneWriteFailure(std::vector<std::string> lines, const std::string& file,
                               const std::string& reason) {
        ASSERT_EQ(1u, lines.size());
        const std::string prefix = "Couldn't write " + file + ": ";
        EXPECT_EQ(0u, lines[0].rfind(prefix, 0)) << lines[0];
        EXPECT_NE(std::string::npos, lines[0].find(reason, prefix.size())) << lines[0];
    }

    static constexpr const char* kOldSave =
        "<ArmyData type=\"ArmyData1600000000\"><Value>old</Value></ArmyData>";
    std::string m_target;
};

TEST_F(WriteFailureTest, AMissingFolderIsReported) {
    const std::string file = m_dir.Path("Data3") + "/armydata.xml";
    KRConfig config(file, "ArmyData", "ArmyData1");
    CapturedLog log;
    EXPECT_FALSE(WriteConfig(config));
    ExpectOneWriteFailure(log.Lines(), file, "No such file or directory");
    ExpectOldSaveIntact();

    KRConfig unnamed("", "ArmyData", "ArmyData1");
    CapturedLog log2;
    EXPECT_FALSE(WriteConfig(unnamed));
    ExpectOneWriteFailure(log2.Lines(), "", "no file name");
}

TEST_F(WriteFailureTest, AReadOnlyFolderIsReportedAndTheOldFileKept) {
    ASSERT_EQ(0, ::chmod(m_dir.Root().c_str(), 0555));
    const KRConfig save = NewSave();
    CapturedLog log;
    int status = RunInChild([&save]() {
        // Root writes anywhere; the folder is read-only for everybody else.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return kCannotDropPrivileges;
        }
        return WriteConfig(save) ? 1 : 0;
    });
    std::vector<std::string> lines = log.Lines();
    ::chmod(m_dir.Root().c_str(), 0700);
    if (status == kCannotDropPrivileges) {
        GTEST_SKIP() << "running as root without the right to drop privileges";
    }
    EXPECT_EQ(0, status);
    ExpectOneWriteFailure(lines, m_target, "Permission denied");
    ExpectOldSaveIntact();
}

TEST_F(WriteFailureTest, AWriteCutShortLeavesTheOldFileWhole) {
    const KRConfig save = NewSave(2000);
    CapturedLog log;
    int status = RunInChild([&save]() {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        return WriteConfig(save) ? 1 : 0;
    });
    EXPECT_EQ(0, status);
    ExpectOneWriteFailure(log.Lines(), m_target, "File too large");
    ExpectOldSaveIntact();

    // And without the limit the same save goes through.
    EXPECT_TRUE(WriteConfig(save));
    EXPECT_EQ(2000u, ReadConfig(m_target).m_childValues.size());
}

TEST_F(WriteFailureTest, ATreeThatWouldNotReadBackIsNotWritten) {
    struct Case {
        KRConfig config;
        const char* reason;
    };
    KRConfig spaced = NewSave();
    spaced.m_nodes.emplace_back("Two words", "x", true);
    KRConfig latin1 = NewSave();
    latin1.AddChildValue({"Name", "caf\xE9"});
    KRConfig deep = NewSave();
    deep.m_nodes.emplace_back("Level", "", false);
    ConfigNode* node = &deep.m_nodes.back();
    for (int i = 0; i < 300; ++i) {
        node = &node->AddChild(ConfigNode("Level", "", false));
    }
    KRConfig unnamedRoot(m_target, "", "T");

    for (const Case& c :
         {Case{spaced, "it would not read back: attribute words of <Two> has no value"},
          Case{latin1, "it would not read back: invalid UTF-8"},
          Case{deep, "nested deeper than 256 elements"}, Case{unnamedRoot, "it would not read back"}}) {
        SCOPED_TRACE(c.reason);
        CapturedLog log;
        EXPECT_FALSE(WriteConfig(c.config));
        ExpectOneWriteFailure(log.Lines(), m_target, c.reason);
        ExpectOldSaveIntact();
    }
}

TEST_F(WriteFailureTest, ATemporaryFileLeftByAnEarlierCutIsReplaced) {
    m_dir.Write(".armydata.tmp", "<ArmyData type=\"half");
    EXPECT_TRUE(WriteConfig(NewSave()));
    EXPECT_EQ("ArmyData1700000001", ReadConfig(m_target).m_type);
    EXPECT_EQ(std::vector<std::string>{"armydata.xml"}, m_dir.Entries());
}

} // namespace

// The loader pattern and the configuration cache, keyed by file and type together.
#include "engine/test_krconfig_support.h"

#include "engine/krconfig.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using krconfig_test::CapturedLog;
using krconfig_test::ConfigTest;

// A typed configuration as later subsystems write them: a copy of the read tree that builds a filled
// copy of itself.
class ValueConfig : public KRConfig {
public:
    explicit ValueConfig(const KRConfig& read) : KRConfig(read) {}
    std::unique_ptr<KRConfig> CreateTyped() const override {
        auto typed = std::make_unique<ValueConfig>(*this);
        typed->m_value = 0;
        for (const auto& [name, text] : m_childValues) {
            if (name == "Value") {
                typed->m_value = std::atoi(text.c_str());
            }
        }
        return typed;
    }
    int m_value = -1;
};

class OtherConfig : public KRConfig {
public:
    explicit OtherConfig(const KRConfig& read) : KRConfig(read) {}
    std::unique_ptr<KRConfig> CreateTyped() const override { return std::make_unique<OtherConfig>(*this); }
};

class ConfigCacheTest : public ConfigTest {
protected:
    std::string WriteValue(const std::string& name, const std::string& type, int value) {
        std::string typeAttribute = type.empty() ? "" : " type=\"" + type + "\"";
        return m_dir.Write(name, "<Values" + typeAttribute + "><Value>" + std::to_string(value) +
                                     "</Value></Values>");
    }

    ConfigCache& Cache() { return ConfigCache::Instance(); }
};

TEST_F(ConfigCacheTest, TheSameFileLoadedTwiceSharesOneCachedConfiguration) {
    const std::string file = WriteValue("a.xml", "A1", 5);
    ConfigLoad outcome = ConfigLoad::Unreadable;
    std::unique_ptr<ValueConfig> first = LoadTypedConfig<ValueConfig>(file, &outcome);
    ASSERT_TRUE(first);
    EXPECT_EQ(ConfigLoad::Loaded, outcome);
    EXPECT_EQ(5, first->m_value);
    const KRConfig* cached = Cache().Find(file, "A1");
    ASSERT_NE(nullptr, cached);
    EXPECT_NE(nullptr, dynamic_cast<const ValueConfig*>(cached));

    // Changed on disk but not by the game, with the same type: the cache answers, as it should.
    WriteValue("a.xml", "A1", 6);
    std::unique_ptr<ValueConfig> second = LoadTypedConfig<ValueConfig>(file);
    ASSERT_TRUE(second);
    EXPECT_EQ(5, second->m_value);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(cached, Cache().Find(file, "A1"));
    EXPECT_EQ(1u, Cache().Size());

    // One file under two spellings of its path.
    std::unique_ptr<ValueConfig> third = LoadTypedConfig<ValueConfig>(m_dir.Root() + "/./" + "a.xml");
    ASSERT_TRUE(third);
    EXPECT_EQ(5, third->m_value);
    EXPECT_EQ(1u, Cache().Size());
}

// Two save slots written in the same second carry the same type: each must restore its own game.
TEST_F(ConfigCacheTest, DifferentFilesWithTheSameTypeKeepTheirOwnData) {
    const std::string slot0 = WriteValue("slot0.xml", "ArmyData1700000000", 10);
    const std::string slot1 = WriteValue("slot1.xml", "ArmyData1700000000", 20);
    std::unique_ptr<ValueConfig> first = LoadTypedConfig<ValueConfig>(slot0);
    std::unique_ptr<ValueConfig> second = LoadTypedConfig<ValueConfig>(slot1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(10, first->m_value);
    EXPECT_EQ(20, second->m_value);
    EXPECT_EQ(2u, Cache().Size());
}

// Untyped files load under the type "", each file keeping its own entry.
TEST_F(ConfigCacheTest, FilesWithoutATypeLoadUnderTheEmptyTypeEachOnItsOwn) {
    const std::string one = WriteValue("one.xml", "", 1);
    const std::string two = m_dir.Write("two.xml", "<Values type=\"\"><Value>2</Value></Values>");
    CapturedLog log;
    ConfigLoad outcome = ConfigLoad::Unreadable;
    std::unique_ptr<ValueConfig> first = LoadTypedConfig<ValueConfig>(one, &outcome);
    EXPECT_EQ(ConfigLoad::Loaded, outcome);
    std::unique_ptr<ValueConfig> second = LoadTypedConfig<ValueConfig>(two, &outcome);
    EXPECT_EQ(ConfigLoad::Loaded, outcome);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(1, first->m_value);
    EXPECT_EQ(2, second->m_value);
    EXPECT_EQ((std::vector<std::string>{"Error Reading Attribute", "Error Reading Attribute"}), log.Lines());
    EXPECT_EQ(2u, Cache().Size());
    const KRConfig* cached = Cache().Find(one, "");
    ASSERT_NE(nullptr, cached);
    EXPECT_TRUE(LoadTypedConfig<ValueConfig>(one));
    EXPECT_EQ(cached, Cache().Find(one, ""));
    EXPECT_EQ(2u, Cache().Size());
}

TEST_F(ConfigCacheTest, AFileSavedAnewIsReadAnew) {
    const std::string file = m_dir.Path("armydata.xml");
    KRConfig save(file, "Values", "Army100");
    save.AddChildValue({"Value", "1"});
    ASSERT_TRUE(WriteConfig(save));
    std::unique_ptr<ValueConfig> before = LoadTypedConfig<ValueConfig>(file);
    ASSERT_TRUE(before);
    const KRConfig* firstCached = Cache().Find(file, "Army100");
    ASSERT_NE(nullptr, firstCached);

    // A later save stamps a new time into the type.
    KRConfig later(file, "Values", "Army101");
    later.AddChildValue({"Value", "2"});
    ASSERT_TRUE(WriteConfig(later));
    std::unique_ptr<ValueConfig> afterNewType = LoadTypedConfig<ValueConfig>(file);
    ASSERT_TRUE(afterNewType);
    EXPECT_EQ(2, afterNewType->m_value);

    // Saved again within the same second: the type is unchanged, the content is not.
    KRConfig sameSecond(file, "Values", "Army101");
    sameSecond.AddChildValue({"Value", "3"});
    ASSERT_TRUE(WriteConfig(sameSecond));
    std::unique_ptr<ValueConfig> afterSameType = LoadTypedConfig<ValueConfig>(file);
    ASSERT_TRUE(afterSameType);
    EXPECT_EQ(3, afterSameType->m_value);

    // Entries of the overwritten file are no longer found but stay alive for whoever borrowed them.
    EXPECT_EQ(nullptr, Cache().Find(file, "Army100"));
    EXPECT_EQ("Army100", firstCached->m_type);
    EXPECT_EQ(1u, Cache().Size());
}

TEST_F(ConfigCacheTest, TheCachedClassDecidesTheCheckedDowncast) {
    const std::string file = WriteValue("texture.xml", "Tex1", 7);
    std::unique_ptr<OtherConfig> other = LoadTypedConfig<OtherConfig>(file);
    ASSERT_TRUE(other);

    ConfigLoad outcome = ConfigLoad::Loaded;
    CapturedLog log;
    EXPECT_FALSE(LoadTypedConfig<ValueConfig>(file, &outcome));
    EXPECT_EQ(ConfigLoad::WrongClass, outcome);
    EXPECT_TRUE(log.Lines().empty());

    // A generic configuration in the cache has no typed form at all.
    const std::string generic = WriteValue("generic.xml", "Gen1", 1);
    Cache().Offer(std::make_unique<KRConfig>(ReadConfig(generic)));
    EXPECT_FALSE(LoadTypedConfig<ValueConfig>(generic, &outcome));
    EXPECT_EQ(ConfigLoad::WrongClass, outcome);
}

TEST_F(ConfigCacheTest, ATreeInHandGoesThroughTheSameSteps) {
    const std::string file = WriteValue("inhand.xml", "InHand1", 4);
    KRConfig read = ReadConfig(file);
    ConfigLoad outcome = ConfigLoad::Unreadable;
    std::unique_ptr<ValueConfig> typed = TypedConfig<ValueConfig>(read, &outcome);
    ASSERT_TRUE(typed);
    EXPECT_EQ(ConfigLoad::Loaded, outcome);
    EXPECT_EQ(4, typed->m_value);
    EXPECT_NE(nullptr, Cache().Find(file, "InHand1"));

    EXPECT_FALSE(TypedConfig<ValueConfig>(KRConfig(kConfigErrorFile, "", ""), &outcome));
    EXPECT_EQ(ConfigLoad::Unreadable, outcome);
    EXPECT_EQ(1u, Cache().Size());
}

TEST_F(ConfigCacheTest, OfferKeepsTheFirstAndDestroyEmpties) {
    auto first = std::make_unique<KRConfig>("x.xml", "R", "T");
    const KRConfig* firstPointer = first.get();
    EXPECT_EQ(firstPointer, Cache().Offer(std::move(first)));
    EXPECT_EQ(firstPointer, Cache().Offer(std::make_unique<KRConfig>("x.xml", "Other", "T")));
    EXPECT_EQ("R", Cache().Find("x.xml", "T")->m_elementName);
    EXPECT_NE(firstPointer, Cache().Offer(std::make_unique<KRConfig>("x.xml", "R", "T2")));
    EXPECT_EQ(nullptr, Cache().Offer(nullptr));
    EXPECT_EQ(2u, Cache().Size());

    DestroyConfigCache();
    EXPECT_EQ(0u, Cache().Size());
    EXPECT_EQ(nullptr, Cache().Find("x.xml", "T"));
}

TEST(ConfigCastTest, KeepsTheObjectOnlyWhenItIsOfTheAskedClass) {
    KRConfig base("f.xml", "R", "T");
    std::unique_ptr<KRConfig> value = std::make_unique<ValueConfig>(base);
    KRConfig* raw = value.get();
    std::unique_ptr<ValueConfig> cast = ConfigCast<ValueConfig>(std::move(value));
    EXPECT_EQ(raw, cast.get());
    EXPECT_FALSE(ConfigCast<OtherConfig>(std::make_unique<ValueConfig>(base)));
    EXPECT_FALSE(ConfigCast<ValueConfig>(nullptr));
}

} // namespace

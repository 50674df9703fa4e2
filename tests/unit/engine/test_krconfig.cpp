// The generic configuration tree: how a file is read into it and how it is written back.
#include "engine/test_krconfig_support.h"

#include "engine/krconfig.h"

#include <gtest/gtest.h>

namespace {

using krconfig_test::CapturedLog;
using krconfig_test::ConfigTest;
using krconfig_test::ReadBytes;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Names, flags, texts and children of two subtrees, with the attributes of the top node only when
// asked (the writer keeps no attributes below the top level).
void ExpectSameTree(const ConfigNode& expected, const ConfigNode& actual, bool withAttributes) {
    SCOPED_TRACE("node " + expected.m_name);
    EXPECT_EQ(expected.m_name, actual.m_name);
    EXPECT_EQ(expected.m_isText, actual.m_isText);
    EXPECT_EQ(expected.m_text, actual.m_text);
    if (withAttributes) {
        EXPECT_EQ(expected.m_attributes, actual.m_attributes);
    }
    ASSERT_EQ(expected.m_children.size(), actual.m_children.size());
    for (size_t i = 0; i < expected.m_children.size(); ++i) {
        ExpectSameTree(*expected.m_children[i], *actual.m_children[i], false);
    }
}

TEST(ConfigNodeTest, FindsTheFirstChildOfExactlyThatName) {
    ConfigNode node("Unit", "", false);
    node.m_children.push_back(nullptr);
    node.AddChild(ConfigNode("HP", "10", true));
    node.AddChild(ConfigNode("hp", "lower", true));
    node.AddChild(ConfigNode("HP", "20", true));

    EXPECT_EQ("10", node.GetChildValue("HP"));
    EXPECT_EQ("lower", node.GetChildValue("hp"));
    EXPECT_EQ("", node.GetChildValue("H"));
    EXPECT_EQ("", node.GetChildValue("HPX"));
    ASSERT_NE(nullptr, node.FindChild("HP"));
    EXPECT_EQ(node.m_children[1].get(), node.FindChild("HP"));
    EXPECT_EQ(nullptr, node.FindChild("STR"));
}

TEST(ConfigNodeTest, CopiesOwnTheirWholeSubtree) {
    ConfigNode original("Mastery", "", false);
    original.m_attributes = {{"a", "1"}};
    ConfigNode& current = original.AddChild(ConfigNode("Current", "", false));
    current.AddChild(ConfigNode("Points", "3", true));
    original.m_children.push_back(nullptr);

    ConfigNode copy(original);
    ASSERT_EQ(2u, copy.m_children.size());
    EXPECT_EQ(nullptr, copy.m_children[1]);
    ASSERT_NE(original.m_children[0].get(), copy.m_children[0].get());
    copy.FindChild("Current")->FindChild("Points")->m_text = "9";
    EXPECT_EQ("3", original.FindChild("Current")->GetChildValue("Points"));

    ConfigNode assigned("Other", "x", true);
    assigned = original;
    EXPECT_FALSE(assigned.m_isText);
    EXPECT_EQ("", assigned.m_text);
    EXPECT_EQ(original.m_attributes, assigned.m_attributes);
    EXPECT_EQ("3", assigned.FindChild("Current")->GetChildValue("Points"));
    original.FindChild("Current")->FindChild("Points")->m_text = "4";
    EXPECT_EQ("3", assigned.FindChild("Current")->GetChildValue("Points"));
}

TEST(KRConfigTest, TypeIsEnteredAsTheRootAttributeOnlyOnce) {
    KRConfig config("a.xml", "Map", "MapData1");
    EXPECT_EQ((Pairs{{"type", "MapData1"}}), config.m_attributesByElement["Map"]);
    config.m_attributesByElement["Map"].emplace_back("rows", "2");

    config.SetType("MapData2");
    EXPECT_EQ("MapData2", config.m_type);
    EXPECT_EQ((Pairs{{"type", "MapData1"}, {"rows", "2"}}), config.m_attributesByElement["Map"]);
    EXPECT_EQ("a.xml\nMap\nMapData2\n", config.Describe());
    EXPECT_EQ(nullptr, config.CreateTyped());
}

class ReadConfigTest : public ConfigTest {};

// The placement rules: nested attributes go to the parent's list, a top-level node lists its
// children's attributes before its own, an element with children loses its text, and the first
// element of a name gives that name's attributes.
TEST_F(ReadConfigTest, PlacesTextAndAttributesAsTheReaderRulesSay) {
    const std::string file = m_dir.Write("placement.xml", R"(<?xml version="1.0" ?>
<Root version="3" type="Placement">
    <Leaf a="1" b="2">hello</Leaf>
    <Mixed m="x">dropped<Inner i="1">in</Inner><Inner i="2"><Deep d="9">deep</Deep></Inner></Mixed>
    <Leaf a="later">second</Leaf>
    <Empty/>
    <Blank></Blank>
</Root>
)");
    CapturedLog log;
    KRConfig config = ReadConfig(file);
    EXPECT_TRUE(log.Lines().empty());

    EXPECT_EQ(file, config.m_fileName);
    EXPECT_EQ("Root", config.m_elementName);
    EXPECT_EQ("Placement", config.m_type);
    EXPECT_EQ((Pairs{{"version", "3"}, {"type", "Placement"}}), config.m_attributesByElement["Root"]);
    EXPECT_EQ((Pairs{{"a", "1"}, {"b", "2"}}), config.m_attributesByElement["Leaf"]);
    EXPECT_EQ((Pairs{{"m", "x"}}), config.m_attributesByElement["Mixed"]);
    EXPECT_EQ(Pairs{}, config.m_attributesByElement["Empty"]);
    EXPECT_EQ(0u, config.m_attributesByElement.count("Inner"));
    EXPECT_EQ(0u, config.m_attributesByElement.count("Deep"));
    EXPECT_EQ(
        (Pairs{{"Leaf", "hello"}, {"Mixed", "dropped"}, {"Leaf", "second"}, {"Empty", ""}, {"Blank", ""}}),
        config.m_childValues);

    ASSERT_EQ(5u, config.m_nodes.size());
    const ConfigNode& leaf = config.m_nodes[0];
    EXPECT_TRUE(leaf.m_isText);
    EXPECT_EQ("hello", leaf.m_text);
    EXPECT_EQ((Pairs{{"a", "1"}, {"b", "2"}}), leaf.m_attributes);
    EXPECT_TRUE(leaf.m_children.empty());

    const ConfigNode& mixed = config.m_nodes[1];
    EXPECT_FALSE(mixed.m_isText);
    EXPECT_EQ("", mixed.m_text);
    EXPECT_EQ((Pairs{{"i", "1"}, {"i", "2"}, {"m", "x"}}), mixed.m_attributes);
    ASSERT_EQ(2u, mixed.m_children.size());
    const ConfigNode& inner1 = *mixed.m_children[0];
    EXPECT_TRUE(inner1.m_isText);
    EXPECT_EQ("in", inner1.m_text);
    EXPECT_TRUE(inner1.m_attributes.empty());
    const ConfigNode& inner2 = *mixed.m_children[1];
    EXPECT_FALSE(inner2.m_isText);
    EXPECT_EQ((Pairs{{"d", "9"}}), inner2.m_attributes);
    ASSERT_EQ(1u, inner2.m_children.size());
    EXPECT_EQ("deep", inner2.m_children[0]->m_text);
    EXPECT_TRUE(inner2.m_children[0]->m_attributes.empty());

    EXPECT_EQ((Pairs{{"a", "later"}}), config.m_nodes[2].m_attributes);
    for (size_t i : {3u, 4u}) {
        EXPECT_TRUE(config.m_nodes[i].m_isText);
        EXPECT_EQ("", config.m_nodes[i].m_text);
    }
}

TEST_F(ReadConfigTest, RootWithoutAttributesLogsTheMissingTypeAndStillReads) {
    const std::string file = m_dir.Write("untyped.xml", "<Seq><Step>One</Step></Seq>");
    CapturedLog log;
    KRConfig config = ReadConfig(file);
    std::vector<std::string> lines = log.Lines();

    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("Error Reading Attribute", lines[0]);
    EXPECT_EQ(file, config.m_fileName);
    EXPECT_EQ("Seq", config.m_elementName);
    EXPECT_EQ("", config.m_type);
    EXPECT_EQ(Pairs{}, config.m_attributesByElement["Seq"]);
    EXPECT_EQ((Pairs{{"Step", "One"}}), config.m_childValues);
}

TEST_F(ReadConfigTest, WhitespaceLineEndsAndEntitiesReadAsTinyXmlGivesThem) {
    const std::string file = m_dir.Write(
        "text.xml", "\xEF\xBB\xBF<Root type='T'>\r\n<A>  two\r\n words </A>\r<B>&lt;&amp;&#x41;&gt;</B>"
                    "<C><![CDATA[<not an element>]]></C><D>K\xC3\xB6nig</D></Root>\r\n");
    KRConfig config = ReadConfig(file);
    EXPECT_EQ("T", config.m_type);
    EXPECT_EQ((Pairs{{"A", "two words"}, {"B", "<&A>"}, {"C", "<not an element>"}, {"D", "K\xC3\xB6nig"}}),
              config.m_childValues);
}

class WriteConfigTest : public ConfigTest {};

TEST_F(WriteConfigTest, WritesNodesWithTopLevelAttributesOnly) {
    KRConfig config(m_dir.Path("out.xml"), "Root", "Written1");
    config.m_attributesByElement["Root"].emplace_back("rows", "2");
    ConfigNode tile("Tile0", "", true);
    tile.m_attributes = {{"x", "1.00"}, {"unit", "3"}};
    config.m_nodes.push_back(tile);
    ConfigNode resource("Resource", "", false);
    ConfigNode& fire = resource.AddChild(ConfigNode("Fire", "", false));
    fire.m_attributes = {{"lost", "yes"}};
    fire.AddChild(ConfigNode("Amount", " 5", true));
    resource.AddChild(ConfigNode("Money", "", true));
    config.m_nodes.push_back(resource);
    // Not written when there are nodes.
    config.AddChildValue({"Ignored", "x"});

    ASSERT_TRUE(WriteConfig(config));
    const std::string written = ReadBytes(config.m_fileName);
    EXPECT_EQ(0u, written.rfind("<?xml version=\"1.0\" ?>\n", 0)) << written;
    EXPECT_EQ(std::string::npos, written.find("lost"));
    EXPECT_EQ(std::string::npos, written.find("Ignored"));

    KRConfig back = ReadConfig(config.m_fileName);
    EXPECT_EQ("Root", back.m_elementName);
    EXPECT_EQ("Written1", back.m_type);
    EXPECT_EQ((Pairs{{"type", "Written1"}, {"rows", "2"}}), back.m_attributesByElement["Root"]);
    ASSERT_EQ(2u, back.m_nodes.size());
    ExpectSameTree(tile, back.m_nodes[0], true);
    // Whitespace around texts is condensed on reading, as it always was.
    resource.FindChild("Fire")->FindChild("Amount")->m_text = "5";
    ExpectSameTree(resource, back.m_nodes[1], false);
}

TEST_F(WriteConfigTest, WithoutNodesWritesChildValuesInOrderWithTheirNamesAttributes) {
    KRConfig config(m_dir.Path("values.xml"), "Message", "Msg7");
    config.AddChildValue({"Step", "Place a farm"});
    config.AddChildValue({"Note", ""});
    config.AddChildValue({"Step", "Lay a path"});
    config.m_attributesByElement["Step"] = {{"colour", "red"}};

    ASSERT_TRUE(WriteConfig(config));
    KRConfig back = ReadConfig(config.m_fileName);
    EXPECT_EQ((Pairs{{"Step", "Place a farm"}, {"Note", ""}, {"Step", "Lay a path"}}), back.m_childValues);
    ASSERT_EQ(3u, back.m_nodes.size());
    EXPECT_EQ((Pairs{{"colour", "red"}}), back.m_nodes[0].m_attributes);
    EXPECT_TRUE(back.m_nodes[1].m_attributes.empty());
    EXPECT_EQ((Pairs{{"colour", "red"}}), back.m_nodes[2].m_attributes);
}

TEST_F(WriteConfigTest, ReadTreesSurviveAWriteAndReadExceptNestedAttributes) {
    const std::string file = m_dir.Write(
        "army.xml",
        "<?xml version=\"1.0\" ?>\n"
        "<ArmyData type=\"ArmyData1700000000\" extra=\"&quot;quoted&quot; &amp; &lt;angled&gt;\">\n"
        "    <Resource><Fire>12</Fire><DateStamp>Mon Jan  1</DateStamp></Resource>\n"
        "    <Mastery><Current><Points>2</Points><M0>1</M0></Current><Mod><M0>0</M0></Mod></Mastery>\n"
        "    <Unit><Drachenk\xC3\xB6nig><HP>10</HP></Drachenk\xC3\xB6nig></Unit>\n"
        "    <Plain a=\"1\">text with &lt;markup&gt;</Plain>\n"
        "</ArmyData>\n");
    KRConfig first = ReadConfig(file);
    ASSERT_EQ(4u, first.m_nodes.size());

    KRConfig copy = first;
    copy.m_fileName = m_dir.Path("copy.xml");
    ASSERT_TRUE(WriteConfig(copy));
    KRConfig second = ReadConfig(copy.m_fileName);

    EXPECT_EQ(first.m_elementName, second.m_elementName);
    EXPECT_EQ(first.m_type, second.m_type);
    EXPECT_EQ(first.m_attributesByElement[first.m_elementName],
              second.m_attributesByElement[second.m_elementName]);
    EXPECT_EQ(first.m_childValues, second.m_childValues);
    ASSERT_EQ(first.m_nodes.size(), second.m_nodes.size());
    for (size_t i = 0; i < first.m_nodes.size(); ++i) {
        ExpectSameTree(first.m_nodes[i], second.m_nodes[i], true);
    }
    EXPECT_EQ("text with <markup>", second.m_nodes[3].m_text);
    EXPECT_EQ("Mon Jan 1", second.m_nodes[0].GetChildValue("DateStamp"));
    EXPECT_EQ((Pairs{{"type", "ArmyData1700000000"}, {"extra", "\"quoted\" & <angled>"}}),
              second.m_attributesByElement["ArmyData"]);
    EXPECT_EQ("Drachenk\xC3\xB6nig", second.m_nodes[2].m_children[0]->m_name);
}

TEST_F(WriteConfigTest, AttributesTwoLevelsDownDoNotSurviveAReadAndWrite) {
    const std::string file = m_dir.Write(
        "nested.xml", R"(<Root type="N"><Top t="1"><Mid m="2"><Low l="3">x</Low></Mid></Top></Root>)");
    KRConfig config = ReadConfig(file);
    ASSERT_EQ(1u, config.m_nodes.size());
    EXPECT_EQ((Pairs{{"m", "2"}, {"t", "1"}}), config.m_nodes[0].m_attributes);
    EXPECT_EQ((Pairs{{"l", "3"}}), config.m_nodes[0].m_children[0]->m_attributes);

    config.m_fileName = m_dir.Path("nested-out.xml");
    ASSERT_TRUE(WriteConfig(config));
    const std::string written = ReadBytes(config.m_fileName);
    EXPECT_EQ(std::string::npos, written.find("l=\"3\""));
    KRConfig back = ReadConfig(config.m_fileName);
    EXPECT_TRUE(back.m_nodes[0].m_children[0]->m_attributes.empty());
}

TEST_F(WriteConfigTest, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    const std::string file = m_dir.Write("slot.xml", "<Old type=\"Old1\"/>");
    KRConfig config(file, "New", "New1");
    config.AddChildValue({"A", "1"});
    CapturedLog log;
    ASSERT_TRUE(WriteConfig(config));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ("New1", ReadConfig(file).m_type);
    EXPECT_EQ(std::vector<std::string>{"slot.xml"}, m_dir.Entries());
}

} // namespace

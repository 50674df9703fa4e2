// The check made before TinyXML parses: UTF-8, the markup subset, and above all a depth that TinyXML
// can never exceed on a text the check let through.
#include "engine/krconfigcheck.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(Utf8Test, AcceptsWellFormedSequencesAtEveryBoundary) {
    for (const char* text :
         {"plain ascii", "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
          "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "K\xC3\xB6nig \xE2\x82\xAC"}) {
        EXPECT_EQ(std::string::npos, FindInvalidUtf8(text)) << text;
    }
}

TEST(Utf8Test, FindsTheFirstBadByte) {
    const std::vector<std::pair<std::string, size_t>> cases = {
        {std::string("ab\0c", 4), 2},  // NUL
        {"a\x80", 1},                  // continuation without a lead
        {"\xC0\xBC", 0},               // overlong '<'
        {"\xC1\xBF", 0},               // overlong
        {"\xE0\x9F\xBF", 0},           // overlong three-byte form
        {"\xED\xA0\x80", 0},           // surrogate
        {"\xF0\x8F\xBF\xBF", 0},       // overlong four-byte form
        {"\xF4\x90\x80\x80", 0},       // above U+10FFFF
        {"\xF5\x80\x80\x80", 0},       // no such lead byte
        {"ok\xE2\x82", 2},             // cut short at the end
        {"\xE2\x82<", 0},              // cut short by markup
        {"\xF0\"ab\"", 0},             // a lead byte that would swallow a quote
        {"fine\xC3\xA9 then \xFF", 12} // the first bad one, not the first multi-byte one
    };
    for (const auto& [text, at] : cases) {
        EXPECT_EQ(at, FindInvalidUtf8(text)) << testing::PrintToString(text);
    }
}

std::string Check(const std::string& text) {
    std::string reason;
    return CheckConfigText(text, reason) ? "ok" : reason;
}

TEST(CheckConfigTextTest, AcceptsTheShapesOfOrdinaryFiles) {
    for (const char* text : {
             "<R/>",
             "<?xml version=\"1.0\" ?>\n<R type=\"T\"><A>1</A></R>\n",
             "<?xml version='1.0' encoding='UTF-8' standalone='yes'?><R/>",
             "<?XML version=\"1.0\"?><R/>",
             "\xEF\xBB\xBF<R/>",
             "<!-- before --><R><!-- inside <not/> --></R><!-- after -->\n",
             "<R a = \"x > y / z\" b='say \"hi\"'><C/></R >",
             "<R><![CDATA[<a><b><c>]]></R>",
             "<R>text &lt;&#x3C;&#60; more<A>x</A>tail</R>",
             "<_r:x-1.y\xC3\xA9><a\xE2\x82\xAC/></_r:x-1.y\xC3\xA9>",
         }) {
        EXPECT_EQ("ok", Check(text)) << text;
    }
}

TEST(CheckConfigTextTest, RefusesWhatTinyXmlWouldMisreadOrWeNeverWrite) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "empty file"},
        {"   \n", "no root element (line 2)"},
        {"<?xml version=\"1.0\"?>", "no root element"},
        {"<?xml version=\">\"?><R/>", "malformed XML declaration"},
        {"<?xml version=\"1.0\"><R/>", "malformed XML declaration"},
        {"<?xmlversion=\"1.0\"?><R/>", "malformed XML declaration"},
        {"<R/><?xml version=\"1.0\"?>", "markup after the root element"},
        {"<R><?xml x=\"1\"?></R>", "markup that the game does not read"},
        {"<?pi data?><R/>", "markup that the game does not read"},
        {"<!DOCTYPE R><R/>", "markup that the game does not read"},
        {"<R><!ENTITY x></R>", "markup that the game does not read"},
        {"<R>< A/></R>", "markup that the game does not read"},
        {"<R>a < b</R>", "markup that the game does not read"},
        {"</R>", "markup that the game does not read"},
        {"<R a=\"<\"/>", "'<' in the value of attribute a"},
        {"<R a=x/>", "not in quotes"},
        {"<R a/>", "has no value"},
        {"<R a=\"1\"b/>", "has no value"},
        {"<R / >", "malformed tag <R>"},
        {"<R \"a\"=\"1\"/>", "malformed tag <R>"},
        {"<R a=\"1", "truncated"},
        {"<R", "truncated"},
        {"<R><A>", "truncated: <A> is not closed"},
        {"<R></A>", "</A> closes <R>"},
        {"<R></R x>", "malformed end tag </R>"},
        {"<R><!-- open</R>", "unterminated comment"},
        {"<R><![CDATA[ open</R>", "unterminated CDATA section"},
        {"<R/>x", "text after the root element"},
        {"<R/><R/>", "markup after the root element"},
        {"x<R/>", "text where an element is expected"},
    };
    for (const auto& [text, reason] : cases) {
        EXPECT_NE(std::string::npos, Check(text).find(reason)) << text << " -> " << Check(text);
    }
}

TEST(CheckConfigTextTest, CountsEmptyElementsAndStopsAtTheCap) {
    std::string allowed;
    std::string refused;
    for (size_t i = 1; i < kConfigMaxDepth; ++i) {
        allowed += "<a>";
    }
    refused = allowed + "<a><b/></a>";
    allowed += "<b/>";
    for (size_t i = 1; i < kConfigMaxDepth; ++i) {
        allowed += "</a>";
        refused += "</a>";
    }
    EXPECT_EQ("ok", Check(allowed));
    EXPECT_NE(std::string::npos, Check(refused).find("nested deeper than 256 elements"));
}

// Writes well-formed documents that carry, wherever XML allows them, the characters on which the check
// and TinyXML could split markup differently: '>' and "/>" and the other quote inside values, markup in
// comments and CDATA, byte-order marks, entities, blanks before '>' of end tags.
class TrickyDocuments {
public:
    explicit TrickyDocuments(unsigned seed) : m_random(seed) {}

    // A document whose deepest element lies at depth, and that depth.
    std::string Make(size_t depth) {
        m_text =
            Pick({"", "<?xml version=\"1.0\" ?>\n", "\xEF\xBB\xBF<?xml version='1.0' encoding=\"a'b\"?>"});
        m_text += Pick({"", "<!-- <r><r> \" ' -->\n"});
        Element(1, depth);
        m_text += Pick({"", "\n", "<!-- <after> -->\n"});
        return m_text;
    }

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

private:
    std::string Pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + Below(choices.size()));
    }

    void Text() {
        for (size_t n = Below(4); n > 0; --n) {
            m_text += Pick({"words", " > ", "/>", "\"", "'", "&#x3E;", "&lt;", "&#60;", "\xEF\xBB\xBF", "\n",
                            "<!-- <a><a x=\"> -->", "<![CDATA[<a><a>\"]]>", "\xC3\xA9"});
        }
    }

    void Attributes() {
        for (const char* name : {"x", "y"}) {
            if (Below(2) == 0) {
                continue;
            }
            const std::string quote = Pick({"\"", "'"});
            m_text += std::string(" ") + name + Pick({"=", " = "}) + quote;
            for (size_t n = Below(4); n > 0; --n) {
                m_text += Pick({">", "/>", "v", " ", "&#x3C;", "&amp;", "\xEF\xBB\xBF", "\xE2\x82\xAC"});
                m_text += quote == "\"" ? "'" : "\"";
            }
            m_text += quote;
        }
    }

    // Opens the element at depth; one child continues the spine down to last, the others stay shallow.
    void Element(size_t depth, size_t last) {
        const std::string name = Pick({"a", "b_1", "c:d", "\xC3\xA9t"});
        m_text += "<" + name;
        Attributes();
        if (depth == last && Below(2) == 0) {
            m_text += Pick({"/>", " />"});
            return;
        }
        m_text += ">";
        Text();
        if (depth < last) {
            if (Below(4) == 0) {
                m_text += "<s/>";
                Text();
            }
            Element(depth + 1, last);
            Text();
        }
        m_text += "</" + name + Pick({">", " >", "\n>"});
    }

    std::mt19937 m_random;
    std::string m_text;
};

// The deepest element TinyXML built, measured without recursion.
size_t TinyXmlDepth(const TiXmlDocument& doc) {
    size_t deepest = 0;
    std::vector<std::pair<const TiXmlElement*, size_t>> pending;
    for (const TiXmlElement* e = doc.FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) {
        pending.emplace_back(e, 1);
    }
    while (!pending.empty()) {
        auto [element, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        for (const TiXmlElement* c = element->FirstChildElement(); c != nullptr;
             c = c->NextSiblingElement()) {
            pending.emplace_back(c, depth + 1);
        }
    }
    return deepest;
}

TEST(CheckConfigTextTest, TakesUpTo256AttributesOnAnElement) {
    std::string attributes;
    for (size_t i = 0; i < kConfigMaxAttributes; ++i) {
        attributes += " a" + std::to_string(i) + "='1'";
    }
    EXPECT_EQ("ok", Check("<r" + attributes + "/>"));
    EXPECT_EQ("ok", Check("<r><c" + attributes + "></c></r>"));
    const std::string tooMany = Check("<r><c" + attributes + " z='1'/></r>");
    EXPECT_NE(std::string::npos, tooMany.find("more than 256 attributes on <c> (line 1)")) << tooMany;
}

// TinyXML steps over a UTF-8 lead byte and the bytes it announces, whatever they are. A stray lead
// byte before a closing quote thus keeps TinyXML inside the value while a check that read byte by byte
// takes what follows for a comment, and the elements inside that "comment" go uncounted.
TEST(CheckConfigTextTest, AStrayLeadByteCannotHideElements) {
    std::string text = "<r><e x=\"\xF0\"> <!-- \">";
    for (int i = 0; i < 300; ++i) {
        text += "<a>";
    }
    for (int i = 0; i < 300; ++i) {
        text += "</a>";
    }
    text += " --></e></r>";

    TiXmlDocument doc;
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
    ASSERT_GT(TinyXmlDepth(doc), kConfigMaxDepth);
    EXPECT_NE(std::string::npos, Check(text).find("invalid UTF-8 (line 1)")) << Check(text);
}

TEST(CheckConfigTextTest, AgreesWithTinyXmlOnTheDepthOfWellFormedDocuments) {
    TrickyDocuments documents(20261209);
    for (size_t depth : {1u, 2u, 3u, 17u, 255u, 256u, 257u, 300u}) {
        for (int round = 0; round < 25; ++round) {
            const std::string text = documents.Make(depth);
            std::string reason;
            bool accepted = CheckConfigText(text, reason);
            ASSERT_EQ(depth <= kConfigMaxDepth, accepted) << reason << "\n" << text;
            if (accepted) {
                TiXmlDocument doc;
                doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
                ASSERT_FALSE(doc.Error()) << doc.ErrorDesc() << "\n" << text;
                ASSERT_EQ(depth, TinyXmlDepth(doc)) << text;
            }
        }
    }
}

// The same documents, damaged with the pieces that would hide elements from a careless check: a
// declaration or unknown markup inside content, unquoted values, stray lead bytes that swallow the next
// bytes, unbalanced quotes and comments. Whatever the check still lets through must not parse deeper
// than the cap.
TEST(CheckConfigTextTest, NothingItAcceptsParsesDeeperThanTheCap) {
    const std::vector<std::string> damage = {
        "<?xml x=\">\" ", "<!x>", "<?p?>", "<a x=y>", "\xF0", "\xE2\x82", "\"",    "'", "<!-- ", " -->",
        "<![CDATA[",      "]]>",  ">",     "/>",      "<a>",  "</a>",     "</ a>", "<", "&#x",   "=",
        "\xEF\xBB\xBF",
    };
    TrickyDocuments documents(4242);
    int accepted = 0;
    int acceptedAtTheCap = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string text = documents.Make(kConfigMaxDepth - 4 + documents.Below(12));
        for (size_t n = 1 + documents.Below(2); n > 0; --n) {
            size_t at = documents.Below(text.size());
            if (documents.Below(3) == 0) {
                text.erase(at, 1 + documents.Below(3));
            } else {
                text.insert(at, damage[documents.Below(damage.size())]);
            }
        }
        std::string reason;
        if (!CheckConfigText(text, reason)) {
            continue;
        }
        ++accepted;
        TiXmlDocument doc;
        doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
        size_t depth = TinyXmlDepth(doc);
        ASSERT_LE(depth, kConfigMaxDepth) << text;
        if (depth + 8 >= kConfigMaxDepth) {
            ++acceptedAtTheCap;
        }
    }
    // Only worth something if damaged texts near the cap got through the check.
    EXPECT_GT(accepted, 100) << accepted;
    EXPECT_GT(acceptedAtTheCap, 50) << acceptedAtTheCap;
}

} // namespace

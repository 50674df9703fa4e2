#include "engine/krconfigcheck.h"

#include <vector>

namespace {

// The characters TinyXML's own tests use, so that names and blanks end where its parser ends them:
// isspace and isalpha/isalnum of the C locale, and every byte from 127 up counted as a letter.
bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x7F;
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

bool IsContinuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

size_t LineOf(std::string_view text, size_t offset) {
    size_t line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
        }
    }
    return line;
}

class MarkupCheck {
public:
    MarkupCheck(std::string_view text, std::string& reason) : m_text(text), m_reason(reason) {}

    bool Run() {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
            m_pos = 3;
        }
        SkipSpace();
        if (StartsWithNoCase("<?xml") && !Declaration()) {
            return false;
        }
        bool haveRoot = false;
        while (true) {
            SkipSpace();
            if (AtEnd()) {
                break;
            }
            if (Peek() != '<') {
                return Fail(haveRoot ? "text after the root element" : "text where an element is expected");
            }
            if (StartsWith("<!--")) {
                if (!Comment()) {
                    return false;
                }
                continue;
            }
            if (haveRoot) {
                return Fail("markup after the root element");
            }
            if (!IsNameStart(PeekAt(1))) {
                return Fail("markup that the game does not read");
            }
            if (!StartTag() || !Content()) {
                return false;
            }
            haveRoot = true;
        }
        if (!haveRoot) {
            return Fail("no root element");
        }
        return true;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    unsigned char Peek() const { return PeekAt(0); }
    unsigned char PeekAt(size_t offset) const {
        size_t at = m_pos + offset;
        return at < m_text.size() ? static_cast<unsigned char>(m_text[at]) : 0;
    }
    bool StartsWith(std::string_view prefix) const { return m_text.substr(m_pos, prefix.size()) == prefix; }
    bool StartsWithNoCase(std::string_view prefix) const {
        if (m_text.size() - m_pos < prefix.size()) {
            return false;
        }
        for (size_t i = 0; i < prefix.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(m_text[m_pos + i]);
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<unsigned char>(c - 'A' + 'a');
            }
            if (c != static_cast<unsigned char>(prefix[i])) {
                return false;
            }
        }
        return true;
    }
    void SkipSpace() {
        while (!AtEnd() && IsSpace(Peek())) {
            ++m_pos;
        }
    }
    std::string_view ReadName() {
        size_t start = m_pos;
        if (!AtEnd() && IsNameStart(Peek())) {
            while (!AtEnd() && IsNameChar(Peek())) {
                ++m_pos;
            }
        }
        return m_text.substr(start, m_pos - start);
    }

    bool Fail(const std::string& what) {
        m_reason = what + " (line " + std::to_string(LineOf(m_text, m_pos)) + ")";
        return false;
    }

    // TinyXML ends the declaration at its first '>', skipping quoted values only for the attribute
    // names it knows; with no '<' or '>' inside any value the two readings end at the same place.
    bool Declaration() {
        m_pos += 5;
        while (true) {
            bool spaced = !AtEnd() && IsSpace(Peek());
            SkipSpace();
            if (StartsWith("?>")) {
                m_pos += 2;
                return true;
            }
            if (!spaced || ReadName().empty()) {
                return Fail("malformed XML declaration");
            }
            SkipSpace();
            if (Peek() != '=') {
                return Fail("malformed XML declaration");
            }
            ++m_pos;
            SkipSpace();
            unsigned char quote = Peek();
            if (quote != '"' && quote != '\'') {
                return Fail("malformed XML declaration");
            }
            ++m_pos;
            while (!AtEnd() && Peek() != quote) {
                if (Peek() == '<' || Peek() == '>') {
                    return Fail("malformed XML declaration");
                }
                ++m_pos;
            }
            if (AtEnd()) {
                return Fail("unterminated XML declaration");
            }
            ++m_pos;
        }
    }

    bool Comment() {
        size_t end = m_text.find("-->", m_pos + 4);
        if (end == std::string_view::npos) {
            return Fail("unterminated comment");
        }
        m_pos = end + 3;
        return true;
    }

    // At '<' and a name start. Pushes the element unless it is empty ("/>").
    bool StartTag() {
        ++m_pos;
        std::string_view name = ReadName();
        if (m_open.size() + 1 > kConfigMaxDepth) {
            return Fail("nested deeper than " + std::to_string(kConfigMaxDepth) + " elements");
        }
        size_t attributes = 0;
        while (true) {
            SkipSpace();
            if (AtEnd()) {
                return Fail("truncated: the tag <" + std::string(name) + "> is not finished");
            }
            if (StartsWith("/>")) {
                m_pos += 2;
                return true;
            }
            if (Peek() == '>') {
                ++m_pos;
                m_open.push_back(name);
                return true;
            }
            if (!IsNameStart(Peek())) {
                return Fail("malformed tag <" + std::string(name) + ">");
            }
            if (++attributes > kConfigMaxAttributes) {
                return Fail("more than " + std::to_string(kConfigMaxAttributes) + " attributes on <" +
                            std::string(name) + ">");
            }
            if (!Attribute(name)) {
                return false;
            }
        }
    }

    bool Attribute(std::string_view element) {
        std::string attribute(ReadName());
        SkipSpace();
        if (Peek() != '=') {
            return Fail("attribute " + attribute + " of <" + std::string(element) + "> has no value");
        }
        ++m_pos;
        SkipSpace();
        unsigned char quote = Peek();
        if (quote != '"' && quote != '\'') {
            return Fail("value of attribute " + attribute + " of <" + std::string(element) +
                        "> is not in quotes");
        }
        ++m_pos;
        while (!AtEnd() && Peek() != quote) {
            if (Peek() == '<') {
                return Fail("'<' in the value of attribute " + attribute);
            }
            ++m_pos;
        }
        if (AtEnd()) {
            return Fail("truncated: the value of attribute " + attribute + " is not finished");
        }
        ++m_pos;
        return true;
    }

    // The content of the open elements, until the outermost one is closed.
    bool Content() {
        while (!m_open.empty()) {
            if (AtEnd()) {
                return Fail("truncated: <" + std::string(m_open.back()) + "> is not closed");
            }
            if (Peek() != '<') {
                size_t next = m_text.find('<', m_pos);
                m_pos = next == std::string_view::npos ? m_text.size() : next;
                continue;
            }
            if (StartsWith("</")) {
                m_pos += 2;
                std::string_view name = ReadName();
                if (AtEnd()) {
                    return Fail("truncated: <" + std::string(m_open.back()) + "> is not closed");
                }
                if (name != m_open.back()) {
                    return Fail("</" + std::string(name) + "> closes <" + std::string(m_open.back()) + ">");
                }
                SkipSpace();
                if (Peek() != '>') {
                    return Fail("malformed end tag </" + std::string(name) + ">");
                }
                ++m_pos;
                m_open.pop_back();
            } else if (StartsWith("<!--")) {
                if (!Comment()) {
                    return false;
                }
            } else if (StartsWith("<![CDATA[")) {
                size_t end = m_text.find("]]>", m_pos + 9);
                if (end == std::string_view::npos) {
                    return Fail("unterminated CDATA section");
                }
                m_pos = end + 3;
            } else if (IsNameStart(PeekAt(1))) {
                if (!StartTag()) {
                    return false;
                }
            } else {
                return Fail("markup that the game does not read");
            }
        }
        return true;
    }

    std::string_view m_text;
    std::string& m_reason;
    size_t m_pos = 0;
    std::vector<std::string_view> m_open;
};

} // namespace

size_t FindInvalidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) {
            return i;
        }
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = c == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
        } else {
            return i;
        }
        if (text.size() - i < length) {
            return i;
        }
        unsigned char second = static_cast<unsigned char>(text[i + 1]);
        if (second < low || second > high) {
            return i;
        }
        for (size_t k = 2; k < length; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) {
                return i;
            }
        }
        i += length;
    }
    return std::string_view::npos;
}

bool CheckConfigText(std::string_view text, std::string& reason) {
    if (text.size() > kConfigMaxBytes) {
        reason = "larger than 4 MiB";
        return false;
    }
    if (text.empty()) {
        reason = "empty file";
        return false;
    }
    size_t bad = FindInvalidUtf8(text);
    if (bad != std::string_view::npos) {
        reason = std::string(text[bad] == '\0' ? "NUL byte" : "invalid UTF-8") + " (line " +
                 std::to_string(LineOf(text, bad)) + ")";
        return false;
    }
    return MarkupCheck(text, reason).Run();
}

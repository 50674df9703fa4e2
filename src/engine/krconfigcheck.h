// Checks made on the bytes of a configuration file before TinyXML sees them, and on the bytes about to
// be written, so that the game never writes a file it would refuse to read.
//
// TinyXML 1 parses nested elements by recursion without any limit, so a deep file overflows the stack.
// The depth is therefore measured here, without recursion. That is only sound if this check splits the
// markup exactly where TinyXML does, so it accepts a strict subset of XML on which the two cannot
// disagree: UTF-8 without NUL bytes; an optional BOM and XML declaration; comments; one root element;
// quoted attribute values without '<' or '>' in the declaration and without '<' elsewhere; CDATA; no
// DOCTYPE, processing instructions or text outside the root. Whatever is refused here TinyXML would
// reject or read differently from what XML means.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr size_t kConfigMaxBytes = 4u * 1024u * 1024u;
constexpr size_t kConfigMaxDepth = 256;
// TinyXML looks for a duplicate among the attributes before it adds each one: a file of nothing but
// attributes on one element would take minutes to parse.
constexpr size_t kConfigMaxAttributes = 256;

// True when text may be handed to TinyXML; otherwise false and reason says why, for the log line.
bool CheckConfigText(std::string_view text, std::string& reason);

// Offset of the first byte that is NUL or not part of well-formed UTF-8; npos when there is none.
size_t FindInvalidUtf8(std::string_view text);

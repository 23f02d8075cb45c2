// Reading the XML files the programs keep: the bytes made ready for TinyXML (encoding, line ends,
// stray '&'), guarded against nesting that would overflow the parser's recursion, then parsed.
#pragma once

#include <string>
#include <string_view>

class TiXmlDocument;
class TiXmlElement;

namespace zov::xml {

// The deepest element nesting a document may have; deeper files are refused before the parser,
// which recurses once per level, runs.
inline constexpr int kMaxXmlDepth = 1000;

// Parses the bytes of a file into the (empty) document, texts in UTF-8. False when the bytes hold a
// zero byte, are not well-formed for the parser, or nest deeper than kMaxXmlDepth.
bool ParseXmlDocument(std::string_view bytes, TiXmlDocument& document);

// The text of the first child element of that name; empty when there is none or it holds no text.
std::string FirstChildText(const TiXmlElement& element, const char* name);

}  // namespace zov::xml

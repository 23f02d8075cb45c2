// TinyXML parses, copies and destroys trees by recursion, one call per element level, so a file that
// nests deeply enough would overflow the stack. This scan finds how deep the parser would go before
// the parser is run: it follows the parser's own rules for where markup starts and ends (text up to
// the next '<' with character references that may reach past it, comments, CDATA, declarations,
// unknown tags, quoted and unquoted attribute values).
#pragma once

#include <optional>
#include <string_view>

namespace zov::xml {

// The deepest element nesting (1 for a lone root) the parser reaches on this text (made ready by
// PrepareXmlInput), never less. Where the parser would swallow the rest of the text (an unterminated
// comment, CDATA section, unknown tag or declaration) the answer may be more: every element opening
// in the rest then counts as one level deeper. Nothing when a start tag breaks the parser's rules
// (it would stop with an error): the caller refuses such a text rather than trust a parser the scan
// no longer follows.
// An element with more attributes than kMaxAttributesPerElement is refused the same way: the
// parser's time grows with the square of an element's attribute count.
inline constexpr int kMaxAttributesPerElement = 2000;
std::optional<int> ElementDepth(std::string_view text);

}  // namespace zov::xml

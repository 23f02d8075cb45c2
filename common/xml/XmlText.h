// The text conversions between Pirrow's command lines (UTF-8, Windows-1252 accepted) and the XML files
// it reads and writes. Written files declare "ISO-8859-1", so everything that goes into them is
// Latin-1 bytes; what cannot be a Latin-1 byte becomes a character reference where XML allows one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zov::xml {

// The text of a written element, escaped for a file declared "ISO-8859-1":
//  - & < > " ' as the entities &amp; &lt; &gt; &quot; &apos;
//  - tab, LF, CR, DEL, the C1 controls and every character above U+00FF as "&#xHH;"
//  - the other control characters, which XML cannot carry at all, made visible as "\xHH"
//  - a blank at either end or after another blank as "&#x20;": readers that fold blanks keep it.
std::string EscapeText(std::string_view utf8);

// The text of a written element as it goes into the file: EscapeText, except for a text made only of
// blanks, tabs and line feeds. The reader drops such a text whatever references spell it, but keeps
// it from a CDATA section, so it is written as one. (A carriage return cannot be kept in a CDATA
// section, so a text holding one stays escaped.)
std::string ElementText(std::string_view utf8);

// An attribute value: as EscapeText, but blanks are kept as they are.
std::string EscapeAttribute(std::string_view utf8);

// A comment's text: Latin-1 with no references available, so a character above U+00FF becomes '?',
// controls are made visible, "--" is broken into "- -" and a final '-' gets a blank after it
// (either would end the comment early).
std::string CommentText(std::string_view utf8);

// Whether the text is a name that an element or attribute of an "ISO-8859-1" file can carry and
// that the reader accepts: a letter or '_' first, then letters, digits, '_', '-', '.', ':' or U+00B7,
// every character within Latin-1.
bool IsWritableName(std::string_view utf8);

// A name that passed IsWritableName, as Latin-1 bytes.
std::string Latin1Name(std::string_view utf8);

// The bytes of an XML file made ready for the parser: the text in UTF-8 (declared UTF-8, with a
// byte-order mark or with no declared encoding: UTF-8 with the Windows-1252 fallback; any other
// declared encoding, "ISO-8859-1" above all: each byte as its Windows-1252 character), the mark
// removed and CR LF and CR turned into LF. Nothing when the bytes hold a zero byte, which XML forbids.
std::optional<std::string> PrepareXmlInput(std::string_view bytes);

// The prepared text made safe for the parser, which would otherwise lose data without an error:
//  - an '&' that starts no reference the parser knows ("AT&T", "a & b", an entity it cannot expand)
//    would be dropped, so it becomes "&amp;" and reads back as the '&' the file holds; the five
//    predefined entities and character references are left as they are, and so are comments, CDATA
//    sections, processing instructions and unquoted attribute values, which the parser takes raw;
//  - a document type declaration with an internal subset ("<!DOCTYPE r [ ... ]>") would end at its
//    first '>' and the parser would then ignore the whole rest of the file, root included; it is
//    removed (its declarations are not applied: an entity it declares reads as written, "&name;").
std::string RepairForParser(std::string_view text);

// The text cut at size - 1 bytes by a fixed buffer may end inside a UTF-8 sequence; this drops that
// incomplete tail so the cut never invents a character.
std::string_view DropIncompleteUtf8Tail(std::string_view text);

}  // namespace zov::xml

// Printing the XML documents the programs write (Pirrow's files, the IDE's project files). The layout is TinyXML's own (four blanks per level,
// an element holding only text on one line, "<a />" for an empty element), but every text goes through
// the escaping of XmlText.h, so the bytes match the "ISO-8859-1" declaration.
#pragma once

#include <string>
#include <string_view>

class TiXmlDocument;

namespace zov::xml {

// The bytes of the file for a document whose names and texts are held in UTF-8.
std::string PrintDocument(const TiXmlDocument& document);

// The same, with the style-sheet instruction <?xml-stylesheet href="..." type="text/xsl"?> on the
// declaration's line, right after it, when the href is not empty. The href is escaped like an
// attribute value, so a "?>" or a quote in a path cannot end the instruction early.
std::string PrintDocument(const TiXmlDocument& document, std::string_view styleSheetHref);

}  // namespace zov::xml

// Printing and saving the document Pirrow writes. The layout is TinyXML's own (four blanks per level,
// an element holding only text on one line, "<a />" for an empty element), but every text goes through
// the escaping of XmlText.h, so the bytes match the "ISO-8859-1" declaration.
#pragma once

#include <string>
#include <string_view>

class TiXmlDocument;

namespace pirrow {

// The bytes of the file for a document whose names and texts are held in UTF-8.
std::string PrintDocument(const TiXmlDocument& document);

// Writes the bytes to a temporary file beside path, checks the write and the close, then renames it
// over path, so a failed save never leaves a truncated file. An existing file keeps its permission
// bits. On failure returns false and sets error to a short reason (the system's message).
bool SaveFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace pirrow

// Filling a template: the six placeholders, each value escaped for where it lands, and the file's
// bytes with CR LF after every line.
#pragma once

#include "generator/core/Templates.h"

#include <string>
#include <string_view>

namespace zov::vantoro {

// The values put in place of "%%CLI%%", "%%EXIT%%", "%%SYNCHRO%%", "%%INTERFACE%%", "%%COPYRIGHT%%"
// and "%%VERSION%%" (UTF-8).
struct PlaceholderValues {
    std::string cliName;
    std::string exitMessage;
    std::string synchroMessage;
    std::string synchroStreamWord;
    std::string copyright;
    std::string version;
};

// The text as it reads inside a C string literal: \ and " escaped, line ends as \r and \n, other
// control characters as three-digit octal escapes, and "??" split so that no trigraph can form.
std::string EscapeForCString(std::string_view value);

// The text as an XML attribute value of a Windows-1252 document: the five markup characters as
// entities, characters the code page lacks as character references, control characters that XML
// cannot carry as "?". The result is UTF-8 that Utf8ToWindows1252 converts without loss.
std::string EscapeForXmlWindows1252(std::string_view value);

// One line with every placeholder replaced, in the order CLI, EXIT, SYNCHRO, INTERFACE, COPYRIGHT,
// VERSION. A value that itself holds a later placeholder is replaced again, as it always was.
std::string SubstituteLine(std::string_view line, const PlaceholderValues& values, Escaping escaping);

// The bytes of the file written from a template: every line substituted and followed by CR LF.
// A line break that a value brings in also becomes CR LF, so the file never holds a bare CR or LF;
// the XML template is converted to Windows-1252, the encoding it declares.
std::string RenderTemplate(std::string_view text, const PlaceholderValues& values, Escaping escaping);

}  // namespace zov::vantoro

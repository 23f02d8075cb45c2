// The templates the generator carries, by the number each has always had, and what becomes of them.
#pragma once

#include <string>
#include <string_view>

namespace zov::vantoro {

enum class TemplateId : int {
    Dsp = 129,
    Dsw = 130,
    MainCpp = 131,
    MainH = 132,
    MainCmdCpp = 133,
    MainCmdH = 134,
    NewCmdCpp = 135,
    NewCmdH = 136,
    StrfuncCpp = 137,
    StrfuncH = 138,
    Dev = 139,
    Sln = 140,
    Vcproj = 142,
};

// How a value is written where a placeholder stands.
enum class Escaping {
    None,            // as typed
    CString,         // inside a C string literal: \ " and control characters escaped
    XmlWindows1252,  // an XML attribute of a file declared "Windows-1252"
};

// The template's text (LF line ends); empty for an unknown id.
std::string_view TemplateText(TemplateId id);

Escaping TemplateEscaping(TemplateId id);

// The name of the file written from the template: the CLI's name and the project file's extension,
// or the source unit's fixed name.
std::string OutputFileName(TemplateId id, std::string_view cliName);

}  // namespace zov::vantoro

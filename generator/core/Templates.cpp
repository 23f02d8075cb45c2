#include "generator/core/Templates.h"

#include "generator/core/EmbeddedTemplates.h"

#include <cstring>

namespace zov::vantoro {

namespace {

struct TemplateRecord {
    TemplateId id;
    const char* source;     // file name under generator/templates
    const char* extension;  // project files: the CLI's name + this; null: the source's own name
    Escaping escaping;
};

constexpr TemplateRecord kTemplates[] = {
    {TemplateId::Dsp, "Project.dsp", ".dsp", Escaping::None},
    {TemplateId::Dsw, "Project.dsw", ".dsw", Escaping::None},
    {TemplateId::MainCpp, "main.cpp", nullptr, Escaping::CString},
    {TemplateId::MainH, "main.h", nullptr, Escaping::CString},
    {TemplateId::MainCmdCpp, "MainCmd.cpp", nullptr, Escaping::CString},
    {TemplateId::MainCmdH, "MainCmd.h", nullptr, Escaping::CString},
    {TemplateId::NewCmdCpp, "NewCmd.cpp", nullptr, Escaping::CString},
    {TemplateId::NewCmdH, "NewCmd.h", nullptr, Escaping::CString},
    {TemplateId::StrfuncCpp, "strfunc.cpp", nullptr, Escaping::CString},
    {TemplateId::StrfuncH, "strfunc.h", nullptr, Escaping::CString},
    {TemplateId::Dev, "Project.dev", ".dev", Escaping::None},
    {TemplateId::Sln, "Project.sln", ".sln", Escaping::None},
    {TemplateId::Vcproj, "Project.vcproj", ".vcproj", Escaping::XmlWindows1252},
};

const TemplateRecord* Find(TemplateId id)
{
    for (const TemplateRecord& record : kTemplates) {
        if (record.id == id)
            return &record;
    }
    return nullptr;
}

}  // namespace

std::string_view TemplateText(TemplateId id)
{
    const TemplateRecord* record = Find(id);
    if (record == nullptr)
        return {};
    for (size_t i = 0; i < kEmbeddedTemplateCount; ++i) {
        if (std::strcmp(kEmbeddedTemplates[i].name, record->source) == 0)
            return {reinterpret_cast<const char*>(kEmbeddedTemplates[i].bytes), kEmbeddedTemplates[i].size};
    }
    return {};
}

Escaping TemplateEscaping(TemplateId id)
{
    const TemplateRecord* record = Find(id);
    return record == nullptr ? Escaping::None : record->escaping;
}

std::string OutputFileName(TemplateId id, std::string_view cliName)
{
    const TemplateRecord* record = Find(id);
    if (record == nullptr)
        return {};
    if (record->extension == nullptr)
        return record->source;
    return std::string(cliName) + record->extension;
}

}  // namespace zov::vantoro

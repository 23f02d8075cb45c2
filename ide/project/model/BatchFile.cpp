#include "ide/project/model/BatchFile.h"

#include "common/AtomicFile.h"
#include "common/NumberText.h"
#include "common/xml/XmlReader.h"
#include "common/xml/XmlWriter.h"
#include "ide/project/model/ProjectXml.h"

#include <tinyxml.h>

namespace zov::project {

std::string GetChildText(const TiXmlElement& element, const char* name)
{
    return xml::FirstChildText(element, name);
}

bool ReadBatchText(std::string_view bytes, int& hide, BatchEntries& entries)
{
    TiXmlDocument document;
    if (!xml::ParseXmlDocument(bytes, document)) {
        return false;
    }
    const TiXmlElement* root = document.FirstChildElement("ZOVBatch");
    if (!root) {
        return false;
    }
    if (const TiXmlElement* options = root->FirstChildElement("Options")) {
        hide = ParseLeadingInt(GetChildText(*options, "Hide")) == 1 ? 1 : 0;
    }
    for (const TiXmlElement* project = root->FirstChildElement("Project"); project;
         project = project->NextSiblingElement("Project")) {
        auto entry = std::make_unique<CBatchEntry>();
        entry->Filename = GetChildText(*project, "Filename");
        entry->Name = GetChildText(*project, "Name");
        entry->Version = GetChildText(*project, "Version");
        entry->Report = GetChildText(*project, "Report");
        entry->Repeat = ParseLeadingInt(GetChildText(*project, "Repeat"));
        entry->Program = GetChildText(*project, "Program");
        entry->ProgramParam = GetChildText(*project, "ProgramParam");
        entries.push_back(std::move(entry));
    }
    return true;
}

bool ReadBatchFile(const std::string& path, int& hide, BatchEntries& entries)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes && ReadBatchText(*bytes, hide, entries);
}

std::string BatchFileText(int hide, const BatchEntries& entries)
{
    TiXmlDocument document;
    TiXmlElement& root = *StartDocument(document, "ZOVBatch");
    auto* options = new TiXmlElement("Options");
    root.LinkEndChild(options);
    AddNumberChild(*options, "Hide", hide);
    for (const auto& entry : entries) {
        auto* project = new TiXmlElement("Project");
        root.LinkEndChild(project);
        AddTextChild(*project, "Filename", entry->Filename);
        AddTextChild(*project, "Name", entry->Name);
        AddTextChild(*project, "Version", entry->Version);
        AddTextChild(*project, "Report", entry->Report);
        AddNumberChild(*project, "Repeat", entry->Repeat);
        AddTextChild(*project, "Program", entry->Program);
        AddTextChild(*project, "ProgramParam", entry->ProgramParam);
    }
    return xml::PrintDocument(document);
}

bool WriteBatchFile(const std::string& path, int hide, const BatchEntries& entries)
{
    return WriteFileAtomically(path, BatchFileText(hide, entries));
}

bool ReadProjectVersions(const std::string& path, std::string& name, std::vector<std::string>& runConfigs,
                         std::vector<std::string>& versions)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    TiXmlDocument document;
    if (!bytes || !xml::ParseXmlDocument(*bytes, document)) {
        return false;
    }
    const TiXmlElement* root = document.FirstChildElement("ZOVProject");
    if (!root) {
        return true;
    }
    name = GetChildText(*root, "Name");
    for (const TiXmlElement* config = root->FirstChildElement("RunConfig"); config;
         config = config->NextSiblingElement("RunConfig")) {
        runConfigs.emplace_back(config->GetText() ? config->GetText() : "");
    }
    for (const TiXmlElement* version = root->FirstChildElement("Version"); version;
         version = version->NextSiblingElement("Version")) {
        versions.push_back(GetChildText(*version, "Name"));
    }
    return true;
}

}  // namespace zov::project

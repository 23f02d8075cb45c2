// The project file (.qzp): writer, reader, and the save and load protocol around them (backup,
// atomic write, recovery from an unfinished save, results file beside the project).
#include "common/AtomicFile.h"
#include "common/NumberText.h"
#include "common/PathUtils.h"
#include "common/xml/XmlReader.h"
#include "common/xml/XmlWriter.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/project/model/ProjectTexts.h"
#include "ide/project/model/ProjectXml.h"

#include <tinyxml.h>

#include <filesystem>
#include <optional>

namespace zov::project {

namespace {

std::string RelativeToProject(const std::string& directory, const std::string& path)
{
    return path.empty() ? std::string() : MakeRelativePath(directory, path);
}

std::string AbsoluteInProject(const std::string& directory, const std::string& path)
{
    return path.empty() || IsAbsolutePath(path) ? path : MakeAbsolutePath(directory, path);
}

// The folder of a path: up to its last separator of either kind.
std::string FolderOf(const std::string& path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// Params are one ";"-joined string in the model and one "Param" element per part in the file.
void AddParams(TiXmlElement& parent, const std::string& params)
{
    if (params.empty()) {
        return;
    }
    size_t start = 0;
    for (size_t semicolon; (semicolon = params.find(';', start)) != std::string::npos; start = semicolon + 1) {
        AddTextChild(parent, "Param", std::string_view(params).substr(start, semicolon - start));
    }
    AddTextChild(parent, "Param", std::string_view(params).substr(start));
}

std::string ReadParams(const TiXmlElement& parent)
{
    std::string params;
    for (const TiXmlElement* param = parent.FirstChildElement("Param"); param;
         param = param->NextSiblingElement("Param")) {
        const char* text = param->GetText();
        if (params.empty()) {
            params = text ? text : "";
        } else {
            params += ';';
            params += text ? text : "";
        }
    }
    return params;
}

void AddConfigs(TiXmlElement& parent, const std::vector<std::string>& configs)
{
    for (const std::string& config : configs) {
        AddTextChild(parent, "Config", config);
    }
}

void ReadTexts(const TiXmlElement& parent, const char* name, std::vector<std::string>& texts)
{
    for (const TiXmlElement* child = parent.FirstChildElement(name); child; child = child->NextSiblingElement(name)) {
        const char* text = child->GetText();
        texts.emplace_back(text ? text : "");
    }
}

void AddCsvBlock(TiXmlElement& root, const char* name, const CCsvImportSettings& settings, const std::string& file,
                 const std::string& exportFile, const std::string& directory)
{
    auto* block = new TiXmlElement(name);
    root.LinkEndChild(block);
    AddTextChild(*block, "Filename", RelativeToProject(directory, file));
    AddTextChild(*block, "FilenameExport", RelativeToProject(directory, exportFile));
    AddNumberChild(*block, "Separator", static_cast<signed char>(settings.Separator));
    AddNumberChild(*block, "String", static_cast<signed char>(settings.TextQualifier));
    AddNumberChild(*block, "Line", settings.FirstLine);
    for (const int column : settings.Columns) {
        AddNumberChild(*block, "Col", column);
    }
    AddNumberChild(*block, "Header", settings.HasHeader != 0 ? 1 : 0);
    for (const std::string& header : settings.Headers) {
        AddTextChild(*block, "Head", header);
    }
    AddTextChild(*block, "OK", settings.OkLabel);
    AddTextChild(*block, "NOK", settings.NokLabel);
    AddTextChild(*block, "Untested", settings.UntestedLabel);
}

// Fills the settings from the block and gives back its "Filename" ("" without the block).
std::string ReadCsvBlock(const TiXmlElement& root, const char* name, CCsvImportSettings& settings,
                         std::string& exportFile, const std::string& directory)
{
    const TiXmlElement* block = root.FirstChildElement(name);
    if (!block) {
        return {};
    }
    if (block->FirstChildElement("FilenameExport")) {
        exportFile = AbsoluteInProject(directory, ReadChildText(*block, "FilenameExport"));
    }
    settings.Separator = static_cast<char>(ReadChildNumber(*block, "Separator"));
    settings.TextQualifier = static_cast<char>(ReadChildNumber(*block, "String"));
    settings.FirstLine = ReadChildNumber(*block, "Line");
    // Extra "Col" or "Head" elements beyond the block's columns are ignored.
    size_t column = 0;
    for (const TiXmlElement* col = block->FirstChildElement("Col"); col && column < settings.Columns.size();
         col = col->NextSiblingElement("Col"), ++column) {
        settings.Columns[column] = ParseLeadingInt(col->GetText() ? col->GetText() : "");
    }
    if (block->FirstChildElement("Header")) {
        settings.HasHeader = ReadChildNumber(*block, "Header") != 0 ? 1 : 0;
    }
    size_t head = 0;
    for (const TiXmlElement* element = block->FirstChildElement("Head"); element && head < settings.Headers.size();
         element = element->NextSiblingElement("Head"), ++head) {
        settings.Headers[head] = element->GetText() ? element->GetText() : "";
    }
    settings.OkLabel = ReadChildText(*block, "OK");
    settings.NokLabel = ReadChildText(*block, "NOK");
    settings.UntestedLabel = ReadChildText(*block, "Untested");
    settings.OneLine = ReadChildNumber(*block, "OneLine");
    return ReadChildText(*block, "Filename");
}

// A stored id keeps its value and moves the counter past it; a missing one takes the counter.
std::uint32_t TakeId(const TiXmlElement& element, std::uint32_t& counter)
{
    if (!element.FirstChildElement("Ref")) {
        return counter++;
    }
    const auto id = static_cast<std::uint32_t>(ReadChildNumber(element, "Ref"));
    counter = std::max(counter, id) + 1;
    return id;
}

}  // namespace

std::string ProjectModel::ProjectFileText() const
{
    TiXmlDocument document;
    TiXmlElement& root = *StartDocument(document, "ZOVProject");
    AddTextChild(root, "QZPVersion", "1.0");
    AddTextChild(root, "Name", Name);
    AddTextChild(root, "Text", Text);
    AddTextChild(root, "Interface", RelativeToProject(Directory, InterfacePath));
    for (const std::string& inserted : InsertedInterfaces) {
        AddTextChild(root, "InterfaceInsert", inserted);
    }
    for (const std::string& config : InterfaceConfigs) {
        AddTextChild(root, "InterfaceConfig", config);
    }
    for (size_t i = 0; i < DataNames.size() && i < DataValues.size(); ++i) {
        auto* data = new TiXmlElement("Data");
        data->SetAttribute("name", DataNames[i]);
        data->SetAttribute("value", DataValues[i]);
        root.LinkEndChild(data);
    }
    if (!m_requirementsFile.empty()) {
        AddCsvBlock(root, "Requirement", RequirementCsvSettings, m_requirementsFile, m_requirementsExportFile,
                    Directory);
    }
    if (!m_factsFile.empty()) {
        AddCsvBlock(root, "Bug", FactCsvSettings, m_factsFile, m_factsExportFile, Directory);
    }
    for (const std::string& config : RunConfigs) {
        AddTextChild(root, "RunConfig", config);
    }
    for (const auto& version : Versions) {
        auto* element = new TiXmlElement("Version");
        root.LinkEndChild(element);
        AddTextChild(*element, "Name", version->Name);
        AddTextChild(*element, "Info", version->Info);
        AddNumberChild(*element, "Ref", static_cast<std::int32_t>(version->Id));
    }
    for (const auto& campaign : Campaigns) {
        auto* campaignElement = new TiXmlElement("Campaign");
        root.LinkEndChild(campaignElement);
        AddTextChild(*campaignElement, "Name", campaign->Name);
        if (!campaign->Text.empty()) {
            AddTextChild(*campaignElement, "Text", campaign->Text);
        }
        AddNumberChild(*campaignElement, "Ref", static_cast<std::int32_t>(campaign->Id));
        AddConfigs(*campaignElement, campaign->Configs);
        for (const auto& testSet : campaign->TestSets) {
            auto* list = new TiXmlElement("List");
            campaignElement->LinkEndChild(list);
            AddTextChild(*list, "Name", testSet->Name);
            if (!testSet->Text.empty()) {
                AddTextChild(*list, "Text", testSet->Text);
            }
            AddNumberChild(*list, "Ref", static_cast<std::int32_t>(testSet->Id));
            AddNumberChild(*list, "Mode", testSet->Mode);
            AddNumberChild(*list, "Depends", testSet->Depends);
            AddParams(*list, testSet->Params);
            AddConfigs(*list, testSet->Configs);
            for (const auto& test : testSet->Tests) {
                auto* script = new TiXmlElement("Script");
                list->LinkEndChild(script);
                AddTextChild(*script, "Name", test->Name);
                AddTextChild(*script, "File", test->File);
                AddNumberChild(*script, "Ref", static_cast<std::int32_t>(test->Id));
                AddParams(*script, test->Params);
                AddNumberChild(*script, "Mode", test->Background);
            }
        }
    }
    if (!m_results.empty()) {
        AddMainResult(root, *this);
    }
    return xml::PrintDocument(document);
}

bool ProjectModel::SaveProjectFile(const std::string& path, const FileWriter& write)
{
    const std::string backup = path + ".bak";
    if (const std::optional<std::string> current = ReadWholeFile(path)) {
        if (!write(backup, *current)) {
            return false;
        }
    }
    if (!write(path, ProjectFileText())) {
        return false;
    }
    // Only a finished save makes the backup and the results file redundant.
    std::error_code ignored;
    std::filesystem::remove(backup, ignored);
    std::filesystem::remove(ResultsFilePath(), ignored);
    return true;
}

bool ProjectModel::SaveProjectFile(const std::string& path)
{
    return SaveProjectFile(
        path, [](const std::string& target, std::string_view bytes) { return WriteFileAtomically(target, bytes); });
}

std::string ProjectModel::ReadRequirementBlock(const TiXmlElement& root)
{
    RequirementsChanged = 0;
    return ReadCsvBlock(root, "Requirement", RequirementCsvSettings, m_requirementsExportFile, Directory);
}

std::string ProjectModel::ReadFactBlock(const TiXmlElement& root)
{
    FactsChanged = 0;
    return ReadCsvBlock(root, "Bug", FactCsvSettings, m_factsExportFile, Directory);
}

std::optional<ProjectModel> ProjectModel::ReadProjectText(std::string_view bytes, const std::string& path,
                                                          shell::Prompter& prompter, const shell::Translate& translate)
{
    TiXmlDocument document;
    if (!xml::ParseXmlDocument(bytes, document)) {
        return std::nullopt;
    }
    const TiXmlElement* rootElement = document.FirstChildElement("ZOVProject");
    if (!rootElement) {
        return std::nullopt;
    }
    const TiXmlElement& root = *rootElement;

    // A fresh model: nothing of the project that was open before survives a load.
    ProjectModel model;
    model.ResetCsvSettings(translate);
    model.FilePath = path;
    model.Directory = FolderOf(path);
    model.NextTestId = model.NextTestSetId = model.NextCampaignId = 1;

    model.Name = ReadChildText(root, "Name");
    model.Text = ReadChildText(root, "Text");
    model.InterfacePath = AbsoluteInProject(model.Directory, ReadChildText(root, "Interface"));
    ReadTexts(root, "InterfaceInsert", model.InsertedInterfaces);
    ReadTexts(root, "InterfaceConfig", model.InterfaceConfigs);
    ReadTexts(root, "RunConfig", model.RunConfigs);
    for (const TiXmlElement* data = root.FirstChildElement("Data"); data; data = data->NextSiblingElement("Data")) {
        const char* name = data->Attribute("name");
        const char* value = data->Attribute("value");
        model.DataNames.emplace_back(name ? name : "");
        model.DataValues.emplace_back(value ? value : "");
    }
    const std::string requirementsFile = model.ReadRequirementBlock(root);
    const std::string factsFile = model.ReadFactBlock(root);
    for (const TiXmlElement* element = root.FirstChildElement("Version"); element;
         element = element->NextSiblingElement("Version")) {
        auto version = std::make_unique<CVersion>();
        version->Name = ReadChildText(*element, "Name");
        version->Info = ReadChildText(*element, "Info");
        version->Id = static_cast<std::uint32_t>(ReadChildNumber(*element, "Ref"));
        model.Versions.push_back(std::move(version));
    }

    if (!FileExists(model.InterfacePath)) {
        prompter.Tell(translate(texts::kInterfaceMissing), shell::PromptIcon::Warning);
        model.InterfacePath.clear();
    }

    for (const TiXmlElement* campaignElement = root.FirstChildElement("Campaign"); campaignElement;
         campaignElement = campaignElement->NextSiblingElement("Campaign")) {
        auto campaign = std::make_unique<CCampaign>();
        campaign->Name = ReadChildText(*campaignElement, "Name");
        campaign->Text = ReadChildText(*campaignElement, "Text");
        campaign->Id = TakeId(*campaignElement, model.NextCampaignId);
        ReadTexts(*campaignElement, "Config", campaign->Configs);
        for (const TiXmlElement* list = campaignElement->FirstChildElement("List"); list;
             list = list->NextSiblingElement("List")) {
            auto testSet = std::make_unique<CTestSet>();
            testSet->Name = ReadChildText(*list, "Name");
            testSet->Text = ReadChildText(*list, "Text");
            testSet->Id = TakeId(*list, model.NextTestSetId);
            testSet->Mode = ReadChildNumber(*list, "Mode");
            testSet->Depends = testSet->Mode == 1 || ReadChildText(*list, "Depends") == "1" ? 1 : 0;
            testSet->Params = ReadParams(*list);
            testSet->Campaign = campaign.get();
            ReadTexts(*list, "Config", testSet->Configs);
            for (const TiXmlElement* script = list->FirstChildElement("Script"); script;
                 script = script->NextSiblingElement("Script")) {
                auto test = std::make_unique<CTest>();
                test->Name = ReadChildText(*script, "Name");
                test->File = ReadChildText(*script, "File");
                test->Id = TakeId(*script, model.NextTestId);
                test->Params = ReadParams(*script);
                test->Background = ReadChildNumber(*script, "Mode");
                test->TestSet = testSet.get();
                model.EnsureResultList(test->Id);
                testSet->Tests.push_back(std::move(test));
            }
            campaign->TestSets.push_back(std::move(testSet));
        }
        model.Campaigns.push_back(std::move(campaign));
    }

    // The project's own results first; a readable results file beside it then replaces them all,
    // and an unreadable one leaves them in place.
    if (const TiXmlElement* mainResult = root.FirstChildElement("MainResult")) {
        ReadMainResult(*mainResult, model);
    }
    model.LoadResultsFile();

    // The CSV files are read once the whole project is in (LoadProjectFile); their paths and
    // settings stay even when a file cannot be read this time.
    model.m_requirementsFile = AbsoluteInProject(model.Directory, requirementsFile);
    model.m_factsFile = AbsoluteInProject(model.Directory, factsFile);
    model.TreeChanged();
    return model;
}

bool ProjectModel::LoadProjectFile(const std::string& path, shell::Prompter& prompter,
                                   const shell::Translate& translate)
{
    // A backup means the last save did not finish. It wins only when it is a project itself.
    const std::string backup = path + ".bak";
    if (const std::optional<std::string> saved = ReadWholeFile(backup)) {
        TiXmlDocument document;
        if (xml::ParseXmlDocument(*saved, document) && document.FirstChildElement("ZOVProject")) {
            prompter.Tell(translate(texts::kBackupRecovered), shell::PromptIcon::Information);
            std::error_code error;
            std::filesystem::rename(backup, path, error);
            if (error) {
                // The backup stays where it is; this load still takes its content.
                auto model = ReadProjectText(*saved, path, prompter, translate);
                if (!model) {
                    return false;
                }
                model->LoadCsvFilesOfProject(prompter, translate);
                *this = std::move(*model);
                return true;
            }
        }
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return false;
    }
    auto model = ReadProjectText(*bytes, path, prompter, translate);
    if (!model) {
        return false;
    }
    model->LoadCsvFilesOfProject(prompter, translate);
    *this = std::move(*model);
    return true;
}

}  // namespace zov::project

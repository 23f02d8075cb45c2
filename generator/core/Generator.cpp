#include "generator/core/Generator.h"

#include "common/AtomicFile.h"

#include <system_error>

namespace zov::vantoro {

namespace fs = std::filesystem;

std::string SynchroStreamWord(int synchroStream)
{
    return synchroStream != 0 ? "stdout" : "stderr";
}

PlaceholderValues ValuesOf(const GeneratorSettings& settings)
{
    return {settings.cliName,        settings.exitMessage,
            settings.synchroMessage, SynchroStreamWord(settings.synchroStream),
            settings.copyright,      settings.version};
}

std::vector<PlannedFile> PlanFiles(int projectType, std::string_view cliName)
{
    std::vector<TemplateId> ids;
    switch (projectType) {
    case kVisualCpp6:
        ids = {TemplateId::Dsp, TemplateId::Dsw};
        break;
    case kVisualCpp2008Express:
        ids = {TemplateId::Vcproj, TemplateId::Sln};
        break;
    case kDevCpp5:
        ids = {TemplateId::Dev};
        break;
    default:
        break;
    }
    for (TemplateId id : {TemplateId::MainCpp, TemplateId::MainH, TemplateId::MainCmdCpp, TemplateId::MainCmdH,
                          TemplateId::NewCmdCpp, TemplateId::NewCmdH, TemplateId::StrfuncCpp, TemplateId::StrfuncH})
        ids.push_back(id);
    std::vector<PlannedFile> files;
    for (TemplateId id : ids)
        files.push_back({id, OutputFileName(id, cliName)});
    return files;
}

bool MakeDirTree(const fs::path& folder)
{
    if (folder.empty() || folder == folder.root_path())
        return false;
    std::error_code error;
    fs::create_directories(folder, error);
    return !error && fs::is_directory(folder, error);
}

bool WriteTemplate(TemplateId id, const std::string& fileName, const fs::path& folder, const PlaceholderValues& values)
{
    return WriteFileAtomically(folder / fileName, RenderTemplate(TemplateText(id), values, TemplateEscaping(id)));
}

GenerationResult GenerateProject(const GeneratorSettings& settings)
{
    GenerationResult result;
    const fs::path folder(settings.targetFolder);
    MakeDirTree(folder);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        result.failedPath = settings.targetFolder;
        return result;
    }
    const PlaceholderValues values = ValuesOf(settings);
    for (const PlannedFile& file : PlanFiles(settings.projectType, settings.cliName)) {
        const fs::path path = folder / file.fileName;
        if (!WriteTemplate(file.id, file.fileName, folder, values)) {
            result.failedPath = path.string();
            return result;
        }
        result.writtenFiles.push_back(path.string());
    }
    result.ok = true;
    return result;
}

}  // namespace zov::vantoro

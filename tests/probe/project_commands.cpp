// Probe commands of the project model: a project file loaded as the IDE loads it (with its
// requirement and technical-fact files), then shown or exported without a window.
#include "ide/project/model/ProjectModel.h"
#include "ide/project/model/ResultsSynthesis.h"
#include "ide/shell/core/Prompter.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using zov::project::ProjectModel;

// Prompts go to stderr, one line each, as in a batch run.
class StderrPrompter final : public zov::shell::RecordingPrompter {
public:
    zov::shell::PromptAnswer Ask(const std::string& text, zov::shell::PromptIcon icon,
                                 zov::shell::PromptButtons buttons) override
    {
        std::string line = text;
        for (char& c : line) {
            c = c == '\n' ? ' ' : c;
        }
        std::fprintf(stderr, "%s\n", line.c_str());
        return RecordingPrompter::Ask(text, icon, buttons);
    }
};

bool Load(ProjectModel& model, const char* path, StderrPrompter& prompter)
{
    if (!model.LoadProjectFile(path, prompter)) {
        std::fprintf(stderr, "cannot load %s\n", path);
        return false;
    }
    return true;
}

// project-synthesis PROJECT TYPE FILTER VERSION-INDEX: the synthesis list, one row a line:
// code, text, result, date, duration separated by tabs.
int Synthesis(std::span<char* const> args)
{
    if (args.size() != 4) {
        std::fputs("usage: zovprobe project-synthesis PROJECT TYPE FILTER VERSION-INDEX\n", stderr);
        return 2;
    }
    StderrPrompter prompter;
    ProjectModel model;
    if (!Load(model, args[0], prompter)) {
        return 1;
    }
    const zov::project::ResultsSynthesis synthesis(model);
    for (const auto& row : synthesis.Rows(std::atoi(args[1]), std::atoi(args[2]),
                                          static_cast<size_t>(std::strtoul(args[3], nullptr, 10)))) {
        std::printf("%d\t%s\t%s\t%s\t%s\n", row.Code, row.Text.c_str(), row.Result.c_str(), row.Date.c_str(),
                    row.Duration.c_str());
    }
    return 0;
}

// project-csv-export PROJECT KIND OUT VERSION-ID: the dated export of the requirements (KIND
// "req") or technical facts ("fact") for one version.
int CsvExport(std::span<char* const> args)
{
    if (args.size() != 4) {
        std::fputs("usage: zovprobe project-csv-export PROJECT req|fact OUT VERSION-ID\n", stderr);
        return 2;
    }
    StderrPrompter prompter;
    ProjectModel model;
    if (!Load(model, args[0], prompter)) {
        return 1;
    }
    const auto version = static_cast<std::uint32_t>(std::strtoul(args[3], nullptr, 10));
    const bool written = std::string(args[1]) == "fact" ? model.ExportFactsDated(args[2], version, prompter)
                                                        : model.ExportRequirementsDated(args[2], version, prompter);
    return written ? 0 : 1;
}

const zov::probe::CommandRegistration synthesis{"project-synthesis", "PROJECT TYPE FILTER VERSION-INDEX", Synthesis};
const zov::probe::CommandRegistration csvExport{"project-csv-export", "PROJECT req|fact OUT VERSION-ID", CsvExport};

}  // namespace

#pragma once
// What the IDE opens at start-up, from its command line: a batch file, a project, a document,
// or else the last project of the previous session.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

enum class StartupKind { None, Batch, Project, Document };

struct StartupRequest {
    StartupKind kind = StartupKind::None;
    std::string path;
    // Reopened from Options/LastProject: not added to the recent list again.
    bool fromLastProject = false;
};

// The arguments joined with one blank (a path with blanks may come unquoted, split by the shell
// that started us), one enclosing pair of double quotes removed, a relative path taken from the
// current folder. Classified by extension, without regard to case: ".qzb" a batch, ".qzp" a
// project, any other readable file a document. No argument: the last project. A project or
// document that cannot be read is dropped without a message.
StartupRequest ClassifyCommandLine(const std::vector<std::string>& args, std::string_view lastProject,
                                   const std::filesystem::path& currentFolder);

}  // namespace zov::shell

// Writing the source project of a new CLI: the folder, the project files of the chosen environment
// and the eight source units, each substituted in memory and written whole.
#pragma once

#include "generator/core/Substitution.h"
#include "generator/core/Templates.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zov::vantoro {

// Project types, as the dialog's list offers them.
inline constexpr int kVisualCpp6 = 0;
inline constexpr int kVisualCpp2008Express = 1;
inline constexpr int kDevCpp5 = 2;

// The dialog's values, with their defaults.
struct GeneratorSettings {
    std::string cliName;
    std::string targetFolder;
    int projectType = kVisualCpp6;
    std::string copyright = "<my name>";
    std::string version = "1.0";
    std::string synchroMessage = ">>";
    int synchroStream = 0;  // 0 standard error, anything else standard output
    std::string exitMessage = "exit";
};

// "stdout" for a synchro stream index other than 0, "stderr" for 0.
std::string SynchroStreamWord(int synchroStream);

PlaceholderValues ValuesOf(const GeneratorSettings& settings);

struct PlannedFile {
    TemplateId id;
    std::string fileName;
};

// The files of one generation in the order they are written: the project files of the type, then
// main.cpp, main.h, MainCmd.cpp, MainCmd.h, NewCmd.cpp, NewCmd.h, strfunc.cpp, strfunc.h.
std::vector<PlannedFile> PlanFiles(int projectType, std::string_view cliName);

// Creates the folder and its missing parents. False when something could not be created, and for
// the root folder, which is never created (files may still be written there).
bool MakeDirTree(const std::filesystem::path& folder);

// Writes one file of the project under folder: the template substituted in memory, then written
// whole through a temporary file, so a failure leaves an existing file as it was.
bool WriteTemplate(TemplateId id, const std::string& fileName, const std::filesystem::path& folder,
                   const PlaceholderValues& values);

struct GenerationResult {
    bool ok = false;
    std::string failedPath;                 // the folder or file that could not be written
    std::vector<std::string> writtenFiles;  // full paths, in the order written
};

// The whole generation. Stops at the first folder or file that cannot be written and names it.
GenerationResult GenerateProject(const GeneratorSettings& settings);

}  // namespace zov::vantoro

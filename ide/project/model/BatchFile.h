#pragma once
// The batch file (.qzb): the projects an unattended run goes through, each with its run
// configuration, version, report, repeat count and a program started beside the run. Also the small
// reader that peeks into a project file for its name, run configurations and versions.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TiXmlElement;

namespace zov::project {

struct CBatchEntry {
    std::string Filename;  // the project file
    std::string Name;      // the run configuration ("Config")
    std::string Version;
    std::string Report;
    int Repeat = 0;
    std::string Program;
    std::string ProgramParam;
};

using BatchEntries = std::vector<std::unique_ptr<CBatchEntry>>;

// Reads the batch: Hide becomes 1 exactly when "Options"/"Hide" reads 1 (left alone without
// "Options"), and the entries are appended after those already there. False, with nothing changed,
// when the file cannot be read or parsed or has no "ZOVBatch" root.
bool ReadBatchFile(const std::string& path, int& hide, BatchEntries& entries);
bool ReadBatchText(std::string_view bytes, int& hide, BatchEntries& entries);

// Writes the whole batch atomically; false when it could not be written (the old file then stays).
bool WriteBatchFile(const std::string& path, int hide, const BatchEntries& entries);
std::string BatchFileText(int hide, const BatchEntries& entries);

// A batch as the application object and the editing dialog hold it: the path it was read from,
// the Hide flag and the entries.
struct Batch {
    std::string Path;
    int Hide = 0;
    BatchEntries Entries;

    // Keeps the path even when the read fails.
    bool Read(const std::string& path)
    {
        Path = path;
        return ReadBatchFile(path, Hide, Entries);
    }
};

// The text of the first child of that name; empty when there is none or it holds no text.
std::string GetChildText(const TiXmlElement& element, const char* name);

// The project's name, its run configuration names and its version names (a version without a name
// gives ""), in file order. False when the file cannot be read or parsed; true without a
// "ZOVProject" root, with nothing filled.
bool ReadProjectVersions(const std::string& path, std::string& name, std::vector<std::string>& runConfigs,
                         std::vector<std::string>& versions);

}  // namespace zov::project

#pragma once
// The open test project in memory: identity, interfaces, versions, the campaign tree, the results of
// every test for every version, requirements and technical facts with their links, the settings of
// the two CSV files, and the configuration texts. Headless: the trees and dialogs work on it, the
// project, results and batch files read and write it.

#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TiXmlElement;

namespace zov::project {

struct CCampaign;
struct CTestSet;

// Where the add operations put a new record.
enum AddPosition : int { kAddAtEnd = 0, kAddAtFront = 1, kAddBeforeIndex = 2 };

// A link from a requirement or a technical fact to a test set (kind 1) or a test (kind 2).
struct CItemLink {
    int Kind = 0;
    std::uint32_t Id = 0;
};
inline constexpr int kLinkTestSet = 1;
inline constexpr int kLinkTest = 2;

struct CRequirement {
    std::string ID;
    std::string Titre;
    std::string Texte;
    std::vector<CItemLink> Links;
};

struct CTechFact {
    std::string ID;
    std::string Titre;
    std::vector<CItemLink> Links;
};

// The settings of one of the two CSV files (8 logical columns for requirements, 6 for facts).
struct CCsvImportSettings {
    explicit CCsvImportSettings(int columnCount = 0);

    std::vector<int> Columns;        // 1-based column of each logical column in the user's file, 0 absent
    std::vector<int> ExportColumns;  // content kind of each output column of the dated export
    char Separator = ';';
    char TextQualifier = 0;  // 0: none
    int FirstLine = 0;
    int HasHeader = 0;
    std::vector<std::string> Headers;
    std::string OkLabel;
    std::string NokLabel;
    std::string UntestedLabel;
    int OneLine = 0;

    int ColumnCount() const { return static_cast<int>(Columns.size()); }
};

inline constexpr int kRequirementColumns = 8;
inline constexpr int kFactColumns = 6;

// A small record the tree and the run keep on a test while the IDE runs; never stored.
struct CTestWorkRecord {
    int Number = 0;
    std::string Text;
    std::vector<std::string> Texts;
};

struct CTest {
    std::string Name;
    std::string File;    // as the tree gives it; relative paths are taken against the project folder
    std::string Params;  // the parameters joined with ";"
    int Background = 0;
    void* TreeItem = nullptr;
    CTestSet* TestSet = nullptr;
    std::uint32_t Id = 0;
    // Working fields of the tree and the run.
    int RunMark = 0;
    std::vector<CTestWorkRecord> WorkRecords;
};

struct CTestSet {
    std::string Name;
    std::string WorkText;
    std::string Params;
    std::string Text;
    int Mode = 0;  // 0 sequential, 1 parallel, 2 random
    int Depends = 0;
    void* TreeItem = nullptr;
    std::vector<std::unique_ptr<CTest>> Tests;
    std::vector<std::string> Configs;
    CCampaign* Campaign = nullptr;
    std::uint32_t Id = 0;
};

struct CCampaign {
    std::string Name;
    std::string WorkText;
    std::string Text;
    void* TreeItem = nullptr;
    std::vector<std::unique_ptr<CTestSet>> TestSets;
    std::vector<std::string> Configs;
    std::uint32_t Id = 0;
};

struct CTestResult {
    std::uint32_t VersionId = 0;
    int Value = 0;  // 1 OK, 0 NOK, anything else not tested
    std::string Info;
    std::time_t StartTime = 0;
    std::int64_t Duration = 0;  // seconds
};

struct CTestResultList {
    std::uint32_t TestId = 0;
    std::vector<std::unique_ptr<CTestResult>> Results;
};

struct CVersion {
    std::uint32_t Id = 0;
    std::string Name;
    std::string Info;
};

class ProjectModel {
public:
    ProjectModel();
    ProjectModel(ProjectModel&&) noexcept;
    ProjectModel& operator=(ProjectModel&&) noexcept;
    ProjectModel(const ProjectModel&) = delete;
    ProjectModel& operator=(const ProjectModel&) = delete;
    ~ProjectModel();

    // Identity and plain lists; the tree and the dialogs read and edit them directly. After a direct
    // change of the campaign tree (insert, move, delete, rename), call TreeChanged.
    std::string Directory;
    std::string FilePath;
    std::string Name;
    std::string InterfacePath;
    std::vector<std::string> InsertedInterfaces;
    std::vector<std::string> InterfaceConfigs;
    std::vector<std::string> RunConfigs;
    std::vector<std::unique_ptr<CVersion>> Versions;
    std::vector<std::unique_ptr<CCampaign>> Campaigns;
    std::vector<std::unique_ptr<CRequirement>> Requirements;
    std::vector<std::unique_ptr<CTechFact>> TechFacts;
    CCsvImportSettings RequirementCsvSettings{kRequirementColumns};
    CCsvImportSettings FactCsvSettings{kFactColumns};
    std::string Text;
    int RequirementsChanged = 0;
    int FactsChanged = 0;
    std::uint32_t NextTestId = 1;
    std::uint32_t NextTestSetId = 1;
    std::uint32_t NextCampaignId = 1;
    std::vector<std::string> DataNames;
    std::vector<std::string> DataValues;

    // ---- Lifecycle ----
    void NewProject(const std::string& name, const std::string& folder, const std::string& interfacePath,
                    const shell::Translate& translate = shell::IdentityTranslate());
    void ClearProject();
    void ResetCsvSettings(const shell::Translate& translate = shell::IdentityTranslate());

    // ---- The campaign tree ----
    CCampaign* AddCampaign(const std::string& name, int position, int index, void* treeItem);
    CTestSet* AddTestSet(CCampaign& campaign, const std::string& name, int position, int index, int mode, int depends,
                         void* treeItem);
    CTest* AddTest(CTestSet& testSet, const std::string& file, const std::string& name, int position, int index,
                   void* treeItem, int background);
    // Copies with new ids (and result lists); the caller sets the owner and inserts the copy.
    std::unique_ptr<CTest> CopyTest(const CTest& source);
    std::unique_ptr<CTestSet> CopyTestSet(const CTestSet& source);
    // Take a record out of its list and hand it to the caller; nothing when it is not there.
    std::unique_ptr<CTest> RemoveTest(CTestSet& testSet, const CTest* test);
    std::unique_ptr<CCampaign> RemoveCampaign(const CCampaign* campaign);
    std::unique_ptr<CTestSet> RemoveTestSet(const CTestSet* testSet);
    // Rebuilds the id and name indexes on the next lookup.
    void TreeChanged() { m_indexValid = false; }

    CTestSet* FindTestSetById(std::uint32_t id) const;
    CTest* FindTestById(std::uint32_t id) const;
    std::string GetTestFileById(std::uint32_t id) const;
    std::uint32_t FindTestSetByPath(std::string_view path) const;
    std::uint32_t FindTestByPath(std::string_view path) const;

    // ---- Results ----
    void EnsureResultList(std::uint32_t testId);
    void RemoveResultList(std::uint32_t testId);
    void SetResult(std::uint32_t versionId, std::uint32_t testId, int value, const std::string& info,
                   std::time_t startTime, std::int64_t duration);
    const CTestResult* FindResult(std::uint32_t testId, std::uint32_t versionId) const;
    const CTestResultList* FindResultList(std::uint32_t testId) const;
    void ClearAllResults();
    void RemoveVersionResults(const std::vector<std::uint32_t>& versionIds);
    void ClearVersionResults(const std::vector<std::uint32_t>& versionIds);
    const std::vector<std::unique_ptr<CTestResultList>>& Results() const { return m_results; }

    std::string GetVersionName(std::uint32_t versionId) const;
    int RequirementCoversTest(const CRequirement& requirement, const CTest& test) const;

    // ---- Accessors ----
    std::string GetDirectory() const { return Directory; }
    std::string GetName() const { return Name; }
    std::string GetInterfacePath() const { return InterfacePath; }
    std::string GetText() const { return Text; }
    std::string GetRequirementsFile() const { return m_requirementsFile; }
    std::string GetFactsFile() const { return m_factsFile; }
    std::string GetRequirementsExportFile() const { return m_requirementsExportFile; }
    std::string GetFactsExportFile() const { return m_factsExportFile; }
    void SetRequirementsFile(const std::string& path) { m_requirementsFile = path; }
    void SetFactsFile(const std::string& path) { m_factsFile = path; }
    void SetRequirementsExportFile(const std::string& path) { m_requirementsExportFile = path; }
    void SetFactsExportFile(const std::string& path) { m_factsExportFile = path; }
    void ClearRequirementsFile();
    void ClearFactsFile();

    // ---- Files ----
    // Reads the project file into a new model and takes it over only when that succeeded: a failure
    // leaves this model and the files as they were. A ".bak" beside the file that parses as a project
    // means the last save did not finish; it is announced and wins over the file.
    bool LoadProjectFile(const std::string& path, shell::Prompter& prompter,
                         const shell::Translate& translate = shell::IdentityTranslate());
    // Saves the whole project (backup, atomic write, then removal of the backup and the results file).
    // False when the file could not be written; the backup and the results file are then kept.
    bool SaveProjectFile(const std::string& path);
    // The same through the given writer of whole files (tests give one that fails).
    using FileWriter = std::function<bool(const std::string& path, std::string_view bytes)>;
    bool SaveProjectFile(const std::string& path, const FileWriter& write);
    // The model a project file's bytes describe, as if read from path (its folder resolves the
    // relative paths, and the results file beside it is read); nothing when they are no project.
    static std::optional<ProjectModel> ReadProjectText(std::string_view bytes, const std::string& path,
                                                       shell::Prompter& prompter,
                                                       const shell::Translate& translate = shell::IdentityTranslate());
    // The project file's bytes, as SaveProjectFile writes them.
    std::string ProjectFileText() const;

    // Fill the CSV settings from the project root's "Requirement" or "Bug" block and clear the
    // matching changed flag; the block's "Filename" is returned ("" without the block).
    std::string ReadRequirementBlock(const TiXmlElement& root);
    std::string ReadFactBlock(const TiXmlElement& root);

    // The results file beside the project file: Directory/Name.res.
    std::string ResultsFilePath() const;
    bool SaveResultsFile() const;
    std::string ResultsFileText() const;
    // True when the results file was parsed; every result is then replaced by its content.
    bool LoadResultsFile();
    // The same from the bytes of a results file: false, and nothing changed, when they do not parse.
    bool ReadResultsText(std::string_view bytes);

    // ---- Requirement and technical-fact CSV files ----
    // Reads the user's file (a relative path is taken in the project folder) into the list of that
    // kind and makes its absolute path the file of that kind. False, with a message, when it cannot
    // be read: the list and the file are then unchanged.
    bool LoadRequirementsCsv(const std::string& path, shell::Prompter& prompter,
                             const shell::Translate& translate = shell::IdentityTranslate());
    bool LoadFactsCsv(const std::string& path, shell::Prompter& prompter,
                      const shell::Translate& translate = shell::IdentityTranslate());
    // The list of that kind from a file's bytes (the file of that kind is not touched).
    void ReadRequirementsText(std::string_view bytes);
    void ReadFactsText(std::string_view bytes);
    // Rewrites the user's file in place with the current links, in its own encoding and line ends;
    // the write is atomic, so a failure leaves the file as it was (and says so).
    void SaveRequirementsCsv(shell::Prompter& prompter, const shell::Translate& translate = shell::IdentityTranslate());
    void SaveFactsCsv(shell::Prompter& prompter, const shell::Translate& translate = shell::IdentityTranslate());
    // The bytes the rewrite makes of the file's bytes.
    std::string RewriteRequirementsText(std::string_view bytes) const;
    std::string RewriteFactsText(std::string_view bytes) const;
    // Rewrites the files whose changed flag is set.
    void SaveProjectCsvFiles(shell::Prompter& prompter, const shell::Translate& translate = shell::IdentityTranslate());
    // The dated export of every requirement or fact with its result for one version, written to
    // path as given (Windows-1252, CR LF). False, with a message, when it cannot be written.
    bool ExportRequirementsDated(const std::string& path, std::uint32_t versionId, shell::Prompter& prompter,
                                 const shell::Translate& translate = shell::IdentityTranslate()) const;
    bool ExportFactsDated(const std::string& path, std::uint32_t versionId, shell::Prompter& prompter,
                          const shell::Translate& translate = shell::IdentityTranslate()) const;
    std::string RequirementsExportText(std::uint32_t versionId) const;
    std::string FactsExportText(std::uint32_t versionId) const;

    // ---- Run log and interface names ----
    std::string RunLogPath(int runNumber) const;
    // Appends "[title]" and the text (line ends written CR LF); false when the log cannot be written.
    bool AppendRunLog(std::string_view text, std::string_view title, int runNumber);
    std::string GetInterfaceName() const;
    std::string GetInsertedInterfaceName(std::size_t index) const;

private:
    struct Indexes;

    CTestResultList* ResultListOf(std::uint32_t testId) const;
    CTestResultList& ResultListFor(std::uint32_t testId);
    const Indexes& Index() const;
    void ResetCsvBlock(CCsvImportSettings& settings, const shell::Translate& translate);
    bool LoadCsvList(const std::string& path, bool requirements, shell::Prompter& prompter,
                     const shell::Translate& translate);
    void ReadCsvList(std::string_view bytes, bool requirements);
    std::string RewriteCsvText(std::string_view bytes, bool requirements) const;
    void SaveCsvList(bool requirements, shell::Prompter& prompter, const shell::Translate& translate);
    std::string ExportText(std::uint32_t versionId, bool requirements) const;
    // The CSV files named by a project file, read once the rest of it is in; a file that cannot be
    // read keeps its path and settings, so the next save loses nothing of them.
    void LoadCsvFilesOfProject(shell::Prompter& prompter, const shell::Translate& translate);

    std::string m_requirementsFile;
    std::string m_factsFile;
    std::string m_requirementsExportFile;
    std::string m_factsExportFile;

    // Kept in order (the order is written to the file), with a map from test id to its list.
    std::vector<std::unique_ptr<CTestResultList>> m_results;
    std::unordered_map<std::uint32_t, CTestResultList*> m_resultIndex;

    mutable std::unique_ptr<Indexes> m_index;
    mutable bool m_indexValid = false;
};

// The display name of an interface file: the file name after the last separator, cut at its first
// ".qzi" (case kept: ".QZI" stays).
std::string InterfaceDisplayName(std::string_view path);

// Upper-cases a UTF-8 name the way names are compared in the tree (ASCII and Latin-1 letters).
std::string UpperCaseName(std::string_view name);

}  // namespace zov::project

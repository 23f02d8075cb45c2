#pragma once
// The IDE's settings: one table of every section and key of ZOV.ini with its type and default,
// and typed reads and writes that go straight to the file at each call. Nothing is cached, so a
// value written by another reader of the same file is seen by the next read.

#include "common/IniFile.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zov::shell {

enum class SettingType { Int, String };

// One row per key, in the order of kSettingTable.
enum class SettingId {
    // Preferences
    Language,
    DefaultInterface,
    DefaultInterfacePath,
    Engine,
    EnginePath,
    EngineParams,
    NoSplash,
    ReportPath,
    FixReportPath,
    ReportFormat,
    FontSize,
    ImportAutoSave,
    Beep,
    VersionControl,
    Theme,
    ShowExecution,
    ShowLineNumber,
    TimeoutFunction,
    HideOnExecution,
    SaveTempResult,
    EditClr0,
    EditClr1,
    EditClr2,
    EditClr3,
    EditClr4,
    EditClr5,
    EditClr6,
    EditClr7,
    EditClr8,
    TraceClr0,
    TraceClr1,
    TraceClr2,
    TraceClr3,
    TraceScript,
    TraceInterpreter,
    TraceCLI,
    MaxLines,
    TraceOneLine,
    SaveTrace,
    HtmlHeader,
    HtmlFooter,
    PdfHeader,
    XmlXsl,
    PdfHeaderAlign,
    XmlFormat,
    CsvSep,
    CsvTxtChar,
    ReportExt,
    // Options
    LastProject,
    Maximize,
    ViewAllInterface,
    BackProgram,
    BackProgramParam,
    BackProgramHide,
    // Recent lists
    MruProject1,
    MruProject2,
    MruProject3,
    MruProject4,
    MruProject5,
    MruFile1,
    MruFile2,
    MruFile3,
    MruFile4,
    MruFile5,
    // Tip of the day
    TipsFilePos,
    TipsStartUp,
    // Editor dialogs
    FindMatchCase,
    FindWholeWord,
    FindWhat,
    ReplaceMatchCase,
    ReplaceWholeWord,
    ReplaceFindWhat,
    ReplaceWith,
    PageLeftMargin,
    PageRightMargin,
    PageTopMargin,
    PageBottomMargin,
    Count
};

struct SettingEntry {
    SettingId id;
    std::string_view section;
    std::string_view key;
    SettingType type;
    int intDefault;
    std::string_view textDefault;
    // The default is the program folder, known only at run time.
    bool programFolderDefault = false;
};

inline constexpr std::string_view kPreferences = "Preferences";
inline constexpr std::string_view kOptions = "Options";

// Trace colours: the trace pane and the preferences sheet read one row each, so the two never
// disagree about a key that is missing from the file.
inline constexpr SettingEntry kSettingTable[] = {
    {SettingId::Language, kPreferences, "Language", SettingType::String, 0, ""},
    {SettingId::DefaultInterface, kPreferences, "DefaultInterface", SettingType::String, 0, "Default.qzi"},
    {SettingId::DefaultInterfacePath, kPreferences, "DefaultInterfacePath", SettingType::String, 0, "", true},
    {SettingId::Engine, kPreferences, "Engine", SettingType::String, 0, "zovrun"},
    {SettingId::EnginePath, kPreferences, "Engine_Path", SettingType::String, 0, "", true},
    {SettingId::EngineParams, kPreferences, "Engine_Params", SettingType::String, 0, ""},
    {SettingId::NoSplash, kPreferences, "NoSplash", SettingType::Int, 0, ""},
    {SettingId::ReportPath, kPreferences, "ReportPath", SettingType::String, 0, ""},
    {SettingId::FixReportPath, kPreferences, "FixReportPath", SettingType::Int, 0, ""},
    {SettingId::ReportFormat, kPreferences, "ReportFormat", SettingType::Int, 0, ""},
    {SettingId::FontSize, kPreferences, "FontSize", SettingType::Int, 16, ""},
    {SettingId::ImportAutoSave, kPreferences, "ImportAutoSave", SettingType::Int, 0, ""},
    {SettingId::Beep, kPreferences, "Beep", SettingType::Int, 0, ""},
    {SettingId::VersionControl, kPreferences, "VersionControl", SettingType::Int, 1, ""},
    {SettingId::Theme, kPreferences, "Theme", SettingType::Int, 32770, ""},
    {SettingId::ShowExecution, kPreferences, "ShowExecution", SettingType::Int, 1, ""},
    {SettingId::ShowLineNumber, kPreferences, "ShowLineNumber", SettingType::Int, 0, ""},
    {SettingId::TimeoutFunction, kPreferences, "TimeoutFunction", SettingType::Int, 30, ""},
    {SettingId::HideOnExecution, kPreferences, "HideOnExecution", SettingType::Int, 0, ""},
    {SettingId::SaveTempResult, kPreferences, "SaveTempResult", SettingType::Int, 0, ""},
    {SettingId::EditClr0, kPreferences, "EditClr0", SettingType::Int, 16711680, ""},
    {SettingId::EditClr1, kPreferences, "EditClr1", SettingType::Int, 8421440, ""},
    {SettingId::EditClr2, kPreferences, "EditClr2", SettingType::Int, 8405120, ""},
    {SettingId::EditClr3, kPreferences, "EditClr3", SettingType::Int, 4227200, ""},
    {SettingId::EditClr4, kPreferences, "EditClr4", SettingType::Int, 13377723, ""},
    {SettingId::EditClr5, kPreferences, "EditClr5", SettingType::Int, 32768, ""},
    {SettingId::EditClr6, kPreferences, "EditClr6", SettingType::Int, 128, ""},
    {SettingId::EditClr7, kPreferences, "EditClr7", SettingType::Int, 13377723, ""},
    {SettingId::EditClr8, kPreferences, "EditClr8", SettingType::Int, 7961110, ""},
    {SettingId::TraceClr0, kPreferences, "TraceClr0", SettingType::Int, 16711680, ""},
    {SettingId::TraceClr1, kPreferences, "TraceClr1", SettingType::Int, 8405120, ""},
    {SettingId::TraceClr2, kPreferences, "TraceClr2", SettingType::Int, 8421440, ""},
    {SettingId::TraceClr3, kPreferences, "TraceClr3", SettingType::Int, 4227200, ""},
    {SettingId::TraceScript, kPreferences, "TraceScript", SettingType::Int, 1, ""},
    {SettingId::TraceInterpreter, kPreferences, "TraceInterpreter", SettingType::Int, 1, ""},
    {SettingId::TraceCLI, kPreferences, "TraceCLI", SettingType::Int, 1, ""},
    {SettingId::MaxLines, kPreferences, "MaxLines", SettingType::Int, 10000, ""},
    {SettingId::TraceOneLine, kPreferences, "TraceOneLine", SettingType::Int, 0, ""},
    {SettingId::SaveTrace, kPreferences, "SaveTrace", SettingType::Int, 0, ""},
    {SettingId::HtmlHeader, kPreferences, "HTML_Header", SettingType::String, 0, ""},
    {SettingId::HtmlFooter, kPreferences, "HTML_Footer", SettingType::String, 0, ""},
    {SettingId::PdfHeader, kPreferences, "PDF_Header", SettingType::String, 0, ""},
    {SettingId::XmlXsl, kPreferences, "XML_XSL", SettingType::String, 0, ""},
    {SettingId::PdfHeaderAlign, kPreferences, "PDF_HeaderAlign", SettingType::Int, 0, ""},
    {SettingId::XmlFormat, kPreferences, "XML_FORMAT", SettingType::Int, 0, ""},
    {SettingId::CsvSep, kPreferences, "CSV_Sep", SettingType::Int, 0, ""},
    {SettingId::CsvTxtChar, kPreferences, "CSV_TxtChar", SettingType::Int, 0, ""},
    {SettingId::ReportExt, kPreferences, "ReportExt", SettingType::String, 0, "xml"},
    {SettingId::LastProject, kOptions, "LastProject", SettingType::String, 0, ""},
    {SettingId::Maximize, kOptions, "Maximize", SettingType::Int, 0, ""},
    {SettingId::ViewAllInterface, kOptions, "ViewAllInterface", SettingType::Int, 1, ""},
    {SettingId::BackProgram, kOptions, "BackProgram", SettingType::String, 0, ""},
    {SettingId::BackProgramParam, kOptions, "BackProgramParam", SettingType::String, 0, ""},
    {SettingId::BackProgramHide, kOptions, "BackProgramHide", SettingType::Int, 0, ""},
    {SettingId::MruProject1, "MRUProjects", "File1", SettingType::String, 0, ""},
    {SettingId::MruProject2, "MRUProjects", "File2", SettingType::String, 0, ""},
    {SettingId::MruProject3, "MRUProjects", "File3", SettingType::String, 0, ""},
    {SettingId::MruProject4, "MRUProjects", "File4", SettingType::String, 0, ""},
    {SettingId::MruProject5, "MRUProjects", "File5", SettingType::String, 0, ""},
    {SettingId::MruFile1, "MRUFiles", "File1", SettingType::String, 0, ""},
    {SettingId::MruFile2, "MRUFiles", "File2", SettingType::String, 0, ""},
    {SettingId::MruFile3, "MRUFiles", "File3", SettingType::String, 0, ""},
    {SettingId::MruFile4, "MRUFiles", "File4", SettingType::String, 0, ""},
    {SettingId::MruFile5, "MRUFiles", "File5", SettingType::String, 0, ""},
    {SettingId::TipsFilePos, "Tips", "FilePos", SettingType::Int, 0, ""},
    {SettingId::TipsStartUp, "Tips", "StartUp", SettingType::Int, 0, ""},
    {SettingId::FindMatchCase, "CrystalEdit\\Find", "MatchCase", SettingType::Int, 0, ""},
    {SettingId::FindWholeWord, "CrystalEdit\\Find", "WholeWord", SettingType::Int, 0, ""},
    {SettingId::FindWhat, "CrystalEdit\\Find", "FindWhat", SettingType::String, 0, ""},
    {SettingId::ReplaceMatchCase, "CrystalEdit\\Replace", "MatchCase", SettingType::Int, 0, ""},
    {SettingId::ReplaceWholeWord, "CrystalEdit\\Replace", "WholeWord", SettingType::Int, 0, ""},
    {SettingId::ReplaceFindWhat, "CrystalEdit\\Replace", "FindWhat", SettingType::String, 0, ""},
    {SettingId::ReplaceWith, "CrystalEdit\\Replace", "ReplaceWith", SettingType::String, 0, ""},
    {SettingId::PageLeftMargin, "CrystalEdit\\PageSetup", "LeftMargin", SettingType::Int, 1000, ""},
    {SettingId::PageRightMargin, "CrystalEdit\\PageSetup", "RightMargin", SettingType::Int, 1000, ""},
    {SettingId::PageTopMargin, "CrystalEdit\\PageSetup", "TopMargin", SettingType::Int, 1000, ""},
    {SettingId::PageBottomMargin, "CrystalEdit\\PageSetup", "BottomMargin", SettingType::Int, 1000, ""},
};

constexpr std::size_t kSettingCount = static_cast<std::size_t>(SettingId::Count);
static_assert(std::size(kSettingTable) == kSettingCount, "one row per setting");

constexpr bool SettingTableInOrder()
{
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (static_cast<std::size_t>(kSettingTable[i].id) != i)
            return false;
    }
    return true;
}
static_assert(SettingTableInOrder(), "rows in the order of SettingId");

constexpr const SettingEntry& SettingOf(SettingId id)
{
    return kSettingTable[static_cast<std::size_t>(id)];
}

// Rows of a numbered family (EditClr0-8, TraceClr0-3, File1-5), counted from the first one.
constexpr SettingId EditColourSetting(int index)
{
    return static_cast<SettingId>(static_cast<int>(SettingId::EditClr0) + index);
}
constexpr SettingId TraceColourSetting(int index)
{
    return static_cast<SettingId>(static_cast<int>(SettingId::TraceClr0) + index);
}
constexpr SettingId RecentProjectSetting(int index)
{
    return static_cast<SettingId>(static_cast<int>(SettingId::MruProject1) + index);
}
constexpr SettingId RecentFileSetting(int index)
{
    return static_cast<SettingId>(static_cast<int>(SettingId::MruFile1) + index);
}
inline constexpr int kEditColourCount = 9;
inline constexpr int kTraceColourCount = 4;
inline constexpr int kRecentCount = 5;

// Typed access to ZOV.ini through the table. Reading an integer row as text (or the reverse)
// is a programming error: it asserts, and in a release build reads the stored text or number.
class Settings {
public:
    // The file and the program folder that the folder defaults stand for.
    Settings(std::filesystem::path iniPath, std::filesystem::path programFolder);

    // ZOV.ini where SettingsFilePath puts it for this program.
    static Settings ForProgram(const std::filesystem::path& programFolder);

    const std::filesystem::path& Path() const { return ini_.Path(); }
    const std::filesystem::path& ProgramFolder() const { return programFolder_; }

    int GetInt(SettingId id) const;
    std::string GetString(SettingId id) const;
    bool WriteInt(SettingId id, int value) const;
    bool WriteString(SettingId id, std::string_view value) const;

    // The default of a row as its text ("16", "zovrun", the program folder).
    std::string DefaultText(SettingId id) const;

private:
    IniFile ini_;
    std::filesystem::path programFolder_;
};

}  // namespace zov::shell

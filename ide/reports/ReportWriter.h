#pragma once
// One report of the open project for one version, in one of five formats. The writer walks the
// campaign tree, picks each test's result for the version and hands the rows to the format's own
// writer; it shows the closing message through the prompter and keeps no state between calls.

#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace zov::reports {

class PdfCanvas;

// What a report reaches at writing time: the project (its versions, tree and results), the
// prompter and the translation, the batch flag, and the IDE's folder and version text.
struct ReportHost {
    ReportHost(const project::ProjectModel& project_, shell::Prompter& prompter_,
               shell::Translate translate_ = shell::IdentityTranslate(), bool batchMode_ = false,
               std::string programFolder_ = {}, std::string versionText_ = "1.0 PR1")
        : project(project_),
          prompter(prompter_),
          translate(std::move(translate_)),
          batchMode(batchMode_),
          programFolder(std::move(programFolder_)),
          versionText(std::move(versionText_))
    {}

    const project::ProjectModel& project;
    shell::Prompter& prompter;
    shell::Translate translate;
    bool batchMode;
    std::string programFolder;
    std::string versionText;  // string 8000
};

struct ResultCounts {
    int tested = 0;
    int ok = 0;
    int nok = 0;
    std::int64_t duration = 0;  // seconds
};

// One test that has a result for the reported version, with where it sits in the tree.
struct ReportedTest {
    const project::CCampaign& campaign;
    const project::CTestSet& testSet;
    const project::CTest& test;
    const project::CTestResult& result;
    bool firstOfCampaign;
    bool firstOfTestSet;
};

// The result of a test for a version: the first of its list's results with that version id,
// when the list holds any; nothing otherwise.
const project::CTestResult* FindReportResult(const project::ProjectModel& project, const project::CTest& test,
                                             std::uint32_t versionId);

// Every test with a result for the version, in tree order; tests whose result the filter refuses
// are left out as if they had none, so a campaign or set opens only at its first kept test.
void ForEachReportedTest(const project::ProjectModel& project, std::uint32_t versionId,
                         const std::function<void(const ReportedTest&)>& visit,
                         const std::function<bool(const project::CTestResult&)>& keep = {});

// " %02d:%02d:%02d" with the hours not wrapped (totals).
std::string FormatTotalDuration(std::int64_t seconds);
// "%02d:%02d:%02d" with the hours wrapped at a day (one test's duration).
std::string FormatRowDuration(std::int64_t seconds);
// "%02d:%02d:%02d": the time of day of a start time, in local time.
std::string FormatTimeOfDay(std::time_t time);
// "%.1f%%" of the share of tests that are not NOK; 0.0% when nothing was tested.
std::string FormatSuccessRate(int tested, int nok);

class CReportWriter {
public:
    explicit CReportWriter(ReportHost host);

    // Counts the tests with a result for the version: value 1 is OK, value 0 NOK, any other value
    // counts in tested only; the durations of all of them are added. Zeros for a bad index.
    ResultCounts CountResults(int versionIndex) const;

    // Each returns true when the file was written; the closing message is shown either way
    // (success only outside batch runs). A version index outside the list writes nothing.
    bool WriteHtml(const std::string& path, int versionIndex, const std::string& headerFile,
                   const std::string& footerFile);
    bool WriteResultXml(const std::string& path, int versionIndex, const std::string& styleSheetHref);
    bool WriteJUnitXml(const std::string& path, int versionIndex);
    bool WriteCsv(const std::string& path, int versionIndex, char separator, char qualifier);
    bool WritePdf(const std::string& path, int versionIndex, const std::string& headerImage, int headerAlign);

    // The bytes each file would hold; nothing for a version index outside the list.
    std::optional<std::string> HtmlText(int versionIndex, const std::string& headerFile,
                                        const std::string& footerFile) const;
    std::optional<std::string> ResultXmlText(int versionIndex, const std::string& styleSheetHref) const;
    std::optional<std::string> JUnitXmlText(int versionIndex) const;
    std::optional<std::string> CsvText(int versionIndex, char separator, char qualifier) const;
    // Lays the PDF report out on any canvas; false for a version index outside the list.
    bool LayOutPdf(PdfCanvas& canvas, int versionIndex, const std::string& headerImage, int headerAlign) const;

private:
    const project::CVersion* VersionAt(int versionIndex) const;
    std::string Tr(const char* text) const { return host_.translate(text); }
    void Closing(bool success);
    void CannotSave(const std::string& path);
    bool WriteBytes(const std::string& path, const std::optional<std::string>& bytes);
    // As WriteBytes, and a failed write names the file first ("Impossible d'enregistrer...").
    bool WriteNamingPath(const std::string& path, const std::optional<std::string>& text);

    ReportHost host_;
};

}  // namespace zov::reports

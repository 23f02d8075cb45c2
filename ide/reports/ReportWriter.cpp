#include "ide/reports/ReportWriter.h"

#include "common/AtomicFile.h"
#include "common/MessageText.h"
#include "ide/reports/CsvReport.h"
#include "ide/reports/HtmlReport.h"
#include "ide/reports/JUnitXmlReport.h"
#include "ide/reports/ReportTexts.h"
#include "ide/reports/ResultXmlReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zov::reports {

using project::CTestResult;

namespace {

std::string ThreeNumbers(const char* pattern, long long a, long long b, long long c)
{
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

}  // namespace

const CTestResult* FindReportResult(const project::ProjectModel& project, const project::CTest& test,
                                    std::uint32_t versionId)
{
    const project::CTestResultList* list = project.FindResultList(test.Id);
    if (!list || list->Results.empty()) {
        return nullptr;
    }
    for (const auto& result : list->Results) {
        if (result && result->VersionId == versionId) {
            return result.get();
        }
    }
    return nullptr;
}

void ForEachReportedTest(const project::ProjectModel& project, std::uint32_t versionId,
                         const std::function<void(const ReportedTest&)>& visit,
                         const std::function<bool(const CTestResult&)>& keep)
{
    for (const auto& campaign : project.Campaigns) {
        bool campaignOpen = false;
        for (const auto& testSet : campaign->TestSets) {
            bool testSetOpen = false;
            for (const auto& test : testSet->Tests) {
                const CTestResult* result = FindReportResult(project, *test, versionId);
                if (!result || (keep && !keep(*result))) {
                    continue;
                }
                visit(ReportedTest{*campaign, *testSet, *test, *result, !campaignOpen, !testSetOpen});
                campaignOpen = true;
                testSetOpen = true;
            }
        }
    }
}

// Durations from a damaged results file may be negative; they show as zero rather than as
// a clock with minus signs.
std::string FormatTotalDuration(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    return ThreeNumbers(" %02lld:%02lld:%02lld", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}

std::string FormatRowDuration(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    return ThreeNumbers("%02lld:%02lld:%02lld", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
}

std::string FormatTimeOfDay(std::time_t time)
{
    std::tm local{};
    if (!::localtime_r(&time, &local)) {
        return "00:00:00";
    }
    return ThreeNumbers("%02lld:%02lld:%02lld", local.tm_hour, local.tm_min, local.tm_sec);
}

std::string FormatSuccessRate(int tested, int nok)
{
    const double rate = tested == 0 ? 0.0 : (tested - nok) * 1000.0 / tested * 0.1;
    // A half is rounded upward (6.25 gives 6.3), where printf alone would round it to even.
    const double tenths = std::floor(rate * 10.0 + 0.5) / 10.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.1f%%", tenths);
    return text;
}

CReportWriter::CReportWriter(ReportHost host) : host_(std::move(host))
{
    if (!host_.translate) {
        host_.translate = shell::IdentityTranslate();
    }
}

const project::CVersion* CReportWriter::VersionAt(int versionIndex) const
{
    const auto& versions = host_.project.Versions;
    if (versionIndex < 0 || static_cast<std::size_t>(versionIndex) >= versions.size()) {
        return nullptr;
    }
    return versions[static_cast<std::size_t>(versionIndex)].get();
}

ResultCounts CReportWriter::CountResults(int versionIndex) const
{
    ResultCounts counts;
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return counts;
    }
    ForEachReportedTest(host_.project, version->Id, [&counts](const ReportedTest& reported) {
        ++counts.tested;
        if (reported.result.Value == 1) {
            ++counts.ok;
        } else if (reported.result.Value == 0) {
            ++counts.nok;
        }
        counts.duration += reported.result.Duration;
    });
    return counts;
}

void CReportWriter::Closing(bool success)
{
    if (success) {
        // An unattended batch has nobody to tell.
        if (!host_.batchMode) {
            host_.prompter.Tell(Tr(texts::kSaved), shell::PromptIcon::Information);
        }
        return;
    }
    // A failure is told in a batch as well: the batch prompter writes it as one line and never waits.
    host_.prompter.Tell(Tr(texts::kSaveFailed), shell::PromptIcon::Warning);
}

void CReportWriter::CannotSave(const std::string& path)
{
    host_.prompter.Tell(FillMessage(Tr(texts::kCannotSave), path), shell::PromptIcon::Warning);
}

bool CReportWriter::WriteBytes(const std::string& path, const std::optional<std::string>& bytes)
{
    const bool written = bytes && WriteFileAtomically(path, *bytes);
    Closing(written);
    return written;
}

bool CReportWriter::WriteNamingPath(const std::string& path, const std::optional<std::string>& text)
{
    if (!text) {
        Closing(false);
        return false;
    }
    if (!WriteFileAtomically(path, *text)) {
        CannotSave(path);
        Closing(false);
        return false;
    }
    Closing(true);
    return true;
}

// ---- Result XML ----

std::optional<std::string> CReportWriter::ResultXmlText(int versionIndex, const std::string& styleSheetHref) const
{
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return std::nullopt;
    }
    ResultXmlReportWriter writer(version->Name, styleSheetHref, host_.translate);
    writer.WriteSummary(CountResults(versionIndex));
    ForEachReportedTest(host_.project, version->Id, [&writer](const ReportedTest& reported) {
        if (reported.firstOfCampaign) {
            writer.OpenCampaign(reported.campaign.Name, reported.campaign.Text);
        }
        if (reported.firstOfTestSet) {
            writer.OpenList(reported.testSet.Name, reported.testSet.Text);
        }
        writer.AddScript(reported.test.Name, reported.result);
    });
    return writer.Text();
}

bool CReportWriter::WriteResultXml(const std::string& path, int versionIndex, const std::string& styleSheetHref)
{
    return WriteBytes(path, ResultXmlText(versionIndex, styleSheetHref));
}

// ---- JUnit XML ----

std::optional<std::string> CReportWriter::JUnitXmlText(int versionIndex) const
{
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return std::nullopt;
    }
    JUnitXmlReportWriter writer;
    ForEachReportedTest(host_.project, version->Id, [&writer](const ReportedTest& reported) {
        if (reported.firstOfTestSet) {
            writer.OpenSuite(reported.campaign.Name + "-" + reported.testSet.Name);
        }
        writer.AddCase(reported.test.Name, reported.result);
    });
    return writer.Text();
}

bool CReportWriter::WriteJUnitXml(const std::string& path, int versionIndex)
{
    return WriteBytes(path, JUnitXmlText(versionIndex));
}

// ---- CSV ----

std::optional<std::string> CReportWriter::CsvText(int versionIndex, char separator, char qualifier) const
{
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return std::nullopt;
    }
    CsvRowWriter writer({}, separator, qualifier);
    ForEachReportedTest(host_.project, version->Id, [this, &writer](const ReportedTest& reported) {
        const CTestResult& result = reported.result;
        std::string label;
        std::string info = result.Info;
        if (result.Value == 1) {
            label = Tr(texts::kOk);
        } else if (result.Value == 0) {
            label = Tr(texts::kNok);
        } else {
            label = Tr(texts::kNoResult);
            info = " ";
        }
        writer.WriteRow({reported.campaign.Name, reported.testSet.Name, reported.test.Name, label, info});
    });
    return writer.Text();
}

bool CReportWriter::WriteCsv(const std::string& path, int versionIndex, char separator, char qualifier)
{
    return WriteNamingPath(path, CsvText(versionIndex, separator, qualifier));
}

// ---- HTML ----

std::optional<std::string> CReportWriter::HtmlText(int versionIndex, const std::string& headerFile,
                                                   const std::string& footerFile) const
{
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return std::nullopt;
    }
    HtmlReportWriter writer(host_.project.Name, version->Name + " - " + version->Info, headerFile, footerFile,
                            host_.translate, host_.versionText);
    const ResultCounts counts = CountResults(versionIndex);
    writer.WriteSummary(counts.tested, counts.nok, counts.duration);
    bool campaignOpen = false;
    // Negative values are counted above but never shown as rows.
    ForEachReportedTest(
        host_.project, version->Id,
        [&](const ReportedTest& reported) {
            if (reported.firstOfCampaign) {
                if (campaignOpen) {
                    writer.EndCampaign();
                }
                writer.BeginCampaign(reported.campaign.Name);
                campaignOpen = true;
            }
            if (reported.firstOfTestSet) {
                writer.WriteTestSetRow(reported.testSet.Name);
            }
            writer.WriteTestRow({reported.test.Name, reported.result});
        },
        [](const CTestResult& result) { return result.Value >= 0; });
    if (campaignOpen) {
        writer.EndCampaign();
    }
    return writer.Finish();
}

bool CReportWriter::WriteHtml(const std::string& path, int versionIndex, const std::string& headerFile,
                              const std::string& footerFile)
{
    return WriteNamingPath(path, HtmlText(versionIndex, headerFile, footerFile));
}

}  // namespace zov::reports

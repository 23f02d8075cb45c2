// Each report of a project of 10 000 results (100 campaigns of 25 sets of 4 tests, every kind of
// value, Info texts of a few words), next to writing its bytes alone. Prints medians, the targets
// (result XML, JUnit and HTML <= 0.3 s, CSV <= 0.1 s, PDF <= 2 s) and the ratio report / bytes alone.
#include "common/AtomicFile.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Prompter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace zov::project;
using namespace zov::reports;

double MedianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void FillProject(ProjectModel& model)
{
    model.Name = "Grand banc";
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V1", "nuit"}));
    int n = 0;
    for (int c = 0; c < 100; ++c) {
        CCampaign& campaign = *model.AddCampaign("Campagne " + std::to_string(c), kAddAtEnd, 0, nullptr);
        for (int s = 0; s < 25; ++s) {
            CTestSet& set = *model.AddTestSet(campaign, "Ensemble " + std::to_string(s), kAddAtEnd, 0, 0, 0, nullptr);
            for (int t = 0; t < 4; ++t, ++n) {
                CTest& test =
                    *model.AddTest(set, "t.qzs", "Test numéro " + std::to_string(n), kAddAtEnd, 0, nullptr, 0);
                model.SetResult(1, test.Id, n % 3, "mesure relevée à " + std::to_string(n) + " mV, écart <5%",
                                1700000000 + n, n % 500);
            }
        }
    }
}

}  // namespace

int main()
{
    ::setenv("TZ", "UTC", 1);
    ProjectModel model;
    FillProject(model);
    zov::shell::RecordingPrompter prompter;
    CReportWriter writer(ReportHost{model, prompter, zov::shell::IdentityTranslate(), true});
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zov-report-bench";
    std::filesystem::create_directories(folder);

    struct Row {
        const char* name;
        const char* file;
        double target;
        std::function<bool(const std::string&)> write;
    };
    const Row rows[] = {
        {"result XML", "r.xml", 0.3, [&](const std::string& p) { return writer.WriteResultXml(p, 0, "zov.xsl"); }},
        {"JUnit XML", "j.xml", 0.3, [&](const std::string& p) { return writer.WriteJUnitXml(p, 0); }},
        {"CSV", "r.csv", 0.1, [&](const std::string& p) { return writer.WriteCsv(p, 0, ';', '"'); }},
        {"HTML", "r.html", 0.3, [&](const std::string& p) { return writer.WriteHtml(p, 0, "", ""); }},
        {"PDF", "r.pdf", 2.0, [&](const std::string& p) { return writer.WritePdf(p, 0, "", 0); }},
    };
    std::printf("%-12s %10s %10s %8s %12s %8s\n", "report", "seconds", "target", "ok", "bytes alone", "ratio");
    int failures = 0;
    for (const Row& row : rows) {
        const std::string path = (folder / row.file).string();
        bool written = true;
        const double seconds = MedianSeconds(5, [&] { written = row.write(path) && written; });
        const std::string bytes = *zov::ReadWholeFile(path);
        const double alone = MedianSeconds(5, [&] { zov::WriteFileAtomically(path + ".copy", bytes); });
        const bool ok = written && seconds <= row.target;
        failures += ok ? 0 : 1;
        std::printf("%-12s %10.4f %10.2f %8s %12.4f %8.1f\n", row.name, seconds, row.target, ok ? "yes" : "NO", alone,
                    seconds / alone);
    }
    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}

// Requirements against a large project: 5 000 requirement rows naming 3 tests or sets each, read
// against 10 000 tests (lookups through the name index, next to the same reading with a linear
// name scan); their dated export (next to writing the same bytes alone); and the synthesis rows of
// 10 000 tests (next to a linear search of the result lists). Prints medians and ratios; targets:
// load <= 0.3 s, export <= 0.3 s, synthesis rows <= 0.2 s.
#include "common/AtomicFile.h"
#include "common/CsvFields.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/project/model/ResultsSynthesis.h"
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

void FillProject(ProjectModel& model, const std::string& folder)
{
    model.NewProject("Grand", folder, "");
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V1", ""}));
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{2, "V2", ""}));
    for (int c = 0; c < 10; ++c) {
        auto& campaign = *model.AddCampaign("Campagne " + std::to_string(c), kAddAtEnd, 0, nullptr);
        for (int s = 0; s < 10; ++s) {
            auto& set = *model.AddTestSet(campaign, "Ensemble " + std::to_string(c) + "_" + std::to_string(s),
                                          kAddAtEnd, 0, 0, 0, nullptr);
            for (int t = 0; t < 100; ++t) {
                const std::string name =
                    "Essai_" + std::to_string(c) + "_" + std::to_string(s) + "_" + std::to_string(t);
                auto& test = *model.AddTest(set, name + ".qzs", name, kAddAtEnd, 0, nullptr, 0);
                for (std::uint32_t v = 1; v <= 2; ++v) {
                    model.SetResult(v, test.Id, (t + v) % 3 == 0 ? 0 : 1, "", 1709622489 + t, 60);
                }
            }
        }
    }
    model.RequirementCsvSettings.TextQualifier = '"';
    model.RequirementCsvSettings.HasHeader = 1;
}

std::string RequirementsFile()
{
    std::string bytes = "ID;Titre;Texte;Référence\r\n";
    for (int r = 0; r < 5000; ++r) {
        const int c = r % 10, s = (r / 10) % 10, t = r % 100;
        bytes += "\"EX-" + std::to_string(r) + "\";\"Exigence " + std::to_string(r) +
                 "\";\"Texte; ligne 1\r\nligne 2\";\"" + "Essai_" + std::to_string(c) + "_" + std::to_string(s) + "_" +
                 std::to_string(t) + "/Essai_" + std::to_string(9 - c) + "_" + std::to_string(s) + "_" +
                 std::to_string(99 - t) + "/Ensemble " + std::to_string(c) + "_" + std::to_string(9 - s) + "\"\r\n";
    }
    return bytes;
}

}  // namespace

int main()
{
    ::setenv("TZ", "UTC", 1);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zov-csv-bench";
    std::filesystem::create_directories(folder);
    ProjectModel model;
    FillProject(model, folder.string());
    const std::string csv = RequirementsFile();
    model.RequirementCsvSettings.FirstLine = 1;
    if (!zov::WriteFileAtomically(folder / "exig.csv", csv)) {
        return 1;
    }
    zov::shell::RecordingPrompter prompter;
    const int runs = 5;

    const double load = MedianSeconds(runs, [&] {
        model.TreeChanged();  // the index is rebuilt as after a load of the project
        if (!model.LoadRequirementsCsv("exig.csv", prompter) || model.Requirements.size() != 5000 ||
            model.Requirements[0]->Links.size() != 3) {
            std::abort();
        }
    });
    // The same fields taken, each name looked up by scanning every test set and test.
    std::vector<std::pair<std::string, const CTestSet*>> sets;
    std::vector<std::pair<std::string, const CTest*>> tests;
    for (const auto& campaign : model.Campaigns) {
        for (const auto& set : campaign->TestSets) {
            sets.emplace_back(UpperCaseName(set->Name), set.get());
            for (const auto& test : set->Tests) {
                tests.emplace_back(UpperCaseName(test->Name), test.get());
            }
        }
    }
    const double linear = MedianSeconds(runs, [&] {
        std::vector<std::string> lines;
        size_t found = 0;
        std::string record;
        size_t begin = csv.find("\r\n") + 2;
        while (begin < csv.size()) {
            size_t end = csv.find("\r\n", begin);
            record = csv.substr(begin, end - begin);
            while (!zov::IsCsvLineComplete(record, ';', '"')) {
                begin = end + 2;
                end = csv.find("\r\n", begin);
                record += "\\n" + csv.substr(begin, end - begin);
            }
            begin = end + 2;
            const std::string links = zov::GetCsvField(4, record, ';', '"');
            size_t from = 0;
            while (from <= links.size()) {
                size_t slash = links.find('/', from);
                if (slash == std::string::npos) {
                    slash = links.size();
                }
                const std::string name = UpperCaseName(links.substr(from, slash - from));
                bool hit = false;
                for (const auto& entry : sets) {
                    if (entry.first == name) {
                        hit = true;
                        break;
                    }
                }
                for (size_t i = 0; !hit && i < tests.size(); ++i) {
                    hit = tests[i].first == name;
                }
                found += hit;
                from = slash + 1;
            }
        }
        if (found != 15000) {
            std::abort();
        }
    });

    model.RequirementCsvSettings.ExportColumns = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::string exported = model.RequirementsExportText(1);
    const double exportTime = MedianSeconds(runs, [&] {
        if (!model.ExportRequirementsDated((folder / "export.csv").string(), 1, prompter)) {
            std::abort();
        }
    });
    const double writeAlone = MedianSeconds(runs, [&] {
        if (!zov::WriteFileAtomically(folder / "same.csv", exported)) {
            std::abort();
        }
    });

    const double rows = MedianSeconds(runs, [&] {
        const ResultsSynthesis synthesis(model);
        if (synthesis.Rows(kSynthesisTests, 0, 1).size() != 10110) {
            std::abort();
        }
    });
    const double scan = MedianSeconds(1, [&] {
        size_t withResult = 0;
        for (const auto& campaign : model.Campaigns) {
            for (const auto& set : campaign->TestSets) {
                for (const auto& test : set->Tests) {
                    for (const auto& list : model.Results()) {
                        if (list->TestId == test->Id) {
                            withResult += !list->Results.empty();
                            break;
                        }
                    }
                }
            }
        }
        if (withResult != 10000) {
            std::abort();
        }
    });

    std::printf("requirements: %zu bytes, 5000 rows x 3 names, 10000 tests; export %zu bytes\n", csv.size(),
                exported.size());
    std::printf(
        "load (LoadRequirementsCsv)    %8.1f ms   linear name scan     %8.1f ms   ratio %.3f   target <= 300 ms: %s\n",
        load * 1e3, linear * 1e3, load / linear, load <= 0.3 ? "met" : "MISSED");
    std::printf(
        "dated export                  %8.1f ms   write bytes alone    %8.1f ms   ratio %.2f   target <= 300 ms: %s\n",
        exportTime * 1e3, writeAlone * 1e3, exportTime / writeAlone, exportTime <= 0.3 ? "met" : "MISSED");
    std::printf(
        "synthesis rows, 10000 tests   %8.1f ms   linear result scan   %8.1f ms   ratio %.3f   target <= 200 ms: %s\n",
        rows * 1e3, scan * 1e3, rows / scan, rows <= 0.2 ? "met" : "MISSED");
    std::filesystem::remove_all(folder);
    return 0;
}

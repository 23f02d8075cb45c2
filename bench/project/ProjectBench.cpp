// A project of 10 campaigns x 10 test sets x 100 tests, results for 2 versions (about 7.7 MB),
// loaded and saved by the project model, next to TinyXML alone parsing and printing the same
// bytes. Prints the median of several runs of each and the ratios; targets: load <= 0.6 s,
// save <= 0.4 s.
#include "common/AtomicFile.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Prompter.h"

#include <tinyxml.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using zov::project::ProjectModel;

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

ProjectModel MakeProject(const std::string& folder)
{
    ProjectModel model;
    model.NewProject("Grand", folder, "");
    model.Versions.push_back(std::make_unique<zov::project::CVersion>(zov::project::CVersion{1, "V1", ""}));
    model.Versions.push_back(std::make_unique<zov::project::CVersion>(zov::project::CVersion{2, "V2", ""}));
    const std::time_t start = 1709622489;
    for (int c = 0; c < 10; ++c) {
        auto& campaign = *model.AddCampaign("Campagne " + std::to_string(c), zov::project::kAddAtEnd, 0, nullptr);
        campaign.Text = "Campagne de mesures numéro " + std::to_string(c);
        for (int s = 0; s < 10; ++s) {
            auto& set =
                *model.AddTestSet(campaign, "Ensemble " + std::to_string(s), zov::project::kAddAtEnd, 0, 0, 0, nullptr);
            set.Params = "port=COM1;vitesse=9600";
            for (int t = 0; t < 100; ++t) {
                const std::string name =
                    "Essai_" + std::to_string(c) + "_" + std::to_string(s) + "_" + std::to_string(t);
                auto& test = *model.AddTest(set, "scripts/campagne" + std::to_string(c) + "/" + name + ".qzs", name,
                                            zov::project::kAddAtEnd, 0, nullptr, 0);
                test.Params = "mesure=" + std::to_string(t) + ";seuil=0.5";
                for (std::uint32_t v = 1; v <= 2; ++v) {
                    model.SetResult(v, test.Id, (t + v) % 3 == 0 ? 0 : 1,
                                    "Mesure relevée : " + std::to_string(t * 17 % 1000) + " mV, dans les tolérances",
                                    start + t * 60, 3600 + t);
                }
            }
        }
    }
    return model;
}

}  // namespace

int main()
{
    ::setenv("TZ", "UTC", 1);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zov-project-bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "Grand.qzp").string();

    ProjectModel model = MakeProject(folder.string());
    const std::string bytes = model.ProjectFileText();
    std::printf("project: %zu bytes, %zu result lists\n", bytes.size(), model.Results().size());

    zov::shell::RecordingPrompter prompter;
    const int runs = 5;
    if (!zov::WriteFileAtomically(path, bytes)) {
        return 1;
    }
    const double load = MedianSeconds(runs, [&] {
        ProjectModel loaded;
        if (!loaded.LoadProjectFile(path, prompter) || loaded.Results().size() != 10000) {
            std::abort();
        }
    });
    const double parse = MedianSeconds(runs, [&] {
        TiXmlDocument document;
        document.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_UTF8);
        if (document.Error()) {
            std::abort();
        }
    });
    const double save = MedianSeconds(runs, [&] {
        if (!model.SaveProjectFile(path)) {
            std::abort();
        }
    });
    TiXmlDocument parsed;
    parsed.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const double print = MedianSeconds(runs, [&] {
        TiXmlPrinter printer;
        parsed.Accept(&printer);
        if (!zov::WriteFileAtomically(folder / "tinyxml.qzp", printer.Str())) {
            std::abort();
        }
    });
    std::printf(
        "load (LoadProjectFile)         %8.1f ms   TinyXML parse alone %8.1f ms   ratio %.2f   target <= 600 ms: %s\n",
        load * 1e3, parse * 1e3, load / parse, load <= 0.6 ? "met" : "MISSED");
    std::printf(
        "save (SaveProjectFile)        %8.1f ms   TinyXML print+write %8.1f ms   ratio %.2f   target <= 400 ms: %s\n",
        save * 1e3, print * 1e3, save / print, save <= 0.4 ? "met" : "MISSED");
    if (!std::getenv("ZOV_BENCH_KEEP"))
        std::filesystem::remove_all(folder);
    return 0;
}

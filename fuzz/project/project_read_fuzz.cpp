// Any bytes as a project file. What is read must write out as a file that reads back, and from
// then on read-then-write changes nothing. (The first round may still normalise: a control
// character is written visibly as "\xHH", whose backslash then reads as a path separator.)
#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Prompter.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// A folder that does not exist: no interface, results file or CSV file is ever found beside it.
const std::string kPath = "/nonexistent-zov-fuzz/P.qzp";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ::setenv("TZ", "UTC", 1);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    zov::shell::RecordingPrompter prompter;
    auto model = zov::project::ProjectModel::ReadProjectText(bytes, kPath, prompter);
    if (!model) {
        return 0;
    }
    // The lookups the trees and reports use, on whatever names the file holds.
    for (const auto& campaign : model->Campaigns) {
        for (const auto& testSet : campaign->TestSets) {
            (void)model->FindTestSetByPath(campaign->Name + "/" + testSet->Name);
            for (const auto& test : testSet->Tests) {
                (void)model->FindTestByPath(campaign->Name + "/" + testSet->Name + "/" + test->Name);
                (void)model->FindResult(test->Id, 1);
            }
        }
    }
    auto once = zov::project::ProjectModel::ReadProjectText(model->ProjectFileText(), kPath, prompter);
    if (!once) {
        std::abort();
    }
    const std::string written = once->ProjectFileText();
    auto twice = zov::project::ProjectModel::ReadProjectText(written, kPath, prompter);
    if (!twice || twice->ProjectFileText() != written) {
        std::abort();
    }
    return 0;
}

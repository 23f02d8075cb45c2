// Any bytes as a results file: a file that reads writes out as one that reads back the same.
#include "ide/project/model/ProjectModel.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ::setenv("TZ", "UTC", 1);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    zov::project::ProjectModel model;
    model.SetResult(1, 1, 1, "before", 0, 0);
    if (!model.ReadResultsText(bytes)) {
        // A file that does not parse changes nothing.
        if (!model.FindResult(1, 1)) {
            std::abort();
        }
        return 0;
    }
    // The fixed point from a fresh model: the list kept above (emptied) would write an empty tree.
    zov::project::ProjectModel fresh;
    fresh.ReadResultsText(bytes);
    const std::string written = fresh.ResultsFileText();
    zov::project::ProjectModel reread;
    if (!reread.ReadResultsText(written) || reread.ResultsFileText() != written) {
        std::abort();
    }
    return 0;
}

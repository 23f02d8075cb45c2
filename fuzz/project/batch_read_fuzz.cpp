// Any bytes as a batch file: a batch that reads writes out as one that reads back the same.
#include "ide/project/model/BatchFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    int hide = 0;
    zov::project::BatchEntries entries;
    if (!zov::project::ReadBatchText(bytes, hide, entries)) {
        if (!entries.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::string written = zov::project::BatchFileText(hide, entries);
    int rereadHide = 0;
    zov::project::BatchEntries reread;
    if (!zov::project::ReadBatchText(written, rereadHide, reread) ||
        zov::project::BatchFileText(rereadHide, reread) != written) {
        std::abort();
    }
    return 0;
}

// Reads arbitrary bytes as a tips file, from a position that the input also chooses, and checks
// what the dialog relies on: every tip is valid UTF-8 without line end, reading
// always ends (a file without tips gives an empty tip), and the saved position lies in the file.
#include "common/TextCodec.h"
#include "ide/shell/core/TipsFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("zov_tips_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    if (size < 2)
        return 0;
    const int start = data[0] | (data[1] << 8);
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::ofstream(folder / "Tips.txt", std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(folder / "ZOV.ini", std::ios::binary | std::ios::trunc)
        << "[Tips]\nFilePos=" << (start % 5 == 0 ? -start : start) << "\n";
    const zov::shell::Settings settings(folder / "ZOV.ini", folder);
    zov::shell::RecordingPrompter prompter;
    for (int opening = 0; opening < 3; ++opening) {
        zov::shell::TipsFile tips(settings, "Tips.txt", prompter);
        for (int next = 0; next < 3; ++next) {
            const std::string& tip = tips.Tip();
            if (!zov::IsValidUtf8(tip) || tip.find_first_of("\r\n") != std::string::npos)
                std::abort();
            tips.ReadNextTip();
        }
    }
    const int saved = settings.GetInt(zov::shell::SettingId::TipsFilePos);
    if (saved < 0 || static_cast<size_t>(saved) > bytes.size())
        std::abort();
    return 0;
}

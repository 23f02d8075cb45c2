// A script file may hold any bytes: loading gives a text ended by CR LF whose lines all fit
// the limit and whose every CR is followed by LF, or no text after a clear line, never a crash. The loaded text then goes through
// the joining and an expansion pass, as the analysis does.

#include "engine/input/MacroTable.h"
#include "engine/base/Output.h"
#include "engine/input/ScriptLoader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int fd = [] {
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        return ::memfd_create("script", MFD_CLOEXEC);
    }();
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0)
        return 0;
    if (size != 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;

    const auto text = zov::LoadScriptFile(path);
    if (!text)
        return 0;
    const std::string_view t = *text;
    // A lone CR gains its LF; nothing else is added but the closing "\r\n".
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t crs = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\r'));
    if (t.size() < 2 || t.size() > size + crs + 2 || t.substr(t.size() - 2) != "\r\n")
        __builtin_trap();
    for (std::size_t cr = t.find('\r'); cr != std::string_view::npos; cr = t.find('\r', cr + 1))
        if (cr + 1 >= t.size() || t[cr + 1] != '\n')
            __builtin_trap();
    if (t.find('\0') != std::string_view::npos)
        __builtin_trap();
    // Every line of the file fits the limit; only the closing "\r\n" may lengthen the last one.
    std::size_t start = 0;
    const std::string_view file = t.substr(0, t.size() - 2);
    while (start < file.size()) {
        const std::size_t lf = file.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? file.size() : lf + 1;
        if (end - start >= zov::kMaxScriptLine)
            __builtin_trap();
        start = end;
    }

    zov::CMacroTable table;
    table.Add("N", "5", zov::kMacroKindConstant);
    std::string joined = zov::JoinContinuedLines(t);
    zov::RunMacroPasses(table, joined, std::size_t{1} << 20);
    return 0;
}

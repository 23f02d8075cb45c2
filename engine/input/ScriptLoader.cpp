#include "engine/input/ScriptLoader.h"

#include "engine/runtime/EngineState.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/base/Output.h"
#include "common/process/ProcessSpawn.h"

#include <cerrno>
#include <climits>
#include <new>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zov {

namespace {

// The sizes go out as "%i" and the scanner counts in int: the text with its closing "\r\n"
// must stay below 2 GB.
constexpr std::size_t kMaxScriptText = static_cast<std::size_t>(INT_MAX) - 2;

std::optional<std::string> ReadScript(const std::string& path)
{
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return std::nullopt;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || S_ISDIR(info.st_mode))
        return std::nullopt;

    const bool verbose = Engine().Verbose;
    const auto fileSize = static_cast<unsigned long long>(info.st_size < 0 ? 0 : info.st_size);
    if (verbose)
        WriteOut(lines::EngScriptSize, CountForLine(fileSize));
    if (fileSize > kMaxScriptText) {
        WriteOut(lines::ErrScriptTooLarge);
        return std::nullopt;
    }

    std::string text;
    text.reserve(static_cast<std::size_t>(fileSize) + 2);
    std::size_t lineLength = 0;  // bytes of the current line so far, its LF included
    // Appends bytes whose line ends are LF or CR LF, counting the length of each line.
    const auto append = [&](std::string_view piece) {
        std::size_t start = 0;
        while (start < piece.size()) {
            const std::size_t lf = piece.find('\n', start);
            const std::size_t end = lf == std::string_view::npos ? piece.size() : lf + 1;
            lineLength += end - start;
            if (lineLength >= kMaxScriptLine) {
                WriteOut(lines::EngLineTooLong);
                return false;
            }
            if (lf != std::string_view::npos)
                lineLength = 0;
            start = end;
        }
        if (piece.size() > kMaxScriptText - text.size()) {
            WriteOut(lines::ErrScriptTooLarge);
            return false;
        }
        text.append(piece);
        return true;
    };

    // The later steps count lines by their LF: a lone CR (a file saved with CR line ends)
    // becomes CR LF. A CR at the end of a chunk waits for the first byte of the next one.
    bool afterCr = false;
    std::string normalised;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        const std::string_view piece(chunk, static_cast<std::size_t>(got));
        if (piece.find('\0') != std::string_view::npos) {
            WriteOut(lines::EngScriptNulByte);
            return std::nullopt;
        }
        std::string_view ready = piece;
        if (afterCr || piece.find('\r') != std::string_view::npos) {
            normalised.clear();
            for (const char c : piece) {
                if (afterCr && c != '\n')
                    normalised.push_back('\n');
                normalised.push_back(c);
                afterCr = c == '\r';
            }
            ready = normalised;
        }
        if (!append(ready))
            return std::nullopt;
    }
    if (afterCr && !append("\n"))
        return std::nullopt;

    // Only a last line without its line end can end with blanks here; a line of one blank
    // keeps it.
    if (lineLength > 1 && text.back() == ' ') {
        const std::size_t lineStart = text.size() - lineLength;
        std::size_t keep = text.size();
        while (keep > lineStart && text[keep - 1] == ' ')
            --keep;
        text.resize(keep);
    }
    text.append("\r\n");
    if (verbose)
        WriteOut(lines::EngBufferSize, static_cast<int>(text.size()));
    return text;
}

}  // namespace

std::optional<std::string> LoadScriptFile(const std::string& path)
{
    try {
        return ReadScript(path);
    } catch (const std::bad_alloc&) {
        WriteOut(lines::ErrScriptNoMemory);
        return std::nullopt;
    }
}

void WriteCannotRead(const std::string& path, bool verbose)
{
    if (verbose)
        WriteOut(lines::EngCannotReadVerbose);
    else
        WriteOut(lines::EngCannotRead, path.c_str());
}

bool LoadGrammarFile(CGrammarTable& table, const std::string& fileName)
{
    const bool verbose = Engine().Verbose.load();
    if (verbose)
        WriteOut(lines::EngReadGrammar, fileName.c_str());
    const bool loaded = table.Load(fileName);
    if (!loaded)
        WriteCannotRead(fileName, verbose);
    else if (verbose)
        WriteOut(lines::EngStepSuccess);
    return loaded;
}

}  // namespace zov

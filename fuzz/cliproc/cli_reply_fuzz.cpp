// A CLI's reply is outside input: arbitrary bytes arriving in arbitrary pieces on a pipe. This
// target feeds them through the queue translation, the terminator search and stripping, and
// the template filling and command-line splitting, without any process.
//
// Input: byte 0 = flags (bit 0: drop line breaks), byte 1 = terminator length (mod 9), then
// the terminator, then the pipe data; every 0xFF byte in the data cuts it into another read.
#include "engine/runtime/CliCalls.h"
#include "common/NumberText.h"
#include "engine/processes/CliProcess.h"
#include "common/process/ProcessSpawn.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool dropLineBreaks = data[0] & 1;
    const std::size_t termLength = data[1] % 9;
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    if (rest.size() < termLength)
        return 0;
    const std::string terminator(rest.substr(0, termLength));
    rest.remove_prefix(termLength);

    std::vector<std::string> reads;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || static_cast<unsigned char>(rest[i]) == 0xFF) {
            reads.emplace_back(rest.substr(start, i - start));
            start = i + 1;
        }
    }

    zov::CliByteQueue queue;
    zov::ReplyCollector reply(terminator);
    std::size_t queued = 0;
    for (const std::string& piece : reads) {
        queue.Append(piece, dropLineBreaks);
        if (dropLineBreaks && queue.View().find_first_of("\r\n") != std::string_view::npos)
            std::abort();
        if (reply.TakeFrom(queue))
            break;
        queued += piece.size();
    }
    if (reply.Complete()) {
        const std::string& text = reply.Text();
        // The reply ends at the first terminator: exactly one, at its end.
        if (text.size() < terminator.size() ||
            (!terminator.empty() && text.find(terminator) != text.size() - terminator.size()))
            std::abort();
        const std::string stripped = reply.Stripped();
        if (stripped.size() > text.size())
            std::abort();
    }
    (void)queued;
    const std::size_t left = queue.Size();
    std::string taken;
    if (queue.PopInto(taken, left) != left || !queue.Empty())
        std::abort();

    // The same bytes as template and arguments, and as a command line to split.
    std::vector<std::string> args(reads.begin() + (reads.empty() ? 0 : 1), reads.end());
    const std::string filled = zov::FillCommandTemplate(reads.empty() ? std::string() : reads.front(), args);
    (void)zov::CountLinesSent(filled);
    (void)zov::SplitCommandLine(rest);
    (void)zov::ParseLeadingInt(rest);
    return 0;
}

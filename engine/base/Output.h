#pragma once

// Every line the engine writes, as one named format, and the one writer that puts them out.
// The IDE sorts the engine's output by the leading tag of each line, so the texts below are
// byte-exact; the writer guarantees that a line from one thread never interleaves with a
// line from another, on standard output or standard error.

#include "engine/base/Messages.h"

#include <climits>
#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace zov {

enum class Stream { Out, Err };

// A size or count for a "%i" of a line: negative ones show as 0, huge ones as INT_MAX.
template <typename Count>
constexpr int CountForLine(Count count)
{
    if (std::cmp_less(count, 0))
        return 0;
    if (std::cmp_greater(count, INT_MAX))
        return INT_MAX;
    return static_cast<int>(count);
}

// printf-style formatting as the engine's lines need it. Unlike glibc, "%p" gives the pointer
// as upper-case hexadecimal digits, zero-padded to the pointer's width, without "0x".
// "%n" is refused (written as is, consuming nothing).
std::string FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatLineV(const char* format, va_list args);

// Writes one formatted line on standard output / standard error. Each call is one locked
// write: the same lock covers both streams, so lines never split or interleave.
void WriteOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
void WriteErr(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes an already built text as one line (or block) under the same lock.
void WriteText(Stream stream, std::string_view text);

// Where lines go. The default writes to file descriptors 1 and 2, retrying short writes.
// A sink is called with the writer's lock held, one call per line.
using LineSink = std::function<void(Stream, std::string_view)>;

// Replaces the sink (an empty function restores the default) and returns the previous one.
LineSink SetLineSink(LineSink sink);

// From now on only the calling thread writes lines; the others' lines are dropped. The end of
// the process calls it, so that a script unwinding meanwhile adds nothing after the last line.
void KeepOutputToThisThread();

// Writes `text` whole to a file descriptor, retrying after interruptions and short writes and
// waiting while a non-blocking pipe is full.
// Returns false when the descriptor refuses it (closed pipe).
bool WriteAll(int fd, std::string_view text);

}  // namespace zov

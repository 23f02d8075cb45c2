#include "engine/base/Output.h"

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace zov {

namespace {

// One lock for both streams: the IDE reads them side by side and a line must stay whole.
std::mutex& WriterLock()
{
    static std::mutex lock;
    return lock;
}

LineSink& CurrentSink()
{
    static LineSink sink;
    return sink;
}

// The only thread whose lines are still written, once the process has begun to end; guarded
// by the writer lock.
std::thread::id& SoleWriter()
{
    static std::thread::id writer;
    return writer;
}

void AppendFormatted(std::string& out, const char* directive, ...) __attribute__((format(printf, 2, 3)));

void AppendFormatted(std::string& out, const char* directive, ...)
{
    char small[128];
    va_list args;
    va_start(args, directive);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, directive, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, static_cast<std::size_t>(needed));
    } else {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(out.data() + at, static_cast<std::size_t>(needed) + 1, directive, again);
        out.resize(at + static_cast<std::size_t>(needed));
    }
    va_end(again);
}

bool IsFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0' || c == '\'';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

// Each conversion is handed to vsnprintf on its own, with the argument fetched at the type
// its length modifier names; that is what lets "%p" be rewritten without type punning.
std::string FormatLineV(const char* format, va_list args)
{
    std::string out;
    if (!format)
        return out;
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            const char* next = std::strchr(p, '%');
            const std::size_t n = next ? static_cast<std::size_t>(next - p) : std::strlen(p);
            out.append(p, n);
            p += n;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        std::string directive = "%";
        while (IsFlag(*p))
            directive.push_back(*p++);
        // A width or precision: digits, or '*' taken from the arguments and written as digits.
        const auto appendCount = [&] {
            if (*p == '*') {
                directive += std::to_string(va_arg(args, int));
                ++p;
            } else {
                while (IsDigit(*p))
                    directive.push_back(*p++);
            }
        };
        appendCount();
        if (*p == '.') {
            directive.push_back(*p++);
            appendCount();
        }
        std::string length;
        while (*p == 'h' || *p == 'l' || *p == 'L' || *p == 'z' || *p == 'j' || *p == 't')
            length.push_back(*p++);
        const char conversion = *p;
        if (conversion == '\0') {
            out.append(start);  // a lone '%' at the end stays as written
            break;
        }
        ++p;
        switch (conversion) {
        case 'd':
        case 'i': {
            const std::string s = directive + length + conversion;
            if (length == "ll" || length == "j")
                AppendFormatted(out, s.c_str(), va_arg(args, long long));
            else if (length == "l" || length == "z" || length == "t")
                AppendFormatted(out, s.c_str(), va_arg(args, long));
            else
                AppendFormatted(out, s.c_str(), va_arg(args, int));
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            const std::string s = directive + length + conversion;
            if (length == "ll" || length == "j")
                AppendFormatted(out, s.c_str(), va_arg(args, unsigned long long));
            else if (length == "l" || length == "z" || length == "t")
                AppendFormatted(out, s.c_str(), va_arg(args, unsigned long));
            else
                AppendFormatted(out, s.c_str(), va_arg(args, unsigned int));
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A': {
            if (length == "L") {
                const std::string s = directive + "L" + conversion;
                AppendFormatted(out, s.c_str(), va_arg(args, long double));
            } else {
                const std::string s = directive + conversion;
                AppendFormatted(out, s.c_str(), va_arg(args, double));
            }
            break;
        }
        case 'c': {
            const std::string s = directive + conversion;
            AppendFormatted(out, s.c_str(), va_arg(args, int));
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            const std::string s = directive + conversion;
            AppendFormatted(out, s.c_str(), text ? text : "(null)");
            break;
        }
        case 'p': {
            const auto value = reinterpret_cast<std::uintptr_t>(va_arg(args, void*));
            AppendFormatted(out, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)), value);
            break;
        }
        default:
            // "%n" and anything unknown: written as is, no argument taken.
            out.append(start, static_cast<std::size_t>(p - start));
            break;
        }
    }
    return out;
}

std::string FormatLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = FormatLineV(format, args);
    va_end(args);
    return line;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // A parent may hand over a non-blocking descriptor: a full pipe means waiting
                // for the reader, not dropping the rest of the line.
                pollfd ready{fd, POLLOUT, 0};
                if (::poll(&ready, 1, -1) >= 0 || errno == EINTR)
                    continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void WriteText(Stream stream, std::string_view text)
{
    std::lock_guard<std::mutex> hold(WriterLock());
    if (SoleWriter() != std::thread::id{} && SoleWriter() != std::this_thread::get_id())
        return;
    const LineSink& sink = CurrentSink();
    if (sink)
        sink(stream, text);
    else
        WriteAll(stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO, text);
}

void WriteOut(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string line = FormatLineV(format, args);
    va_end(args);
    WriteText(Stream::Out, line);
}

void WriteErr(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string line = FormatLineV(format, args);
    va_end(args);
    WriteText(Stream::Err, line);
}

LineSink SetLineSink(LineSink sink)
{
    std::lock_guard<std::mutex> hold(WriterLock());
    LineSink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}

void KeepOutputToThisThread()
{
    std::lock_guard<std::mutex> hold(WriterLock());
    SoleWriter() = std::this_thread::get_id();
}

}  // namespace zov

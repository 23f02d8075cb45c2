#include "common/CsvFields.h"

namespace zov {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

// The closing qualifier of a qualified text opened at `open`. A doubled qualifier is text, not a
// close: otherwise a separator after `""` inside the text would split the field.
size_t FindClosingQualifier(std::string_view line, size_t open, char qual)
{
    size_t i = open + 1;
    while (i < line.size()) {
        if (line[i] == qual) {
            if (i + 1 < line.size() && line[i + 1] == qual) {
                i += 2;
                continue;
            }
            return i;
        }
        ++i;
    }
    return std::string_view::npos;
}

struct FieldSpan {
    size_t begin = 0;
    size_t end = 0;         // the separator that ends the field, or the line's end
    bool last = false;      // no separator ends it: the rest of the line
    bool unclosed = false;  // a qualifier opened it and none closes it
};

// A field is qualified when a qualifier comes before its next separator; it then runs to the
// first separator after the closing qualifier (after an unclosed one: to the next separator).
FieldSpan NextField(std::string_view line, size_t begin, char sep, char qual)
{
    FieldSpan span;
    span.begin = begin;
    size_t end = line.find(sep, begin);
    if (qual != 0) {
        const size_t open = line.find(qual, begin);
        if (open != std::string_view::npos && (end == std::string_view::npos || open < end)) {
            const size_t close = FindClosingQualifier(line, open, qual);
            if (close == std::string_view::npos)
                span.unclosed = true;
            else
                end = line.find(sep, close + 1);
        }
    }
    span.last = end == std::string_view::npos;
    span.end = span.last ? line.size() : end;
    return span;
}

}  // namespace

bool IsCsvLineComplete(std::string_view line, char sep, char qual)
{
    if (line.empty() || qual == 0 || line.find(sep) == std::string_view::npos)
        return true;
    size_t begin = 0;
    for (;;) {
        const FieldSpan span = NextField(line, begin, sep, qual);
        if (span.unclosed)
            return false;
        if (span.last)
            return true;
        begin = span.end + 1;
    }
}

int CountCsvFields(std::string_view line, char sep, char qual)
{
    int count = 1;
    size_t begin = 0;
    for (;;) {
        const FieldSpan span = NextField(line, begin, sep, qual);
        if (span.last)
            return count;
        ++count;
        begin = span.end + 1;
    }
}

std::string GetCsvField(int n, std::string_view line, char sep, char qual)
{
    if (n < 1)
        return {};
    size_t begin = 0;
    for (int index = 1;; ++index) {
        const FieldSpan span = NextField(line, begin, sep, qual);
        if (index == n) {
            std::string_view field = line.substr(span.begin, span.end - span.begin);
            const size_t first = field.find_first_not_of(kBlanks);
            if (first == std::string_view::npos)
                return {};
            field = field.substr(first, field.find_last_not_of(kBlanks) - first + 1);
            if (qual != 0) {
                if (!field.empty() && field.front() == qual)
                    field.remove_prefix(1);
                if (!field.empty() && field.back() == qual)
                    field.remove_suffix(1);
            }
            return std::string(field);
        }
        if (span.last)
            return {};
        begin = span.end + 1;
    }
}

int FindCsvFieldPos(int n, std::string_view line, char sep)
{
    if (n < 1)
        return -1;
    if (n == 1)
        return 0;
    int separators = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == sep && ++separators == n - 1)
            return static_cast<int>(i);
    }
    return -1;
}

int FindQualifiedCsvFieldPos(int n, std::string_view line, char sep, char qual)
{
    if (qual == 0)
        return FindCsvFieldPos(n, line, sep);
    if (n < 1)
        return -1;
    if (n == 1)
        return 0;
    size_t begin = 0;
    for (int index = 1;; ++index) {
        const FieldSpan span = NextField(line, begin, sep, qual);
        if (span.last)
            return -1;
        if (index + 1 == n)
            return static_cast<int>(span.end);
        begin = span.end + 1;
    }
}

}  // namespace zov

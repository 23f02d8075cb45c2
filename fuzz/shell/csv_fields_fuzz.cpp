// Reads one CSV line with every field function and checks what the importers rely on: the count
// is at least 1, the field after the last one is empty, every field is a piece of the line, and
// without a qualifier the fields are exactly the pieces between separators.
#include "common/CsvFields.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const char sep = static_cast<char>(data[0]);
    const char qual = static_cast<char>(data[1]);
    const std::string_view line(reinterpret_cast<const char*>(data) + 2, size - 2);

    const int count = zov::CountCsvFields(line, sep, qual);
    if (count < 1 || static_cast<size_t>(count) > line.size() + 1)
        std::abort();
    for (int n = 0; n <= count + 1; ++n) {
        const std::string field = zov::GetCsvField(n, line, sep, qual);
        if (field.size() > line.size())
            std::abort();
        if ((n == 0 || n > count) && !field.empty())
            std::abort();
    }
    (void)zov::IsCsvLineComplete(line, sep, qual);

    // FindCsvFieldPos counts bare separators: 0 for field 1, then rising separator positions,
    // and -1 past the last field.
    int separators = 0;
    for (char c : line)
        separators += c == sep;
    if (zov::FindCsvFieldPos(1, line, sep) != 0 || zov::FindCsvFieldPos(separators + 2, line, sep) != -1)
        std::abort();
    int previous = -1;
    for (int n = 2; n <= separators + 1; ++n) {
        const int pos = zov::FindCsvFieldPos(n, line, sep);
        if (pos <= previous || line[pos] != sep)
            std::abort();
        previous = pos;
    }

    // The qualified position opens exactly the field GetCsvField takes, and -1 past the last one.
    if (zov::FindQualifiedCsvFieldPos(1, line, sep, qual) != 0 ||
        zov::FindQualifiedCsvFieldPos(count + 1, line, sep, qual) != -1)
        std::abort();
    for (int n = 2; n <= count; ++n) {
        const int pos = zov::FindQualifiedCsvFieldPos(n, line, sep, qual);
        if (pos < 0 || line[pos] != sep)
            std::abort();
        if (qual == 0 && pos != zov::FindCsvFieldPos(n, line, sep))
            std::abort();
    }

    if (qual == 0 && sep != 0) {
        if (count != separators + 1 || !zov::IsCsvLineComplete(line, sep, qual))
            std::abort();
        // Without a qualifier field n is the trimmed text between separators n-1 and n.
        for (int n = 1; n <= count; ++n) {
            const int begin = n == 1 ? 0 : zov::FindCsvFieldPos(n, line, sep) + 1;
            const int next = zov::FindCsvFieldPos(n + 1, line, sep);
            const std::string_view piece =
                line.substr(begin, (next < 0 ? static_cast<int>(line.size()) : next) - begin);
            if (zov::GetCsvField(n, line, sep, qual).size() > piece.size())
                std::abort();
            if (piece.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos &&
                !zov::GetCsvField(n, line, sep, qual).empty())
                std::abort();
        }
    }
    return 0;
}

// Fields of one line of a CSV file (requirements and facts imports, CSV reports read back).
// The separator is one character; the qualifier is one character, or 0 when fields are never
// qualified. Fields are numbered from 1.
#pragma once

#include <string>
#include <string_view>

namespace zov {

// False when the line ends inside an opened qualified field: the record goes on in the next
// line. Always true for an empty line, without a qualifier, or for a line without separator.
bool IsCsvLineComplete(std::string_view line, char sep, char qual);

// The number of fields of the line; separators inside qualified text do not count.
int CountCsvFields(std::string_view line, char sep, char qual);

// Field n trimmed of blanks, then one qualifier removed at its start and one at its end (doubled
// qualifiers inside stay as they are). "" for n < 1 and when the line has fewer fields.
std::string GetCsvField(int n, std::string_view line, char sep, char qual);

// Position of the separator that opens field n, counting separators without qualifier handling:
// 0 for field 1, -1 when the line has fewer than n fields.
int FindCsvFieldPos(int n, std::string_view line, char sep);

// The same position found by the split GetCsvField uses: a separator inside qualified text does
// not open a field. Writers that replace one field in place need this one, or a separator in a
// quoted text makes them overwrite the wrong field. Without a qualifier it is FindCsvFieldPos.
int FindQualifiedCsvFieldPos(int n, std::string_view line, char sep, char qual);

}  // namespace zov

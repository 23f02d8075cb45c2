#pragma once
// The text form of a report: one line of five fields per test with a result, for a spreadsheet.
// Windows-1252 with CR LF; the rows are gathered in memory and written at once on Close.

#include <array>
#include <string>

namespace zov::reports {

class CsvRowWriter {
public:
    // A qualifier of 0 means none.
    CsvRowWriter(std::string path, char separator, char qualifier);

    // One line of five fields (UTF-8 in, Windows-1252 out, '?' for what the code page lacks).
    void WriteRow(const std::array<std::string, 5>& fields);

    const std::string& Text() const { return text_; }
    // Writes the file at once; false when it could not be written (the target is then untouched).
    bool Close();

private:
    void AppendField(const std::string& field);

    std::string path_;
    char separator_;
    char qualifier_;
    std::string text_;
};

}  // namespace zov::reports

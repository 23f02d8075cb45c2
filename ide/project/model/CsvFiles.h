#pragma once
// The user's requirement and technical-fact CSV files as reading and rewriting see them: the
// first lines that are not data, then records. Both work on the file's own bytes, so that a
// rewrite gives back every byte it does not mean to change, in the file's own encoding.

#include "ide/project/model/ProjectModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace zov::project {

struct CsvFileRecord {
    std::vector<std::string> lines;  // as read, without their line ends
    std::string text;                // the lines joined with the two characters backslash and n
    bool data = false;               // holds the separator and a non-empty ID: it becomes a record
};

struct CsvFileLayout {
    std::vector<std::string> head;  // the FirstLine lines, never read as data
    std::vector<CsvFileRecord> records;
    bool utf8 = true;              // the whole file is valid UTF-8; else it is Windows-1252
    std::string lineEnd = "\r\n";  // the file's first line end; CR LF when it has none
};

// Splits the bytes into lines (CR LF, LF and CR all end one) and records: a line without the
// separator is a record of its own that holds no data; a record goes on over the next lines
// while a qualified text is open.
CsvFileLayout SplitCsvFile(std::string_view bytes, const CCsvImportSettings& settings, bool requirements);

// The ID of a record, in the file's bytes: "" when the ID column is 0. Requirements lose every
// double quote of it.
std::string CsvRecordId(std::string_view record, const CCsvImportSettings& settings, bool requirements);

}  // namespace zov::project

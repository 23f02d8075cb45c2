#include "ide/reports/CsvReport.h"

#include "common/AtomicFile.h"
#include "common/TextCodec.h"

namespace zov::reports {

CsvRowWriter::CsvRowWriter(std::string path, char separator, char qualifier)
    : path_(std::move(path)), separator_(separator), qualifier_(qualifier)
{}

void CsvRowWriter::AppendField(const std::string& field)
{
    const std::string bytes = Utf8ToWindows1252(DecodeText(field));
    if (qualifier_ == 0) {
        // Without a qualifier there is no way to protect a separator: the field goes as it is.
        text_ += bytes;
        return;
    }
    // A qualifier inside the field is doubled, as spreadsheets read it back.
    text_ += qualifier_;
    for (const char c : bytes) {
        if (c == qualifier_) {
            text_ += qualifier_;
        }
        text_ += c;
    }
    text_ += qualifier_;
}

void CsvRowWriter::WriteRow(const std::array<std::string, 5>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text_ += separator_;
        }
        AppendField(fields[i]);
    }
    text_ += "\r\n";
}

bool CsvRowWriter::Close()
{
    return WriteFileAtomically(path_, text_);
}

}  // namespace zov::reports

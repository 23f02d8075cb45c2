#pragma once
// Which report writer a path goes to, for the report command and for a batch entry, and the nine
// report options of the Preferences section as the report dialog reads and writes them.

#include "ide/shell/core/Settings.h"

#include <string>
#include <string_view>

namespace zov::shell {

enum class ReportWriterKind { None, Html, JUnitXml, ResultXml, Csv, Pdf };

// The report command: the first of ".htm", ".xml", ".csv", ".pdf" found anywhere in the path
// ("r.html" is HTML, "a.xml.pdf" XML); ".xml" gives JUnit when xmlFormat is 1.
ReportWriterKind ChooseCommandReportWriter(std::string_view path, int xmlFormat);

// A batch entry: the first of ".html", ".xml" (JUnit), ".csv", ".pdf" found in the path.
ReportWriterKind ChooseBatchReportWriter(std::string_view path);

struct ReportOptionValues {
    std::string htmlHeader;
    std::string htmlFooter;
    std::string pdfHeader;
    int pdfHeaderAlign = 0;
    std::string xmlXsl;
    int xmlFormat = 0;
    char csvSeparator = 0;  // kept in one byte; 0 = none
    char csvQualifier = 0;
    std::string reportExt = "xml";
};

ReportOptionValues ReadReportOptions(const Settings& settings);
// The two character codes are written as the signed value of their byte (';' 59, '"' 34).
bool WriteReportOptions(const Settings& settings, const ReportOptionValues& values);

// The report folder: ReportPath itself when FixReportPath is on; else the project folder, with
// "/" + ReportPath when ReportPath is not empty.
std::string ReportFolder(const Settings& settings, std::string_view projectFolder);

}  // namespace zov::shell

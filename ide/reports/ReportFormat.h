#pragma once
// Which writer a report path goes to, and the options each writer takes, shared by the report
// command and the batch run so that both decide the same way.

#include "ide/reports/ReportWriter.h"

#include <string>

namespace zov::shell {
class Settings;
}

namespace zov::reports {

enum class ReportFormat { None, Html, Xml, Csv, Pdf };

// Decided by the extension of the file name, without regard to case: ".htm" and ".html" give HTML,
// ".xml", ".csv" and ".pdf" their writers; anything else (a folder named "x.xml.d" included) none.
ReportFormat ChooseReportFormat(const std::string& path);

struct ReportOptions {
    std::string htmlHeader;
    std::string htmlFooter;
    std::string styleSheetHref;
    int xmlFormat = 0;  // 1: JUnit, anything else: the result XML
    std::string pdfHeader;
    int pdfHeaderAlign = 0;
    char csvSeparator = ';';
    char csvQualifier = '"';
};

// The separator a CSV report may use (tab, ';', ',' or blank); any other value gives ';', which is
// what the options page shows for it.
char CsvSeparatorFromSetting(int value);
// The qualifier (0 for none, '"' or '\''); any other value gives '"', as the options page shows.
char CsvQualifierFromSetting(int value);

// The report options of the Preferences section.
ReportOptions ReportOptionsFromSettings(const shell::Settings& settings);
// A batch run: JUnit for ".xml", ';' and '"' for CSV, no header, footer or image.
ReportOptions BatchReportOptions();

enum class ReportOutcome { NotWritten, Written, Failed };

// Writes the report the path's extension asks for; NotWritten, with no file and no message, when
// the extension is none of the five.
ReportOutcome WriteReport(CReportWriter& writer, const std::string& path, int versionIndex,
                          const ReportOptions& options);

}  // namespace zov::reports

#include "ide/reports/ReportFormat.h"

#include "ide/shell/core/Settings.h"

#include <filesystem>

namespace zov::reports {

ReportFormat ChooseReportFormat(const std::string& path)
{
    // Only the file name counts: a folder such as "/home/u/.xmlcache/" says nothing of the format.
    const std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        return ReportFormat::None;
    }
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (extension == "htm" || extension == "html") {
        return ReportFormat::Html;
    }
    if (extension == "xml") {
        return ReportFormat::Xml;
    }
    if (extension == "csv") {
        return ReportFormat::Csv;
    }
    if (extension == "pdf") {
        return ReportFormat::Pdf;
    }
    return ReportFormat::None;
}

char CsvSeparatorFromSetting(int value)
{
    switch (value) {
    case '\t':
    case ';':
    case ',':
    case ' ':
        return static_cast<char>(value);
    default:
        return ';';
    }
}

char CsvQualifierFromSetting(int value)
{
    switch (value) {
    case 0:
    case '"':
    case '\'':
        return static_cast<char>(value);
    default:
        return '"';
    }
}

ReportOptions ReportOptionsFromSettings(const shell::Settings& settings)
{
    using shell::SettingId;
    ReportOptions options;
    options.htmlHeader = settings.GetString(SettingId::HtmlHeader);
    options.htmlFooter = settings.GetString(SettingId::HtmlFooter);
    options.styleSheetHref = settings.GetString(SettingId::XmlXsl);
    options.xmlFormat = settings.GetInt(SettingId::XmlFormat);
    options.pdfHeader = settings.GetString(SettingId::PdfHeader);
    options.pdfHeaderAlign = settings.GetInt(SettingId::PdfHeaderAlign);
    options.csvSeparator = CsvSeparatorFromSetting(settings.GetInt(SettingId::CsvSep));
    options.csvQualifier = CsvQualifierFromSetting(settings.GetInt(SettingId::CsvTxtChar));
    return options;
}

ReportOptions BatchReportOptions()
{
    ReportOptions options;
    options.xmlFormat = 1;
    options.csvSeparator = ';';
    options.csvQualifier = '"';
    return options;
}

ReportOutcome WriteReport(CReportWriter& writer, const std::string& path, int versionIndex,
                          const ReportOptions& options)
{
    bool written = false;
    switch (ChooseReportFormat(path)) {
    case ReportFormat::None:
        return ReportOutcome::NotWritten;
    case ReportFormat::Html:
        written = writer.WriteHtml(path, versionIndex, options.htmlHeader, options.htmlFooter);
        break;
    case ReportFormat::Xml:
        written = options.xmlFormat == 1 ? writer.WriteJUnitXml(path, versionIndex)
                                         : writer.WriteResultXml(path, versionIndex, options.styleSheetHref);
        break;
    case ReportFormat::Csv:
        written = writer.WriteCsv(path, versionIndex, options.csvSeparator, options.csvQualifier);
        break;
    case ReportFormat::Pdf:
        written = writer.WritePdf(path, versionIndex, options.pdfHeader, options.pdfHeaderAlign);
        break;
    }
    return written ? ReportOutcome::Written : ReportOutcome::Failed;
}

}  // namespace zov::reports

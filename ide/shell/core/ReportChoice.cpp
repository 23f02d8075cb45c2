#include "ide/shell/core/ReportChoice.h"

namespace zov::shell {

namespace {

bool Holds(std::string_view path, std::string_view part)
{
    return path.find(part) != std::string_view::npos;
}

}  // namespace

ReportWriterKind ChooseCommandReportWriter(std::string_view path, int xmlFormat)
{
    if (Holds(path, ".htm"))
        return ReportWriterKind::Html;
    if (Holds(path, ".xml"))
        return xmlFormat == 1 ? ReportWriterKind::JUnitXml : ReportWriterKind::ResultXml;
    if (Holds(path, ".csv"))
        return ReportWriterKind::Csv;
    if (Holds(path, ".pdf"))
        return ReportWriterKind::Pdf;
    return ReportWriterKind::None;
}

ReportWriterKind ChooseBatchReportWriter(std::string_view path)
{
    if (Holds(path, ".html"))
        return ReportWriterKind::Html;
    if (Holds(path, ".xml"))
        return ReportWriterKind::JUnitXml;
    if (Holds(path, ".csv"))
        return ReportWriterKind::Csv;
    if (Holds(path, ".pdf"))
        return ReportWriterKind::Pdf;
    return ReportWriterKind::None;
}

ReportOptionValues ReadReportOptions(const Settings& settings)
{
    ReportOptionValues values;
    values.htmlHeader = settings.GetString(SettingId::HtmlHeader);
    values.htmlFooter = settings.GetString(SettingId::HtmlFooter);
    values.pdfHeader = settings.GetString(SettingId::PdfHeader);
    values.pdfHeaderAlign = settings.GetInt(SettingId::PdfHeaderAlign);
    values.xmlXsl = settings.GetString(SettingId::XmlXsl);
    values.xmlFormat = settings.GetInt(SettingId::XmlFormat);
    values.csvSeparator = static_cast<char>(settings.GetInt(SettingId::CsvSep));
    values.csvQualifier = static_cast<char>(settings.GetInt(SettingId::CsvTxtChar));
    values.reportExt = settings.GetString(SettingId::ReportExt);
    return values;
}

bool WriteReportOptions(const Settings& settings, const ReportOptionValues& values)
{
    bool written = settings.WriteString(SettingId::HtmlHeader, values.htmlHeader);
    written = settings.WriteString(SettingId::HtmlFooter, values.htmlFooter) && written;
    written = settings.WriteString(SettingId::PdfHeader, values.pdfHeader) && written;
    written = settings.WriteInt(SettingId::PdfHeaderAlign, values.pdfHeaderAlign) && written;
    written = settings.WriteString(SettingId::XmlXsl, values.xmlXsl) && written;
    written = settings.WriteInt(SettingId::XmlFormat, values.xmlFormat) && written;
    written = settings.WriteInt(SettingId::CsvSep, static_cast<signed char>(values.csvSeparator)) && written;
    written = settings.WriteInt(SettingId::CsvTxtChar, static_cast<signed char>(values.csvQualifier)) && written;
    written = settings.WriteString(SettingId::ReportExt, values.reportExt) && written;
    return written;
}

std::string ReportFolder(const Settings& settings, std::string_view projectFolder)
{
    const std::string reportPath = settings.GetString(SettingId::ReportPath);
    if (settings.GetInt(SettingId::FixReportPath) != 0)
        return reportPath;
    std::string folder(projectFolder);
    if (!reportPath.empty())
        folder += "/" + reportPath;
    return folder;
}

}  // namespace zov::shell

#include "ide/reports/ReportDispatch.h"

namespace zov::reports {

bool WriteReportOfKind(CReportWriter& writer, const std::string& path, shell::ReportWriterKind kind,
                       int versionIndex, const shell::ReportOptionValues& options)
{
    switch (kind) {
    case shell::ReportWriterKind::Html:
        return writer.WriteHtml(path, versionIndex, options.htmlHeader, options.htmlFooter);
    case shell::ReportWriterKind::JUnitXml:
        return writer.WriteJUnitXml(path, versionIndex);
    case shell::ReportWriterKind::ResultXml:
        return writer.WriteResultXml(path, versionIndex, options.xmlXsl);
    case shell::ReportWriterKind::Csv:
        return writer.WriteCsv(path, versionIndex, options.csvSeparator, options.csvQualifier);
    case shell::ReportWriterKind::Pdf:
        return writer.WritePdf(path, versionIndex, options.pdfHeader, options.pdfHeaderAlign);
    case shell::ReportWriterKind::None:
        break;
    }
    return false;
}

}  // namespace zov::reports

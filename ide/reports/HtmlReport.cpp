#include "ide/reports/HtmlReport.h"

#include "common/AtomicFile.h"
#include "common/TextCodec.h"
#include "ide/reports/ReportTexts.h"
#include "ide/reports/ReportWriter.h"

#include <optional>

namespace zov::reports {

namespace {

constexpr const char* kTableLine =
    "<table style=\"font-family: Arial; width: 95%;\" class=\"details\" border=\"0\" cellpadding=\"2\" "
    "cellspacing=\"2\">\r\n";
constexpr const char* kShade = "background-color: rgb(238, 238, 224);";

// The lines of a header or footer file, each without its line end; nothing when it cannot be read.
std::string RawLines(const std::string& path)
{
    if (path.empty()) {
        return {};
    }
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return {};
    }
    std::string out;
    out.reserve(bytes->size());
    for (std::size_t i = 0; i < bytes->size(); ++i) {
        const char c = (*bytes)[i];
        if (c == '\n' || (c == '\r' && i + 1 < bytes->size() && (*bytes)[i + 1] == '\n')) {
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string HtmlText(std::string_view utf8)
{
    std::string text;
    if (!IsValidUtf8(utf8)) {
        text = DecodeText(utf8);
        utf8 = text;
    }
    std::string out;
    out.reserve(utf8.size() + 16);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextChar(utf8, pos);
        switch (code) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        default:
            break;
        }
        // C1 controls, even those the code page keeps for its undefined bytes, are written as
        // references: a page should not carry them as bytes.
        const std::optional<unsigned char> byte = Windows1252Byte(code);
        if (byte && *byte != 0 && !(code >= 0x80 && code < 0xA0)) {
            out += static_cast<char>(*byte);
        } else if (code == 0) {
            out += "&#65533;";
        } else {
            out += "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
        }
    }
    return out;
}

HtmlReportWriter::HtmlReportWriter(const std::string& projectName, std::string versionTitle,
                                   const std::string& headerFile, std::string footerFile, shell::Translate translate,
                                   std::string versionText)
    : projectName_(projectName),
      versionTitle_(std::move(versionTitle)),
      footerFile_(std::move(footerFile)),
      translate_(std::move(translate)),
      versionText_(std::move(versionText))
{
    WriteHead(projectName);
    // The user's own markup: copied as it is, lines joined with nothing between them.
    page_ += RawLines(headerFile);
}

std::string HtmlReportWriter::Heading(const char* text) const
{
    return HtmlText(translate_(text));
}

void HtmlReportWriter::WriteHead(const std::string& title)
{
    page_ += "<html>\r\n<head>\r\n  <title>" + HtmlText(title) + "</title>\r\n</head>\r\n<body>\r\n";
}

void HtmlReportWriter::WriteSummary(int tests, int errors, std::int64_t duration)
{
    const std::string label = "<td style=\"width: 79px; font-weight: bold; background-color: rgb(192, 192, 192);\">";
    const std::string value = "<td style=\"width: 228px; background-color: rgb(238, 238, 224);\">";
    page_ += "<table style=\"text-align: left; width: 314px;\" cellpadding=\"2\" cellspacing=\"2\">\r\n<tbody>\r\n";
    page_ += "<tr>\r\n" + label + Heading(texts::kProject) + "</td>\r\n" + value + HtmlText(projectName_) +
             "</td>\r\n</tr>\r\n";
    page_ += "<tr>\r\n" + label + Heading(texts::kVersion) + "</td>\r\n" + value + HtmlText(versionTitle_) +
             "</td>\r\n</tr>\r\n";
    page_ += "</tbody>\r\n</table>\r\n<br>\r\n<br>\r\n";
    page_ += "<big style=\"font-family: Arial;\">" + Heading(texts::kSummary) + "</big>\r\n";
    page_ += kTableLine;
    page_ += "<tbody>\r\n<tr valign=\"top\">\r\n";
    for (const char* heading : {texts::kTests, texts::kErrors, texts::kSuccessRate, texts::kDuration}) {
        page_ += "<th style=\"text-align: left; background-color: rgb(166, 202, 240);\"><small>" + Heading(heading) +
                 "</small></th>\r\n";
    }
    page_ += "</tr>\r\n<tr valign=\"top\">\r\n";
    // The value cells close a <small> they never open: browsers ignore it, and the page stays as it was.
    for (const std::string& cell : {std::to_string(tests), std::to_string(errors), FormatSuccessRate(tests, errors),
                                    FormatTotalDuration(duration)}) {
        page_ += value + cell + "</small><br></td>\r\n";
    }
    page_ += "</tr>\r\n</tbody>\r\n</table>\r\n<br>\r\n";
}

void HtmlReportWriter::BeginCampaign(const std::string& name)
{
    page_ += "<big style=\"font-family: Arial;\">" + HtmlText(name) + "</big>\r\n";
    page_ += kTableLine;
    page_ += "<tbody>\r\n<tr valign=\"top\">\r\n";
    const std::string blue = "background-color: rgb(166, 202, 240);";
    page_ += "<th style=\"width: 30%; text-align: left; " + blue + "\"><small>" + Heading(texts::kTest) +
             "</small></th>\r\n";
    page_ += "<th style=\"width: 70%; text-align: left; " + blue + "\"><small>" + Heading(texts::kComment) +
             "</small></th>\r\n";
    page_ += "<th style=\"" + blue + " text-align: center;\"><small>" + Heading(texts::kResult) + "</small></th>\r\n";
    page_ += "<th style=\"white-space: nowrap; text-align: left; " + blue + "\"><small>" + Heading(texts::kDuration) +
             "</small></th>\r\n";
    page_ += "<th style=\"white-space: nowrap; " + blue + " text-align: right;\"><small>" + Heading(texts::kStart) +
             "</small></th>\r\n";
    page_ += "</tr>\r\n";
}

void HtmlReportWriter::WriteTestSetRow(const std::string& name)
{
    page_ +=
        "<tr>\r\n<td style=\"background-color: rgb(192, 192, 192);\" colspan=\"7\" rowspan=\"1\"><small "
        "style=\"font-weight: bold;\">" +
        HtmlText(name) + "</small></td>\r\n</tr>\r\n";
    shadeNextRow_ = true;
}

void HtmlReportWriter::WriteTestRow(const HtmlTestRow& row)
{
    const bool shade = shadeNextRow_;
    const std::string comment = row.result.Info.empty() ? std::string("&nbsp;") : HtmlText(row.result.Info);
    page_ += "<tr valign=\"top\">\r\n";
    page_ += shade ? std::string("<td style=\"") + kShade + "\">" : std::string("<td>");
    page_ += HtmlText(row.name) + "</td>\r\n";
    page_ += std::string("<td style=\"font-style: italic;") + (shade ? std::string(" ") + kShade : "") + "\"><small>" +
             comment + "</small></td>\r\n";
    if (row.result.Value == 0) {
        page_ += "<td style=\"text-align: center; background-color: rgb(255, 102, 0);\"><small>NOK</small></td>\r\n";
    } else if (row.result.Value == 1) {
        page_ += "<td style=\"text-align: center; background-color: rgb(51, 255, 51);\"><small>OK</small></td>\r\n";
    } else {
        page_ += std::string("<td style=\"text-align: center;") + (shade ? std::string(" ") + kShade : "") +
                 "\"><small></small></td>\r\n";
    }
    const std::string right = shade ? std::string("<td style=\"") + kShade + " text-align: right;\"><small>"
                                    : std::string("<td style=\"text-align: right;\"><small>");
    page_ += right + FormatRowDuration(row.result.Duration) + "</small></td>\r\n";
    page_ += right + "&nbsp;" + FormatTimeOfDay(row.result.StartTime) + "</small></td>\r\n";
    page_ += "</tr>\r\n";
    shadeNextRow_ = !shadeNextRow_;
}

void HtmlReportWriter::EndCampaign()
{
    page_ += "  </tbody>\r\n</table>\r\n<br>\r\n";
}

void HtmlReportWriter::WriteFooter()
{
    page_ += RawLines(footerFile_);
    page_ += "<br>\r\n";
    page_ += kTableLine;
    page_ += "<tbody>\r\n<tr valign=\"top\">\r\n";
    page_ +=
        "<td colspan=\"1\" rowspan=\"1\" style=\" text-align: right;\"><small><span style=\"font-weight: "
        "bold;\">ZOV</span> version " +
        HtmlText(versionText_) + "<br>\r\n";
    page_ += std::string(kHtmlSiteLink) + "</small></td></tr>\r\n";
    page_ += "</tbody></table>\r\n</body>\r\n</html>\r\n";
}

std::string HtmlReportWriter::Finish()
{
    WriteFooter();
    return std::move(page_);
}

}  // namespace zov::reports

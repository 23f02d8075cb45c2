#pragma once
// The report as one HTML page: the project table, the summary, one table per campaign and the
// footer. The page is built in memory (Windows-1252, CR LF) and written once by the caller.

#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zov::reports {

// The link to the product's site at the foot of every page.
inline constexpr const char* kHtmlSiteLink = "<a href=\"https://example.org/zov\">https://example.org/zov</a>";

// A text of the model as page text: & < > " as entities, then Windows-1252 with "&#NNNN;" for the
// characters that code page cannot hold.
std::string HtmlText(std::string_view utf8);

struct HtmlTestRow {
    const std::string& name;
    const project::CTestResult& result;
};

class HtmlReportWriter {
public:
    // Writes the head, then the header file's lines when it can be read.
    HtmlReportWriter(const std::string& projectName, std::string versionTitle, const std::string& headerFile,
                     std::string footerFile, shell::Translate translate, std::string versionText);

    void WriteSummary(int tests, int errors, std::int64_t duration);
    void BeginCampaign(const std::string& name);
    void WriteTestSetRow(const std::string& name);
    void WriteTestRow(const HtmlTestRow& row);
    void EndCampaign();
    // Ends the page (footer file, version footer) and hands over its bytes.
    std::string Finish();

private:
    void WriteHead(const std::string& title);
    void WriteFooter();
    std::string Heading(const char* text) const;

    std::string projectName_;
    std::string versionTitle_;
    std::string footerFile_;
    shell::Translate translate_;
    std::string versionText_;
    bool shadeNextRow_ = true;
    std::string page_;
};

}  // namespace zov::reports

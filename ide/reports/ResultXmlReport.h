#pragma once
// The system's own XML form of a report: "ZOVResult" with the version, a summary and the tree of
// campaigns, lists and scripts that have a result for the version.

#include "ide/project/model/ProjectModel.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Translate.h"

#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace zov::reports {

class ResultXmlReportWriter {
public:
    ResultXmlReportWriter(const std::string& versionName, std::string styleSheetHref, shell::Translate translate);
    ~ResultXmlReportWriter();

    void WriteSummary(const ResultCounts& counts);
    void OpenCampaign(const std::string& name, const std::string& text);
    void OpenList(const std::string& name, const std::string& text);
    void AddScript(const std::string& testName, const project::CTestResult& result);

    // The file's bytes: Latin-1, LF, the style-sheet instruction on the declaration's line.
    std::string Text() const;

private:
    std::string styleSheetHref_;
    shell::Translate translate_;
    std::unique_ptr<TiXmlDocument> document_;
    TiXmlElement* root_ = nullptr;
    TiXmlElement* campaign_ = nullptr;
    TiXmlElement* list_ = nullptr;
};

}  // namespace zov::reports

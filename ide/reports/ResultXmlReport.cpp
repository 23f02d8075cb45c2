#include "ide/reports/ResultXmlReport.h"

#include "common/xml/XmlWriter.h"
#include "ide/project/model/ProjectXml.h"
#include "ide/reports/ReportTexts.h"

#include <tinyxml.h>

namespace zov::reports {

ResultXmlReportWriter::ResultXmlReportWriter(const std::string& versionName, std::string styleSheetHref,
                                             shell::Translate translate)
    : styleSheetHref_(std::move(styleSheetHref)),
      translate_(std::move(translate)),
      document_(std::make_unique<TiXmlDocument>())
{
    root_ = project::StartDocument(*document_, "ZOVResult");
    project::AddTextChild(*root_, "Version", versionName);
}

ResultXmlReportWriter::~ResultXmlReportWriter() = default;

void ResultXmlReportWriter::WriteSummary(const ResultCounts& counts)
{
    TiXmlElement resume("Resume");
    resume.SetAttribute("Tests", std::to_string(counts.tested));
    resume.SetAttribute("TestOK", std::to_string(counts.ok));
    resume.SetAttribute("TestNOK", std::to_string(counts.nok));
    resume.SetAttribute("Duration", FormatTotalDuration(counts.duration));
    root_->InsertEndChild(resume);
}

void ResultXmlReportWriter::OpenCampaign(const std::string& name, const std::string& text)
{
    campaign_ = root_->InsertEndChild(TiXmlElement("Campaign"))->ToElement();
    project::AddTextChild(*campaign_, "Name", name);
    if (!text.empty()) {
        project::AddTextChild(*campaign_, "Text", text);
    }
    list_ = nullptr;
}

void ResultXmlReportWriter::OpenList(const std::string& name, const std::string& text)
{
    TiXmlElement* parent = campaign_ ? campaign_ : root_;
    list_ = parent->InsertEndChild(TiXmlElement("List"))->ToElement();
    project::AddTextChild(*list_, "Name", name);
    if (!text.empty()) {
        project::AddTextChild(*list_, "Text", text);
    }
}

void ResultXmlReportWriter::AddScript(const std::string& testName, const project::CTestResult& result)
{
    // The OK label is an attribute of its own name; a style sheet reads both "Result" and "Text".
    TiXmlElement script("Script");
    script.SetAttribute("Name", testName);
    if (result.Value == 1) {
        script.SetAttribute("Result", translate_(texts::kOk));
        script.SetAttribute("Duration", std::to_string(result.Duration));
    } else if (result.Value == 0) {
        script.SetAttribute("Text", translate_(texts::kNok));
        script.SetAttribute("Duration", std::to_string(result.Duration));
    } else {
        script.SetAttribute("Text", translate_(texts::kNotTested));
    }
    script.SetAttribute("Time", FormatTimeOfDay(result.StartTime));
    TiXmlElement* parent = list_ ? list_ : (campaign_ ? campaign_ : root_);
    parent->InsertEndChild(script);
}

std::string ResultXmlReportWriter::Text() const
{
    return xml::PrintDocument(*document_, styleSheetHref_);
}

}  // namespace zov::reports

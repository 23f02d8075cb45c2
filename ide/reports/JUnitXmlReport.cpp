#include "ide/reports/JUnitXmlReport.h"

#include "common/xml/XmlWriter.h"
#include "ide/project/model/ProjectXml.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdio>

namespace zov::reports {

namespace {

// A case's time in whole seconds; a negative duration from a damaged results file reads as 0.
std::int64_t CaseSeconds(const project::CTestResult& result)
{
    return std::max<std::int64_t>(result.Duration, 0);
}

std::string LocalDateTime(std::time_t time)
{
    std::tm local{};
    if (!::localtime_r(&time, &local)) {
        return "1970-01-01T00:00:00";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

JUnitXmlReportWriter::JUnitXmlReportWriter() : document_(std::make_unique<TiXmlDocument>())
{
    root_ = project::StartDocument(*document_, "testsuites");
}

JUnitXmlReportWriter::~JUnitXmlReportWriter() = default;

void JUnitXmlReportWriter::OpenSuite(const std::string& suiteName)
{
    CloseSuite();
    suite_ = root_->InsertEndChild(TiXmlElement("testsuite"))->ToElement();
    suite_->SetAttribute("name", suiteName);
    suiteName_ = suiteName;
    suiteTally_ = {};
}

void JUnitXmlReportWriter::AddCase(const std::string& testName, const project::CTestResult& result)
{
    if (!suite_) {
        OpenSuite({});
    }
    TiXmlElement testCase("testcase");
    testCase.SetAttribute("name", testName);
    // Servers group the cases by class; the suite is the nearest thing to one.
    testCase.SetAttribute("classname", suiteName_);
    testCase.SetAttribute("time", std::to_string(CaseSeconds(result)));
    if (result.Value == 0) {
        TiXmlElement failure("failure");
        failure.SetAttribute("message", result.Info);
        testCase.InsertEndChild(failure);
        ++suiteTally_.failures;
    } else if (result.Value != 1) {
        testCase.InsertEndChild(TiXmlElement("skipped"));
        ++suiteTally_.skipped;
    }
    if (suiteTally_.tests == 0 || result.StartTime < earliestStart_) {
        earliestStart_ = result.StartTime;
    }
    ++suiteTally_.tests;
    suiteTally_.time += CaseSeconds(result);
    suite_->InsertEndChild(testCase);
}

void JUnitXmlReportWriter::CloseSuite()
{
    if (!suite_) {
        return;
    }
    suite_->SetAttribute("tests", std::to_string(suiteTally_.tests));
    suite_->SetAttribute("failures", std::to_string(suiteTally_.failures));
    suite_->SetAttribute("errors", "0");
    suite_->SetAttribute("skipped", std::to_string(suiteTally_.skipped));
    suite_->SetAttribute("time", std::to_string(suiteTally_.time));
    suite_->SetAttribute("timestamp", LocalDateTime(earliestStart_));
    total_.tests += suiteTally_.tests;
    total_.failures += suiteTally_.failures;
    total_.skipped += suiteTally_.skipped;
    total_.time += suiteTally_.time;
    suite_ = nullptr;
}

std::string JUnitXmlReportWriter::Text()
{
    CloseSuite();
    // Attributes are written in the order they were first set; the root takes its sums last.
    root_->SetAttribute("tests", std::to_string(total_.tests));
    root_->SetAttribute("failures", std::to_string(total_.failures));
    root_->SetAttribute("errors", "0");
    root_->SetAttribute("time", std::to_string(total_.time));
    return xml::PrintDocument(*document_);
}

}  // namespace zov::reports

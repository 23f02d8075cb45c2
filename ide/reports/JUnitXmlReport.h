#pragma once
// The report in the XML form that continuous-integration servers read: one "testsuite" per
// campaign and test set, one "testcase" per test with a result. The counts and the suite's
// timestamp make the file valid against the common JUnit schema, which those servers check.

#include "ide/project/model/ProjectModel.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace zov::reports {

class JUnitXmlReportWriter {
public:
    JUnitXmlReportWriter();
    ~JUnitXmlReportWriter();

    void OpenSuite(const std::string& suiteName);
    void AddCase(const std::string& testName, const project::CTestResult& result);

    // The file's bytes (Latin-1, LF); the counts of the last suite and of the root are filled in.
    std::string Text();

private:
    struct Tally {
        int tests = 0;
        int failures = 0;
        int skipped = 0;
        std::int64_t time = 0;
    };
    void CloseSuite();

    std::unique_ptr<TiXmlDocument> document_;
    TiXmlElement* root_ = nullptr;
    TiXmlElement* suite_ = nullptr;
    std::string suiteName_;
    Tally suiteTally_;
    Tally total_;
    std::time_t earliestStart_ = 0;
};

}  // namespace zov::reports

#include "engine/runtime/ErrorList.h"

#include <gtest/gtest.h>

#include <string>

#include "LineCapture.h"
#include "engine/base/Output.h"

namespace zov {
namespace {

// Collects what the engine writes on standard output while it lives.
class CapturedOutput : public test::LineCapture {
public:
    std::string Text() const { return Out(); }
};

TEST(ErrorList, PrintsSortedByLineAndEmpties)
{
    CErrorList errors;
    errors.AddAnalysisError(7, 3, "seven");
    errors.AddAnalysisError(3, 1, "three");
    errors.AddAnalysisError(1234, 9, "big");
    errors.AddAnalysisError(3, 8, "three again");
    EXPECT_EQ(errors.GetAnalysisErrorCount(), 4u);

    CapturedOutput out;
    errors.PrintAnalysisErrors();
    // Same line: the order in which they were found. Lines above 999 keep every digit.
    EXPECT_EQ(out.Text(),
              "err: 003 : three\n"
              "err: 003 : three again\n"
              "err: 007 : seven\n"
              "err: 1234 : big\n");
    EXPECT_EQ(errors.GetAnalysisErrorCount(), 0u);
}

TEST(ErrorList, KeepsLineAndColumnAndStaysUsableAfterClear)
{
    CErrorList errors;
    errors.AddAnalysisError(12, 5, "Ce label existe deja");
    ASSERT_EQ(errors.Errors().size(), 1u);
    EXPECT_EQ(errors.Errors()[0].line, 12u);
    EXPECT_EQ(errors.Errors()[0].column, 5u);
    EXPECT_EQ(errors.Errors()[0].text, "Ce label existe deja");

    errors.Clear();
    EXPECT_TRUE(errors.Empty());
    errors.AddAnalysisError(1, 1, "again");
    EXPECT_EQ(errors.GetAnalysisErrorCount(), 1u);

    CapturedOutput out;
    errors.PrintAnalysisErrors();
    EXPECT_EQ(out.Text(), "err: 001 : again\n");
}

TEST(ErrorList, EmptyListPrintsNothing)
{
    CErrorList errors;
    CapturedOutput out;
    errors.PrintAnalysisErrors();
    EXPECT_EQ(out.Text(), "");
}

TEST(ErrorList, MessageTextIsWrittenAsIs)
{
    // A percent sign in a script name quoted by a message must not act as a format.
    CErrorList errors;
    errors.AddAnalysisError(2, 1, "La variable '%s%d' n'a pas ete initialisee");
    CapturedOutput out;
    errors.PrintAnalysisErrors();
    EXPECT_EQ(out.Text(), "err: 002 : La variable '%s%d' n'a pas ete initialisee\n");
}

}  // namespace
}  // namespace zov

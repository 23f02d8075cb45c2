// The framework as built with French messages and without '@' escapes.
#include "MainCmd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class CTextCmd : public CMainCmd {
public:
    CTextCmd()
    {
        const int index = AddCmd("show", &CTextCmd::Run, "Show");
        AddArg(index, "-text", m_acText, sizeof m_acText, "Text");
    }
    static void Run(void*) {}
    char m_acText[32] = {};
};

std::string ErrorOf(CMainCmd& cmd, std::string line)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    cmd.TraiteCmd(line.data());
    testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr();
}

TEST(FrenchFramework, MessagesAreFrench)
{
    auto cmd = std::make_unique<CTextCmd>();
    EXPECT_EQ(ErrorOf(*cmd, "nosuch"), "La commande n'existe pas !\n>>");
    EXPECT_EQ(ErrorOf(*cmd, "show"), "Arguments incorrectes!\n>>");
    EXPECT_EQ(ErrorOf(*cmd, "SHOW -TEXT a"), ">>");
    EXPECT_STREQ(cmd->m_acText, "a");
}

TEST(FrenchFramework, AtValuesKeepBackslashes)
{
    TCmdTokens tokens;
    CMainCmd::ParseCmdLine("show -text a @x b\\nc", tokens);
    ASSERT_EQ(tokens.iCount, 5);
    EXPECT_EQ(tokens.aToken[4], "b\\nc");
}

}  // namespace

// Binding switch values to the tool's variables, running commands, and the answers of a line.
#include "MainCmd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace std::string_literals;

namespace {

// A tool with every switch type. Callbacks only record that they ran; the bound members hold what
// the binder wrote.
class CTestCmd : public CMainCmd {
public:
    CTestCmd()
    {
        m_iCopy = AddCmd("copy", &CTestCmd::Run, "Copy a file");
        AddArg(m_iCopy, "-src", m_acSrc, sizeof m_acSrc, "Source");
        AddArg(m_iCopy, "-dst", m_acDst, sizeof m_acDst, "Destination");

        m_iNums = AddCmd("nums", &CTestCmd::Run, "Numbers");
        AddArg(m_iNums, "-u", &m_ulValue, "Unsigned");
        AddArg(m_iNums, "-l", &m_lValue, "Long", true);
        AddArg(m_iNums, "-s", &m_sValue, "Short", true);
        AddArg(m_iNums, "-us", &m_usValue, "Unsigned short", true);
        AddArg(m_iNums, "-b", &m_ucValue, "Byte", true);

        m_iBytes = AddCmd("bytes", &CTestCmd::Run, "Bytes");
        AddArg(m_iBytes, "-data", m_aucData, sizeof m_aucData, "Data");

        m_iOpt = AddCmd("opt", &CTestCmd::Run, "Optional text");
        AddArg(m_iOpt, "-t", m_acOpt, sizeof m_acOpt, "Text", true);
        AddArg(m_iOpt, "-raw", m_aucRaw, sizeof m_aucRaw, "Raw", true);

        m_iBare = AddCmd("bare", &CTestCmd::Run, "No switches");
    }

    static void Run(void* cmd) { static_cast<CTestCmd*>(cmd)->m_iRuns++; }

    int m_iCopy, m_iNums, m_iBytes, m_iOpt, m_iBare;
    int m_iRuns = 0;
    char m_acSrc[16] = {};
    char m_acDst[16] = {};
    uint32_t m_ulValue = 0;
    int32_t m_lValue = 7;
    int16_t m_sValue = -3;
    uint16_t m_usValue = 9;
    uint8_t m_ucValue = 200;
    unsigned char m_aucData[8] = {};
    char m_acOpt[8] = "init";
    unsigned char m_aucRaw[4] = {1, 2, 3, 4};
};

struct Answer {
    std::string out;
    std::string err;
};

// Runs one line through TraiteCmd and returns what it wrote.
Answer Line(CMainCmd& cmd, std::string text)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    cmd.TraiteCmd(text.data());
    Answer answer;
    answer.out = testing::internal::GetCapturedStdout();
    answer.err = testing::internal::GetCapturedStderr();
    return answer;
}

class Binder : public testing::Test {
protected:
    std::unique_ptr<CTestCmd> m_cmd = std::make_unique<CTestCmd>();
};

TEST_F(Binder, WordAndSwitchesMatchWithoutRegardToCase)
{
    const Answer answer = Line(*m_cmd, "COPY -SRC a -Dst b");
    EXPECT_EQ(answer.err, ">>");
    EXPECT_EQ(m_cmd->m_iRuns, 1);
    EXPECT_STREQ(m_cmd->m_acSrc, "a");
    EXPECT_STREQ(m_cmd->m_acDst, "b");
}

TEST_F(Binder, MandatorySwitchGivenTwiceDoesNotReplaceMissingOne)
{
    const Answer answer = Line(*m_cmd, "copy -src a -src b");
    EXPECT_EQ(answer.err, "Wrong parameters!\n>>");
    EXPECT_EQ(m_cmd->m_iRuns, 0);
    EXPECT_STREQ(m_cmd->m_acSrc, "b");  // matches are still bound
}

TEST_F(Binder, MissingMandatorySwitchRefusesCommand)
{
    const Answer answer = Line(*m_cmd, "copy -src a");
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, "Wrong parameters!\n>>");
    EXPECT_EQ(m_cmd->m_iRuns, 0);
}

TEST_F(Binder, UnknownSwitchIgnored)
{
    EXPECT_EQ(Line(*m_cmd, "copy -x 1 -src a -dst b").err, ">>");
    EXPECT_EQ(m_cmd->m_iRuns, 1);
}

TEST_F(Binder, UpperCaseHelpIsAnUnknownSwitch)
{
    const Answer answer = Line(*m_cmd, "copy -HELP x -src a -dst b");
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(m_cmd->m_iRuns, 1);
}

TEST_F(Binder, HelpRequestDoesNotRunCommand)
{
    for (const char* line : {"copy -help", "copy /?"}) {
        const Answer answer = Line(*m_cmd, line);
        EXPECT_EQ(answer.out,
                  "copy : Copy a file\n\n copy  -src (string) -dst (string)\n\n"
                  " -src  Source\n -dst  Destination\n\n")
            << line;
        EXPECT_EQ(answer.err, ">>");
    }
    EXPECT_EQ(m_cmd->m_iRuns, 0);
}

TEST_F(Binder, HelpOfCommandWithoutSwitches)
{
    EXPECT_EQ(Line(*m_cmd, "bare /?").out, "bare : No switches\n\n bare \n\n");
}

TEST_F(Binder, HelpLabelsEveryType)
{
    EXPECT_EQ(Line(*m_cmd, "nums -help").out,
              "nums : Numbers\n\n nums  -u (unsigned long) -l (long) -s (short) -us (unsigned short) -b (byte)\n\n"
              " -u   Unsigned\n -l   Long\n -s   Short\n -us  Unsigned short\n -b   Byte\n\n");
    EXPECT_EQ(Line(*m_cmd, "bytes -help").out, "bytes : Bytes\n\n bytes  -data (byte array)\n\n -data  Data\n\n");
}

struct NumberCase {
    const char* line;
    uint32_t ulValue;
    int32_t lValue;
    int16_t sValue;
    uint16_t usValue;
    uint8_t ucValue;
};

TEST_F(Binder, NumbersConvertLikeAtoiAndOptionalOnesKeepTheirDefault)
{
    const NumberCase cases[] = {
        {"nums -u 5", 5, 7, -3, 9, 200},
        {"nums -u -1 -l -2", 0xFFFFFFFFu, -2, -3, 9, 200},
        {"nums -u 4294967295 -s 70000", 0xFFFFFFFFu, 7, 4464, 9, 200},
        {"nums -u 12abc -us -1 -b 300", 12, 7, -3, 65535, 44},
        {"nums -u abc -l 99999999999", 0, static_cast<int32_t>(99999999999LL & 0xFFFFFFFF), -3, 9, 200},
        {"nums -u \" 42\" -l +8", 42, 8, -3, 9, 200},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(Line(*m_cmd, c.line).err, ">>") << c.line;
        EXPECT_EQ(m_cmd->m_ulValue, c.ulValue) << c.line;
        EXPECT_EQ(m_cmd->m_lValue, c.lValue) << c.line;
        EXPECT_EQ(m_cmd->m_sValue, c.sValue) << c.line;
        EXPECT_EQ(m_cmd->m_usValue, c.usValue) << c.line;
        EXPECT_EQ(m_cmd->m_ucValue, c.ucValue) << c.line;
    }
}

// A value is bound only when it fits its buffer whole (a text with its terminator); one that does
// not fit refuses the line, so that no command runs on a cut value.
TEST_F(Binder, ValueLongerThanItsBufferRefusesTheLine)
{
    struct FitCase {
        const char* line;
        bool runs;
    };
    const FitCase cases[] = {
        {"copy -src 0123456789abcde -dst b", true},    // 15 characters and the terminator: 16
        {"copy -src 0123456789abcdef -dst b", false},  // one more
        {"copy -src a -dst 0123456789abcdefXYZ", false},
        {"bytes -data abcdefgh", true},  // a byte buffer needs no terminator
        {"bytes -data abcdefghi", false},
    };
    for (const FitCase& c : cases) {
        const int before = m_cmd->m_iRuns;
        const Answer answer = Line(*m_cmd, c.line);
        EXPECT_EQ(m_cmd->m_iRuns - before, c.runs ? 1 : 0) << c.line;
        EXPECT_EQ(answer.err, c.runs ? ">>" : "Wrong parameters!\n>>") << c.line;
    }
}

TEST_F(Binder, TextValueFillsItsBuffer)
{
    Line(*m_cmd, "copy -src 0123456789abcde -dst b");
    EXPECT_STREQ(m_cmd->m_acSrc, "0123456789abcde");
}

TEST_F(Binder, ByteValueClearsTheRestOfItsBuffer)
{
    Line(*m_cmd, "bytes -data abcdefgh");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m_cmd->m_aucData), 8), "abcdefgh");
    Line(*m_cmd, "bytes -data xy");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m_cmd->m_aucData), 8), std::string("xy\0\0\0\0\0\0", 8));
}

TEST_F(Binder, OptionalBuffersReturnToTheirRegistrationContent)
{
    Line(*m_cmd, "opt -t changed -raw zz");
    EXPECT_STREQ(m_cmd->m_acOpt, "changed");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m_cmd->m_aucRaw), 4), "zz\0\0"s);
    Line(*m_cmd, "opt");
    EXPECT_STREQ(m_cmd->m_acOpt, "init");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m_cmd->m_aucRaw), 4), "\x01\x02\x03\x04"s);
    EXPECT_EQ(m_cmd->m_iRuns, 2);
}

TEST_F(Binder, MandatoryTextResetBeforeEveryRun)
{
    Line(*m_cmd, "copy -src a -dst b");
    Line(*m_cmd, "copy -dst c");
    EXPECT_STREQ(m_cmd->m_acSrc, "");
    EXPECT_STREQ(m_cmd->m_acDst, "c");
}

TEST_F(Binder, LineAnswers)
{
    struct {
        const char* line;
        const char* err;
    } cases[] = {
        {"\n", ">>"},
        {"", "Command not found !\n>>"},
        {"     ", "Command not found !\n>>"},
        {"nosuch -a 1", "Command not found !\n>>"},
        {"  bare  ", ">>"},
        {"bare words behind", ">>"},
    };
    for (const auto& c : cases) {
        const Answer answer = Line(*m_cmd, c.line);
        EXPECT_EQ(answer.err, c.err) << '"' << c.line << '"';
        EXPECT_EQ(answer.out, "") << '"' << c.line << '"';
    }
    EXPECT_EQ(m_cmd->m_iRuns, 2);
}

TEST_F(Binder, LineIsTrimmedInPlace)
{
    char line[] = "   bare x   ";
    testing::internal::CaptureStderr();
    m_cmd->TraiteCmd(line);
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(line, "bare x");
}

TEST_F(Binder, BuiltInsHeadTheListAligned)
{
    EXPECT_EQ(Line(*m_cmd, "help").out,
              " \n"
              " help  View this screen\n"
              " exit  Exit the program\n"
              " cls   Clear the screen\n"
              " ver   View the version\n"
              " copy  Copy a file\n"
              " nums  Numbers\n"
              " bytes Bytes\n"
              " opt   Optional text\n"
              " bare  No switches\n"
              "\n");
    EXPECT_EQ(Line(*m_cmd, "VER").out, "Version : 9.9\n");
}

TEST_F(Binder, ClsWritesNothingWhenNotATerminal)
{
    const Answer answer = Line(*m_cmd, "cls");
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, ">>");
}

TEST(CommandTable, LimitsAreEnforcedWithoutOverflow)
{
    auto cmd = std::make_unique<CMainCmd>();
    ASSERT_EQ(cmd->GetNbCmd(), 4);
    int32_t values[MAX_ARG + 2] = {};
    int last = -1;
    for (int i = cmd->GetNbCmd(); i < MAX_CMD; ++i)
        last = cmd->AddCmd(("c" + std::to_string(i)).c_str(), &CTestCmd::Run, "h");
    EXPECT_EQ(last, MAX_CMD - 1);
    EXPECT_EQ(cmd->AddCmd("one-too-many", &CTestCmd::Run, "h"), -1);
    EXPECT_EQ(cmd->GetNbCmd(), MAX_CMD);

    for (int a = 0; a < MAX_ARG + 2; ++a)
        cmd->AddArg(last, ("-a" + std::to_string(a)).c_str(), &values[a], "h");
    EXPECT_EQ(cmd->GetCmd(last).iNbArg, MAX_ARG);
    EXPECT_EQ(cmd->GetCmd(last).iNbArgNeed, MAX_ARG);

    cmd->AddArg(-1, "-x", &values[0], "h");
    cmd->AddArg(MAX_CMD, "-x", &values[0], "h");
    EXPECT_EQ(cmd->GetCmd(0).iNbArg, 0);

    const std::string longWord(MAX_SIZE_CMD * 2, 'w');
    auto other = std::make_unique<CMainCmd>();
    const int index = other->AddCmd(longWord.c_str(), &CTestCmd::Run, "h");
    EXPECT_EQ(std::strlen(other->GetCmd(index).cName), static_cast<size_t>(MAX_SIZE_CMD - 1));
}

}  // namespace

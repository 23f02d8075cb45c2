// Any input line through the line parser and the binder of a table with every switch type.
#include "MainCmd.h"
#include "strfunc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

class CFuzzCmd : public CMainCmd {
public:
    CFuzzCmd()
    {
        int index = AddCmd("copy", &Run, "Copy");
        AddArg(index, "-src", m_acSmall, sizeof m_acSmall, "Source");
        AddArg(index, "-dst", m_acLarge, sizeof m_acLarge, "Destination", true);
        index = AddCmd("nums", &Run, "Numbers");
        AddArg(index, "-l", &m_lValue, "Long");
        AddArg(index, "-u", &m_ulValue, "Unsigned", true);
        AddArg(index, "-s", &m_sValue, "Short", true);
        AddArg(index, "-us", &m_usValue, "Unsigned short", true);
        AddArg(index, "-b", &m_ucValue, "Byte", true);
        index = AddCmd("bytes", &Run, "Bytes");
        AddArg(index, "-data", m_aucData, sizeof m_aucData, "Data");
        AddArg(index, "-raw", m_aucOne, sizeof m_aucOne, "Raw", true);
        AddCmd("bare", &Run, "Bare");
    }

private:
    static void Run(void* cmd) { static_cast<CFuzzCmd*>(cmd)->m_iRuns++; }

    int m_iRuns = 0;
    char m_acSmall[4] = {};
    char m_acLarge[64] = "default";
    int32_t m_lValue = 0;
    uint32_t m_ulValue = 0;
    int16_t m_sValue = 0;
    uint16_t m_usValue = 0;
    uint8_t m_ucValue = 0;
    unsigned char m_aucData[3] = {};
    unsigned char m_aucOne[1] = {7};
};

CFuzzCmd* g_pCmd = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Replies, messages and markers are not what is under test. Only the stdio streams are
    // swapped: the fuzzer and the sanitizers keep writing their reports on descriptor 2.
    if (FILE* null = std::fopen("/dev/null", "w")) {
        stdout = null;
        stderr = null;
    }
    g_pCmd = new CFuzzCmd();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= MAX_CMDSIZE)
        return 0;
    // The reader never hands over a line holding CR or LF, except the lone "\n" of an empty line.
    std::string line(reinterpret_cast<const char*>(data), size);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    if (line.empty())
        line.assign(1, '\n');

    // The exit command would end the fuzzer.
    TCmdTokens tokens;
    std::string trimmed = line;
    const int length = supprFisrtSame(trimmed.data(), static_cast<int>(std::strlen(trimmed.c_str())), ' ');
    supprLastSame(trimmed.data(), length - 1, ' ');
    CMainCmd::ParseCmdLine(trimmed.c_str(), tokens);
    if (tokens.iCount <= 0 || tokens.iCount > MAX_CMD_LINE - 1)
        std::abort();
    if (g_pCmd->FindCmd(tokens.aToken[0].c_str()) == 1)
        return 0;
    g_pCmd->TraiteCmd(line.data());

    // The string helpers on the same bytes.
    std::string text(reinterpret_cast<const char*>(data), size);
    replace(text.data(), static_cast<int>(std::strlen(text.c_str())), "\\n", '\n');
    if (char** pieces = split(text.data(), '|'))
        std::free(pieces);
    return 0;
}

// A small tool on the framework with the default limits, so that the reader and the start-up can be
// tested through a real process with text values (Quarnel takes only reals).
#include "main.h"

#include <cstdio>

namespace {

class CEchoCmd : public CMainCmd {
public:
    CEchoCmd()
    {
        int index = AddCmd("echo", &CEchoCmd::Echo, "Echo a text");
        AddArg(index, "-t", m_acText, sizeof m_acText, "Text");
        index = AddCmd("both", &CEchoCmd::Both, "Answer on both streams");
        AddArg(index, "-t", m_acText, sizeof m_acText, "Text");
    }

    void Clean() override { std::fputs("clean\n", stdout); }

private:
    static void Echo(void* cmd) { std::printf("[%s]\n", static_cast<CEchoCmd*>(cmd)->m_acText); }
    static void Both(void* cmd)
    {
        auto* self = static_cast<CEchoCmd*>(cmd);
        std::printf("out:%s\n", self->m_acText);
        std::fprintf(stderr, "err:%s\n", self->m_acText);
    }

    char m_acText[MAX_CMDSIZE] = {};
};

CMainCmd* Create()
{
    return new CEchoCmd();
}

}  // namespace

const TToolInfo g_tToolInfo = {
    .pName = "Echo",
    .pMaker = "ZOV test bench",
    .pCreate = &Create,
};

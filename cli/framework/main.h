// Start-up of a CLI tool: the banner, the command-line pieces, the line reader and the main loop.
// Each tool defines g_tToolInfo (usually in its NewCmd.cpp); the framework's main does the rest.
#pragma once

#include "MainCmd.h"

struct TToolInfo {
    const char* pName;   // banner: "<name> <VERSION_NO>"
    const char* pMaker;  // second banner line, without its line end
    // Creates the tool's command object; called once, after the banner and the first marker.
    CMainCmd* (*pCreate)();
    // Optional, run before anything is written: sets up what the tool needs (a GUI application).
    // Returning false ends the program with exit code 1; the hook writes its own message.
    bool (*pInit)(int& argc, char** argv) = nullptr;
    // Optional 256-byte map applied to every input byte (a code-page conversion); null passes bytes
    // through unchanged.
    const unsigned char* pInputMap = nullptr;
    // The command-line piece "interface" ends the program with exit code 1 once it has been answered.
    bool bEndAfterInterface = false;
};

extern const TToolInfo g_tToolInfo;

// xshell results besides 1 (a line was read) and 0 (null buffer or size below 2).
inline constexpr int XSHELL_END_OF_INPUT = -1;
inline constexpr int XSHELL_SIGNAL = -2;
// A line that cannot be answered as sent: longer than the buffer (its first size - 1 bytes are
// kept, the rest is dropped) or holding a NUL byte, which would end its text early.
inline constexpr int XSHELL_LINE_REFUSED = 2;

extern "C" {
// Reads one line from standard input into buffer (at most size - 1 bytes kept, the rest of a longer
// line dropped and XSHELL_LINE_REFUSED returned, as for a line holding a NUL byte). Every other byte
// passes through except CR and LF, which end the line, and backspace, which drops the last byte. An
// empty line reads as "\n". Blocks until a line, the end of input or a terminating signal.
int xshell(char* buffer, int size);
}

// Ends the process for signal value after the tool's clean-up: exit code = the signal number.
[[noreturn]] void handler(int value);

//------------------------------------------------------------------------------
// File    : MainCmd.h
// Author  :
// Date    :
// Purpose : the command table: command words, their switches bound to the
//           program's variables, the built-in commands and the line parser
//------------------------------------------------------------------------------
#ifndef MAINCMD_H
#define MAINCMD_H

#include "main.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Type codes of the switches.
enum {
    ARG_PCHAR = 0,
    ARG_BYTE = 1,
    ARG_LONG = 2,
    ARG_ULONG = 3,
    ARG_SHORT = 4,
    ARG_USHORT = 5,
    ARG_PBYTE = 6
};

// A command's callback; it receives the command object.
typedef void (*ActionFunc)(void*);

// One command record. Index i of every per-switch array describes the same switch.
struct TCommand {
    char cName[MAX_SIZE_CMD];
    char cHelp[MAX_SIZE_HELP];
    ActionFunc cFunction;
    int32_t iNbArg;
    int32_t iNbArgNeed;
    unsigned char ucArgType[MAX_ARG];
    char cArgName[MAX_ARG][MAX_SIZE_ARG];  // as typed, '-' included, lower case
    char cArgHelp[MAX_ARG][MAX_SIZE_HELP];
    void* pArgVar[MAX_ARG];                // owned by the command object
    int32_t pArgSize[MAX_ARG];
    bool bArgOptional[MAX_ARG];
    int16_t sArgDefault[MAX_ARG];
    uint16_t usArgDefault[MAX_ARG];
    int32_t lArgDefault[MAX_ARG];
    uint32_t ulArgDefault[MAX_ARG];
    uint8_t ucArgDefault[MAX_ARG];
    char acArgDefault[MAX_ARG][MAX_SIZE_DEFAULT_PCHAR_ARG];
    unsigned char aucArgDefault[MAX_ARG][MAX_SIZE_DEFAULT_PCHAR_ARG];
};

// The tokens of one line: token 0 is the command word, then switch/value pairs ('@' pairs included).
struct TCmdTokens {
    int iCount = 0;
    std::string aToken[MAX_CMD_LINE - 1];

    bool Has(int index) const { return index >= 0 && index < iCount; }
    void Push(const std::string& token);
};

class CMainCmd {
public:
    CMainCmd();
    virtual ~CMainCmd();
    CMainCmd(const CMainCmd&) = delete;
    CMainCmd& operator=(const CMainCmd&) = delete;

    // Called by the exit command, at the end of the input and on SIGINT, SIGTERM or SIGHUP before the
    // process ends: release (and flush) what the program holds.
    virtual void Clean();

    // Appends a command; returns its index, or -1 when the table is full or an argument is null.
    int AddCmd(const char* cmd, ActionFunc function, const char* help);

    // Binds a switch of command iCmd to a variable of the command object. An optional switch that is
    // not given takes the value the variable holds now; a mandatory one is reset to 0 or empty before
    // every run.
    void AddArg(int iCmd, const char* name, int32_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint32_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, int16_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint16_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint8_t* var, const char* help, bool optional = false);
    // A text buffer of size bytes: receives the value (at most size - 1 characters), zero-terminated.
    void AddArg(int iCmd, const char* name, char* buffer, size_t size, const char* help, bool optional = false);
    // A byte buffer of size bytes: receives the value's bytes, at most size, the rest zero.
    void AddArg(int iCmd, const char* name, unsigned char* buffer, size_t size, const char* help,
                bool optional = false);

    // Processes one line in place: parses, dispatches, answers, writes the marker. Always returns 1.
    int TraiteCmd(char* line);

    // Index of the first command whose word equals word without regard to case, or -1.
    int FindCmd(const char* word) const;

    // Ends the answer to a line: the reply and the errors first, then the marker.
    static void EndLine();

    // Answers a line that cannot be processed as sent: wrong parameters and the marker.
    static void RefuseLine();

    // The built-in commands.
    static void Exit(void* cmd);
    static void Cls(void* cmd);
    static void Help(void* cmd);
    static void Version(void* cmd);

protected:
    static void ParseCmdLine(const char* line, TCmdTokens& tokens);
    unsigned int StartTask(int iCmd, TCmdTokens& tokens);
    void ExecuteCommand(int iCmd);
    int AddArgParam(int iCmd, const char* name, void* var, int32_t size, const char* help, bool optional);
    void ListFonctions();
    void ViewHelp(int iCmd);

    int32_t m_iNbCmd;
    TCommand m_tCmd[MAX_CMD];
    int32_t m_iHelpCmdIdx;

private:
    // Binds a numeric switch: its type code and, for an optional switch, the variable's value now as
    // its default (defaults is the command's array of defaults of that type).
    template <typename T>
    void AddNumberArg(int iCmd, const char* name, T* var, unsigned char type, T (TCommand::*defaults)[MAX_ARG],
                      const char* help, bool optional);
    bool CanAddArg(int iCmd) const;
    void RestoreDefaults(TCommand& command);
    bool BindValue(TCommand& command, int arg, const std::string& value);
};

// Whether standard output is a terminal (a person) rather than a driver's pipe.
bool StdoutIsTerminal();

// Writes the clear-screen sequence, only when standard output is a terminal.
void ClearScreen();

#endif

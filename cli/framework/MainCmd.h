// The command table of a CLI tool: command words, their switches bound to the tool's variables, the
// built-in commands (help, exit, cls, ver), the line parser and the binder.
//
// Each tool compiles this unit with the limits of its build (see README.md), so one program holds one
// layout of the table; never link two tools' libraries into one program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#ifndef ZOV_CLI_MAX_CMD
#define ZOV_CLI_MAX_CMD 50
#endif
#ifndef ZOV_CLI_MAX_ARG
#define ZOV_CLI_MAX_ARG 20
#endif
#ifndef ZOV_CLI_MAX_SIZE_CMD
#define ZOV_CLI_MAX_SIZE_CMD 64
#endif
#ifndef ZOV_CLI_MAX_SIZE_HELP
#define ZOV_CLI_MAX_SIZE_HELP 256
#endif
#ifndef ZOV_CLI_MAX_SIZE_ARG
#define ZOV_CLI_MAX_SIZE_ARG 1024
#endif
#ifndef ZOV_CLI_MAX_SIZE_DEFAULT_PCHAR_ARG
#define ZOV_CLI_MAX_SIZE_DEFAULT_PCHAR_ARG 1024
#endif
#ifndef ZOV_CLI_VERSION
#define ZOV_CLI_VERSION "0.0"
#endif

inline constexpr int MAX_CMD = ZOV_CLI_MAX_CMD;              // commands per table, built-ins included
inline constexpr int MAX_ARG = ZOV_CLI_MAX_ARG;              // switches per command
inline constexpr int MAX_SIZE_CMD = ZOV_CLI_MAX_SIZE_CMD;    // bytes of a command word, terminator included
inline constexpr int MAX_SIZE_HELP = ZOV_CLI_MAX_SIZE_HELP;  // bytes of a command's or a switch's help
inline constexpr int MAX_SIZE_ARG = ZOV_CLI_MAX_SIZE_ARG;    // bytes of a switch name
inline constexpr int MAX_SIZE_DEFAULT_PCHAR_ARG = ZOV_CLI_MAX_SIZE_DEFAULT_PCHAR_ARG;

inline constexpr int MAX_CMDSIZE = 40000;  // bytes of the line buffer
inline constexpr int MAX_CMD_LINE = 10;    // token slots of a line: the word, four pairs, the end mark

inline constexpr const char* VERSION_NO = ZOV_CLI_VERSION;
inline constexpr const char* SYNCHRO = ">>";

#ifdef ZOV_CLI_FRENCH_MESSAGES
inline constexpr const char* ANOMALIE_CMD_NOTFOUND = "La commande n'existe pas !\n";
inline constexpr const char* ANOMALIE_ARG_ERROR = "Arguments incorrectes!\n";
#else
inline constexpr const char* ANOMALIE_CMD_NOTFOUND = "Command not found !\n";
inline constexpr const char* ANOMALIE_ARG_ERROR = "Wrong parameters!\n";
#endif

// Type codes of the switches. The build with real-valued switches inserts ARG_DOUBLE at 5 and so
// renumbers the last two.
enum : unsigned char {
    ARG_PCHAR = 0,
    ARG_BYTE = 1,
    ARG_LONG = 2,
    ARG_ULONG = 3,
    ARG_SHORT = 4,
#ifdef ZOV_CLI_DOUBLE
    ARG_DOUBLE = 5,
    ARG_USHORT = 6,
    ARG_PBYTE = 7,
#else
    ARG_USHORT = 5,
    ARG_PBYTE = 6,
#endif
};

// A command's callback; it receives the command object.
using ActionFunc = void (*)(void*);

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
    void* pArgVar[MAX_ARG];  // owned by the tool object
    int32_t pArgSize[MAX_ARG];
    bool bArgOptional[MAX_ARG];
    int16_t sArgDefault[MAX_ARG];
    uint16_t usArgDefault[MAX_ARG];
    int32_t lArgDefault[MAX_ARG];
    uint32_t ulArgDefault[MAX_ARG];
    uint8_t ucArgDefault[MAX_ARG];
#ifdef ZOV_CLI_DOUBLE
    double dArgDefault[MAX_ARG];
#endif
    char acArgDefault[MAX_ARG][MAX_SIZE_DEFAULT_PCHAR_ARG];
    unsigned char aucArgDefault[MAX_ARG][MAX_SIZE_DEFAULT_PCHAR_ARG];
};

// The tokens of one line: token 0 is the command word, then switch/value pairs ('@' pairs included).
// At most MAX_CMD_LINE - 1 tokens are kept; the parser drops the surplus.
struct TCmdTokens {
    int iCount = 0;
    std::string aToken[MAX_CMD_LINE - 1];

    bool Has(int index) const { return index >= 0 && index < iCount; }
    void Push(std::string token);
};

class CMainCmd {
public:
    CMainCmd();
    virtual ~CMainCmd();
    CMainCmd(const CMainCmd&) = delete;
    CMainCmd& operator=(const CMainCmd&) = delete;

    // Called by the built-in exit command, at the end of input and on SIGINT/SIGTERM/SIGHUP before the
    // process ends: a tool releases (and flushes) what it holds.
    virtual void Clean();

    // Appends a command; returns its index, or -1 when the table is full or an argument is null.
    int AddCmd(const char* cmd, ActionFunc function, const char* help);

    // Binds a switch of command iCmd to a variable of the tool object. An optional switch that is not
    // given takes the value the variable holds now; a mandatory one is reset to 0 or empty before
    // every run. Ignored when iCmd is not a registered command or the command has MAX_ARG switches.
    void AddArg(int iCmd, const char* name, int32_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint32_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, int16_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint16_t* var, const char* help, bool optional = false);
    void AddArg(int iCmd, const char* name, uint8_t* var, const char* help, bool optional = false);
#ifdef ZOV_CLI_DOUBLE
    void AddArg(int iCmd, const char* name, double* var, const char* help, bool optional = false);
#endif
    // A text buffer of size bytes: receives the value cut to size - 1 characters, zero-terminated.
    void AddArg(int iCmd, const char* name, char* buffer, size_t size, const char* help, bool optional = false);
    // A byte buffer of size bytes: receives the value's bytes, at most size, the rest zero.
    void AddArg(int iCmd, const char* name, unsigned char* buffer, size_t size, const char* help,
                bool optional = false);

    // Processes one line in place (it is trimmed where it lies): parses, dispatches, answers with the
    // marker. Ends the process when the line is the exit command. Always returns 1.
    int TraiteCmd(char* line);

    // Binds the switches of command iCmd from the tokens and runs it, or prints its help, or reports
    // wrong parameters. Always returns 1.
    unsigned int StartTask(int iCmd, TCmdTokens& tokens);

    // Runs command iCmd's callback; nothing when iCmd is out of range.
    void ExecuteCommand(int iCmd);

    // Splits a trimmed line into tokens. With atEscapes, the values of '@' pairs have \r and \n
    // turned into CR and LF.
    static void ParseCmdLine(const char* line, TCmdTokens& tokens, bool atEscapes = DefaultAtEscapes);

    // Index of the first command whose word equals word without regard to case, or -1.
    int FindCmd(const char* word) const;

    // Ends the answer to a line: the reply on standard output in one write, then whatever the line
    // wrote on standard error followed by the marker, in one write.
    static void EndLine();

    // Answers a line that did not fit the line buffer: wrong parameters and the marker, nothing run.
    static void RefuseLine();

    int GetNbCmd() const
    {
        return m_iNbCmd;
    }
    const TCommand& GetCmd(int iCmd) const
    {
        return m_tCmd[iCmd];
    }
    int GetHelpCmdIdx() const
    {
        return m_iHelpCmdIdx;
    }

    // The built-in commands.
    static void Exit(void* cmd);
    static void Cls(void* cmd);
    static void Help(void* cmd);
    static void Version(void* cmd);

#ifdef ZOV_CLI_NO_AT_ESCAPES
    static constexpr bool DefaultAtEscapes = false;
#else
    static constexpr bool DefaultAtEscapes = true;
#endif

protected:
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

// Whether standard output is a terminal (a person) rather than a driver's pipe; decided once.
bool StdoutIsTerminal();

// Writes the clear-screen sequence, only when standard output is a terminal: escape bytes must never
// reach a driver's pipe.
void ClearScreen();

//------------------------------------------------------------------------------
// File    : MainCmd.cpp
// Author  :
// Date    :
// Purpose : the command table, the line parser and the built-in commands
//------------------------------------------------------------------------------
#include "MainCmd.h"

#include "strfunc.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Copies at most size - 1 characters of text and terminates; the buffer must hold size bytes.
void CopyText(char* destination, size_t size, const char* text)
{
    if (size == 0)
        return;
    size_t length = text == nullptr ? 0 : std::strlen(text);
    length = std::min(length, size - 1);
    if (length > 0)
        std::memcpy(destination, text, length);
    destination[length] = '\0';
}

// Case folding of ASCII letters only: command words never depend on the locale.
char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    }
    return *a == *b;
}

// The integer conversion of every numeric switch: a leading decimal number cut to its low 32 bits.
uint32_t ParseInteger(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    return static_cast<uint32_t>(static_cast<unsigned long long>(value));
}

const char* HelpLabel(unsigned char type)
{
    switch (type) {
    case ARG_PCHAR:
        return " %s (string)";
    case ARG_BYTE:
        return " %s (byte)";
    case ARG_LONG:
        return " %s (long)";
    case ARG_ULONG:
        return " %s (unsigned long)";
    case ARG_SHORT:
        return " %s (short)";
    case ARG_USHORT:
        return " %s (unsigned short)";
    case ARG_PBYTE:
        return " %s (byte array)";
    default:
        return nullptr;
    }
}

size_t SkipBlanks(const char* line, size_t length, size_t p)
{
    while (p < length && line[p] == ' ')
        ++p;
    return p;
}

size_t NextBlank(const char* line, size_t length, size_t p)
{
    while (p < length && line[p] != ' ')
        ++p;
    return p;
}

// Reads one value at p: a quoted text (quotes dropped, to the closing quote or the end) or the text up
// to the next blank. Returns the position after the value, past its closing quote.
size_t ReadValue(const char* line, size_t length, size_t p, std::string& value)
{
    if (p < length && line[p] == '"') {
        const size_t start = p + 1;
        size_t end = start;
        while (end < length && line[end] != '"')
            ++end;
        value.assign(line + start, end - start);
        return end < length ? end + 1 : length;
    }
    const size_t end = NextBlank(line, length, p);
    value.assign(line + p, end - p);
    return end;
}

// The values of '@' pairs may carry line ends typed as \r and \n.
void UnescapeLineEnds(std::string& value)
{
    if (value.empty())
        return;
    int length = replace(&value[0], static_cast<int>(value.size()), "\\r", '\r');
    value.resize(static_cast<size_t>(length));
    if (value.empty())
        return;
    length = replace(&value[0], static_cast<int>(value.size()), "\\n", '\n');
    value.resize(static_cast<size_t>(length));
}

}  // namespace

bool StdoutIsTerminal()
{
    static const bool terminal = isatty(STDOUT_FILENO) == 1;
    return terminal;
}

void ClearScreen()
{
    // Escape bytes must never reach a driver's pipe.
    if (StdoutIsTerminal())
        std::fputs("\x1b[H\x1b[2J", stdout);
}

void TCmdTokens::Push(const std::string& token)
{
    if (iCount < MAX_CMD_LINE - 1)
        aToken[iCount++] = token;
}

CMainCmd::CMainCmd() : m_iNbCmd(0), m_iHelpCmdIdx(0)
{
    m_iHelpCmdIdx = AddCmd("help", &CMainCmd::Help, "View this screen");
    AddCmd("exit", &CMainCmd::Exit, "Exit the program");
    AddCmd("cls", &CMainCmd::Cls, "Clear the screen");
    AddCmd("ver", &CMainCmd::Version, "View the version");
}

CMainCmd::~CMainCmd()
{
}

void CMainCmd::Clean()
{
}

int CMainCmd::AddCmd(const char* cmd, ActionFunc function, const char* help)
{
    if (m_iNbCmd >= MAX_CMD || cmd == nullptr || function == nullptr)
        return -1;
    TCommand& command = m_tCmd[m_iNbCmd];
    CopyText(command.cName, sizeof command.cName, cmd);
    CopyText(command.cHelp, sizeof command.cHelp, help);
    command.cFunction = function;
    command.iNbArg = 0;
    command.iNbArgNeed = 0;
    return m_iNbCmd++;
}

bool CMainCmd::CanAddArg(int iCmd) const
{
    return iCmd >= 0 && iCmd < m_iNbCmd && m_tCmd[iCmd].iNbArg < MAX_ARG;
}

int CMainCmd::AddArgParam(int iCmd, const char* name, void* var, int32_t size, const char* help, bool optional)
{
    if (!CanAddArg(iCmd) || name == nullptr || var == nullptr)
        return -1;
    TCommand& command = m_tCmd[iCmd];
    const int n = command.iNbArg;
    command.bArgOptional[n] = optional;
    CopyText(command.cArgName[n], sizeof command.cArgName[n], name);
    CopyText(command.cArgHelp[n], sizeof command.cArgHelp[n], help);
    command.pArgVar[n] = var;
    command.pArgSize[n] = size;
    command.iNbArg++;
    if (!optional)
        command.iNbArgNeed++;
    return n;
}

template <typename T>
void CMainCmd::AddNumberArg(int iCmd, const char* name, T* var, unsigned char type, T (TCommand::*defaults)[MAX_ARG],
                            const char* help, bool optional)
{
    if (!CanAddArg(iCmd) || name == nullptr || var == nullptr)
        return;
    TCommand& command = m_tCmd[iCmd];
    command.ucArgType[command.iNbArg] = type;
    (command.*defaults)[command.iNbArg] = optional ? *var : T(0);
    AddArgParam(iCmd, name, var, sizeof *var, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, int32_t* var, const char* help, bool optional)
{
    AddNumberArg(iCmd, name, var, ARG_LONG, &TCommand::lArgDefault, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, uint32_t* var, const char* help, bool optional)
{
    AddNumberArg(iCmd, name, var, ARG_ULONG, &TCommand::ulArgDefault, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, int16_t* var, const char* help, bool optional)
{
    AddNumberArg(iCmd, name, var, ARG_SHORT, &TCommand::sArgDefault, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, uint16_t* var, const char* help, bool optional)
{
    AddNumberArg(iCmd, name, var, ARG_USHORT, &TCommand::usArgDefault, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, uint8_t* var, const char* help, bool optional)
{
    AddNumberArg(iCmd, name, var, ARG_BYTE, &TCommand::ucArgDefault, help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, char* buffer, size_t size, const char* help, bool optional)
{
    if (!CanAddArg(iCmd) || name == nullptr || buffer == nullptr || size == 0 || size > INT32_MAX)
        return;
    TCommand& command = m_tCmd[iCmd];
    const int n = command.iNbArg;
    command.ucArgType[n] = ARG_PCHAR;
    // The buffer may hold no terminator yet: read at most its size.
    size_t known = 0;
    while (optional && known < size && buffer[known] != '\0')
        ++known;
    const size_t kept = std::min(known, static_cast<size_t>(MAX_SIZE_DEFAULT_PCHAR_ARG - 1));
    std::memset(command.acArgDefault[n], 0, sizeof command.acArgDefault[n]);
    if (kept > 0)
        std::memcpy(command.acArgDefault[n], buffer, kept);
    AddArgParam(iCmd, name, buffer, static_cast<int32_t>(size), help, optional);
}

void CMainCmd::AddArg(int iCmd, const char* name, unsigned char* buffer, size_t size, const char* help, bool optional)
{
    if (!CanAddArg(iCmd) || name == nullptr || buffer == nullptr || size == 0 || size > INT32_MAX)
        return;
    TCommand& command = m_tCmd[iCmd];
    const int n = command.iNbArg;
    command.ucArgType[n] = ARG_PBYTE;
    std::memset(command.aucArgDefault[n], 0, sizeof command.aucArgDefault[n]);
    if (optional)
        std::memcpy(command.aucArgDefault[n], buffer, std::min(size, sizeof command.aucArgDefault[n]));
    AddArgParam(iCmd, name, buffer, static_cast<int32_t>(size), help, optional);
}

void CMainCmd::ExecuteCommand(int iCmd)
{
    if (iCmd >= 0 && iCmd < m_iNbCmd && m_tCmd[iCmd].cFunction != nullptr)
        m_tCmd[iCmd].cFunction(this);
}

int CMainCmd::FindCmd(const char* word) const
{
    if (word == nullptr)
        return -1;
    for (int i = 0; i < m_iNbCmd; ++i) {
        if (EqualsIgnoringAsciiCase(m_tCmd[i].cName, word))
            return i;
    }
    return -1;
}

void CMainCmd::ParseCmdLine(const char* line, TCmdTokens& tokens)
{
    tokens = TCmdTokens();
    if (line == nullptr)
        return;
    const size_t length = std::strlen(line);
    const size_t wordEnd = NextBlank(line, length, 0);
    tokens.Push(std::string(line, wordEnd));

    bool switchRead = false;
    size_t p = wordEnd;
    while (p < length) {
        while (p < length && line[p] != '-')
            ++p;
        const size_t q = NextBlank(line, length, p);
        if (q == p) {
            // Without any switch, the words after the command are one token ("/?").
            if (!switchRead) {
                const size_t start = SkipBlanks(line, length, wordEnd);
                if (start < length)
                    tokens.Push(std::string(line + start, length - start));
            }
            break;
        }
        tokens.Push(std::string(line + p, q - p));
        switchRead = true;

        std::string value;
        p = ReadValue(line, length, SkipBlanks(line, length, q), value);
        tokens.Push(value);

        // '@' name/value pairs that follow a value.
        for (;;) {
            const size_t at = SkipBlanks(line, length, p);
            if (at >= length || line[at] != '@')
                break;
            const size_t nameEnd = NextBlank(line, length, at);
            tokens.Push(std::string(line + at, nameEnd - at));
            std::string atValue;
            p = ReadValue(line, length, SkipBlanks(line, length, nameEnd), atValue);
            UnescapeLineEnds(atValue);
            tokens.Push(atValue);
        }
    }
}

void CMainCmd::RestoreDefaults(TCommand& command)
{
    for (int a = 0; a < command.iNbArg; ++a) {
        void* var = command.pArgVar[a];
        const size_t size = static_cast<size_t>(command.pArgSize[a]);
        switch (command.ucArgType[a]) {
        case ARG_PCHAR: {
            char* buffer = static_cast<char*>(var);
            std::memset(buffer, 0, size);
            CopyText(buffer, size, command.acArgDefault[a]);
            break;
        }
        case ARG_PBYTE: {
            unsigned char* buffer = static_cast<unsigned char*>(var);
            std::memset(buffer, 0, size);
            std::memcpy(buffer, command.aucArgDefault[a], std::min(size, sizeof command.aucArgDefault[a]));
            break;
        }
        case ARG_BYTE:
            *static_cast<uint8_t*>(var) = command.ucArgDefault[a];
            break;
        case ARG_LONG:
            *static_cast<int32_t*>(var) = command.lArgDefault[a];
            break;
        case ARG_ULONG:
            *static_cast<uint32_t*>(var) = command.ulArgDefault[a];
            break;
        case ARG_SHORT:
            *static_cast<int16_t*>(var) = command.sArgDefault[a];
            break;
        case ARG_USHORT:
            *static_cast<uint16_t*>(var) = command.usArgDefault[a];
            break;
        default:
            break;
        }
    }
}

// A text longer than its buffer is refused rather than cut: a cut value would silently name another
// file or write a shorter line than the one asked for.
bool CMainCmd::BindValue(TCommand& command, int a, const std::string& value)
{
    void* var = command.pArgVar[a];
    const size_t size = static_cast<size_t>(command.pArgSize[a]);
    switch (command.ucArgType[a]) {
    case ARG_PCHAR: {
        if (value.size() >= size)
            return false;
        char* buffer = static_cast<char*>(var);
        std::memset(buffer, 0, size);
        CopyText(buffer, size, value.c_str());
        break;
    }
    case ARG_PBYTE: {
        if (value.size() > size)
            return false;
        unsigned char* buffer = static_cast<unsigned char*>(var);
        std::memset(buffer, 0, size);
        std::memcpy(buffer, value.data(), value.size());
        break;
    }
    case ARG_BYTE:
        *static_cast<uint8_t*>(var) = static_cast<uint8_t>(ParseInteger(value.c_str()));
        break;
    case ARG_LONG:
        *static_cast<int32_t*>(var) = static_cast<int32_t>(ParseInteger(value.c_str()));
        break;
    case ARG_ULONG:
        *static_cast<uint32_t*>(var) = ParseInteger(value.c_str());
        break;
    case ARG_SHORT:
        *static_cast<int16_t*>(var) = static_cast<int16_t>(ParseInteger(value.c_str()));
        break;
    case ARG_USHORT:
        *static_cast<uint16_t*>(var) = static_cast<uint16_t>(ParseInteger(value.c_str()));
        break;
    default:
        break;
    }
    return true;
}

unsigned int CMainCmd::StartTask(int iCmd, TCmdTokens& tokens)
{
    if (iCmd < 0 || iCmd >= m_iNbCmd)
        return 1;
    TCommand& command = m_tCmd[iCmd];
    if (tokens.Has(1) && (tokens.aToken[1] == "-help" || tokens.aToken[1] == "/?")) {
        ViewHelp(iCmd);
        return 1;
    }
    RestoreDefaults(command);

    // Distinct mandatory switches are counted: one given twice must not stand in for a missing one.
    bool given[MAX_ARG] = {};
    int mandatoryGiven = 0;
    bool allFit = true;
    for (int i = 1; tokens.Has(i) && tokens.Has(i + 1); i += 2) {
        std::string& name = tokens.aToken[i];
        for (size_t c = 0; c < name.size(); ++c)
            name[c] = LowerAscii(name[c]);
        for (int a = 0; a < command.iNbArg; ++a) {
            if (name != command.cArgName[a])
                continue;
            if (!BindValue(command, a, tokens.aToken[i + 1]))
                allFit = false;
            if (!command.bArgOptional[a] && !given[a]) {
                given[a] = true;
                ++mandatoryGiven;
            }
        }
    }
    if (allFit && mandatoryGiven == command.iNbArgNeed)
        ExecuteCommand(iCmd);
    else
        std::fputs(ANOMALIE_ARG_ERROR, stderr);
    return 1;
}

int CMainCmd::TraiteCmd(char* line)
{
    if (line != nullptr) {
        const int length = supprFisrtSame(line, static_cast<int>(std::strlen(line)), ' ');
        supprLastSame(line, length - 1, ' ');
    }
    TCmdTokens tokens;
    ParseCmdLine(line, tokens);
    // An empty line ("\n" from the reader) gets the marker alone; a line of blanks leaves an empty
    // word, which no command has.
    if (tokens.Has(0) && tokens.aToken[0] != "\n") {
        const int iCmd = FindCmd(tokens.aToken[0].c_str());
        if (iCmd < 0)
            std::fputs(ANOMALIE_CMD_NOTFOUND, stderr);
        else
            StartTask(iCmd, tokens);
    }
    EndLine();
    return 1;
}

void CMainCmd::RefuseLine()
{
    std::fputs(ANOMALIE_ARG_ERROR, stderr);
    EndLine();
}

void CMainCmd::EndLine()
{
    // Whatever the line wrote leaves before the marker, so that a driver that stops reading at the
    // marker has the whole answer; the marker's own stream is written last.
    FILE* const marker = stderr;
    std::fflush(marker == stdout ? stderr : stdout);
    std::fputs(SYNCHRO, marker);
    std::fflush(marker);
}

void CMainCmd::ListFonctions()
{
    size_t width = 0;
    for (int i = 0; i < m_iNbCmd; ++i)
        width = std::max(width, std::strlen(m_tCmd[i].cName));
    for (int i = 0; i < m_iNbCmd; ++i) {
        const int pad = static_cast<int>(width - std::strlen(m_tCmd[i].cName));
        std::printf(" %s %*s%s\n", m_tCmd[i].cName, pad, "", m_tCmd[i].cHelp);
    }
    std::fputs("\n", stdout);
}

void CMainCmd::ViewHelp(int iCmd)
{
    if (iCmd < 0 || iCmd >= m_iNbCmd)
        return;
    const TCommand& command = m_tCmd[iCmd];
    std::printf("%s : %s\n", command.cName, command.cHelp);
    std::printf("\n %s ", command.cName);
    for (int a = 0; a < command.iNbArg; ++a) {
        if (const char* label = HelpLabel(command.ucArgType[a]))
            std::printf(label, command.cArgName[a]);
    }
    std::fputs("\n", stdout);
    if (command.iNbArg > 0) {
        size_t width = 0;
        for (int a = 0; a < command.iNbArg; ++a)
            width = std::max(width, std::strlen(command.cArgName[a]));
        std::fputs("\n", stdout);
        for (int a = 0; a < command.iNbArg; ++a) {
            const int pad = static_cast<int>(width - std::strlen(command.cArgName[a]));
            std::printf(" %s %*s %s\n", command.cArgName[a], pad, "", command.cArgHelp[a]);
        }
    }
    std::fputs("\n", stdout);
}

void CMainCmd::Exit(void* cmd)
{
    static_cast<CMainCmd*>(cmd)->Clean();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(0);
}

void CMainCmd::Cls(void*)
{
    ClearScreen();
}

void CMainCmd::Help(void* cmd)
{
    std::fputs(" \n", stdout);
    static_cast<CMainCmd*>(cmd)->ListFonctions();
}

void CMainCmd::Version(void*)
{
    std::printf("Version : %s\n", VERSION_NO);
}

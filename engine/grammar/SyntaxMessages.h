#pragma once

// The French one-line messages for the error records of the scanner and parser: "err: " lines
// for scripts and built-in prototypes, "dpb: " lines for interface-file lines.

#include "engine/grammar/Parser.h"

#include <string>
#include <vector>

namespace zov {

// The first traceback entry (from the top of the parse stack down) of that symbol name.
const CTracebackEntry* FindInTraceback(const std::vector<CTracebackEntry>& traceback, const std::string& name);
bool FindExpectedToken(const std::vector<std::string>& expected, const std::string& name);

// Writes every record of a failed scan or parse as one script error line.
void WriteScriptErrors(const CParseErrors& errors);

// Plain texts. The returned texts have no line feed unless one is part of the message; the
// caller writes each one followed by a line feed.
class CParseMessages {
public:
    virtual ~CParseMessages() = default;

    std::string FormatScriptError(const CParseError& error);
    std::string FormatInterfaceError(const CParseError& error, int interfaceLine);

    virtual std::string ScanErrorText(const CParseError& error);
    virtual std::string ParseErrorText(const CParseError& error);
    virtual std::string InterfaceScanErrorText(const CParseError& error, int interfaceLine);
    virtual std::string InterfaceParseErrorText(const CParseError& error, int interfaceLine);

protected:
    static std::string FormatErrorPosition(int line);
    const std::string syntaxError_ = " : Erreur de syntaxe";
};

// Explains the common script mistakes (a missing 'end', 'then', 'do' or 'until') and names
// the kind of interface line that failed.
class CScriptMessages : public CParseMessages {
public:
    std::string ParseErrorText(const CParseError& error) override;
    std::string InterfaceParseErrorText(const CParseError& error, int interfaceLine) override;

    std::string ExplainSyntaxError(const CParseError& error);
    std::string ExplainInterfaceError(const CParseError& error, int interfaceLine);
};

}  // namespace zov

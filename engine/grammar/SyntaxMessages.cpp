#include "engine/grammar/SyntaxMessages.h"

#include "engine/base/Output.h"

#include <cstdio>

namespace zov {

namespace {

struct Explanation {
    const char* keyword;
    const char* expected;
    const char* separator;
    const char* message;
};

// Tried in this order; each row looks only at the innermost open statement of its keyword.
// The 'case' row has no blank after its colon, as the IDE has always shown it.
constexpr Explanation Explanations[] = {
    {"if", "end", " : ", "Il manque un 'end' pour l'instruction 'if'"},
    {"if", "then", " : ", "Il manque un 'then' pour l'instruction 'if'"},
    {"case", "end", " :", "Il manque un 'end' pour l'instruction 'case'"},
    {"while", "end", " : ", "Il manque un 'end' pour l'instruction 'while'"},
    {"while", "do", " : ", "Il manque un 'do' pour l'instruction 'while'"},
    {"for", "end", " : ", "Il manque un 'end' pour l'instruction 'for'"},
    {"for", "do", " : ", "Il manque un 'do' pour l'instruction 'for'"},
    {"repeat", "until", " : ", "Il manque un 'until' pour l'instruction 'repeat'"},
};

}  // namespace

const CTracebackEntry* FindInTraceback(const std::vector<CTracebackEntry>& traceback, const std::string& name)
{
    for (const CTracebackEntry& entry : traceback)
        if (entry.SymbolName == name)
            return &entry;
    return nullptr;
}

bool FindExpectedToken(const std::vector<std::string>& expected, const std::string& name)
{
    for (const std::string& e : expected)
        if (e == name)
            return true;
    return false;
}

void WriteScriptErrors(const CParseErrors& errors)
{
    CScriptMessages messages;
    for (const CParseError& error : errors) {
        std::string text = messages.FormatScriptError(error);
        // The memory stops come with their line end already.
        if (text.empty() || text.back() != '\n')
            text += '\n';
        WriteText(Stream::Out, text);
    }
}

std::string CParseMessages::FormatErrorPosition(int line)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", line);
    return buffer;
}

std::string CParseMessages::FormatScriptError(const CParseError& error)
{
    if (error.Kind == ErrorKindScan)
        return ScanErrorText(error);
    if (error.Kind == ErrorKindParse)
        return ParseErrorText(error);
    return {};
}

std::string CParseMessages::FormatInterfaceError(const CParseError& error, int interfaceLine)
{
    if (error.Kind == ErrorKindScan)
        return InterfaceScanErrorText(error, interfaceLine);
    if (error.Kind == ErrorKindParse)
        return InterfaceParseErrorText(error, interfaceLine);
    return {};
}

std::string CParseMessages::ScanErrorText(const CParseError& error)
{
    switch (error.Subtype) {
    case ScanErrorCharacter:
        return "err: " + FormatErrorPosition(error.Line) + syntaxError_;
    case ScanErrorWorkingSet:
        return lines::ErrScriptMemoryTooLarge;
    case ScanErrorMemoryLoad:
        return lines::ErrScriptNoMemory;
    default:
        return {};
    }
}

std::string CParseMessages::ParseErrorText(const CParseError& error)
{
    return "err: " + FormatErrorPosition(error.Line) + " : Erreur durant le traitement du fichier";
}

std::string CParseMessages::InterfaceScanErrorText(const CParseError& error, int interfaceLine)
{
    if (error.Subtype == ScanErrorCharacter)
        return "dpb: " + FormatErrorPosition(interfaceLine) + syntaxError_;
    return {};
}

std::string CParseMessages::InterfaceParseErrorText(const CParseError&, int interfaceLine)
{
    return "dpb: " + FormatErrorPosition(interfaceLine) + " : Erreur durant le traitement du dictionnaire";
}

std::string CScriptMessages::ParseErrorText(const CParseError& error)
{
    return ExplainSyntaxError(error);
}

std::string CScriptMessages::InterfaceParseErrorText(const CParseError& error, int interfaceLine)
{
    return ExplainInterfaceError(error, interfaceLine);
}

std::string CScriptMessages::ExplainSyntaxError(const CParseError& error)
{
    std::string text = "err: ";
    for (const Explanation& row : Explanations) {
        const CTracebackEntry* keyword = FindInTraceback(error.Traceback, row.keyword);
        if (keyword && FindExpectedToken(error.Expected, row.expected))
            return text + FormatErrorPosition(keyword->Line) + row.separator + row.message;
    }
    return text + FormatErrorPosition(error.OffendingToken.Line) + " : " + " Erreur de syntaxe";
}

std::string CScriptMessages::ExplainInterfaceError(const CParseError& error, int interfaceLine)
{
    std::string text = "dpb: " + FormatErrorPosition(interfaceLine) + " : ";
    if (FindInTraceback(error.Traceback, "MACRO"))
        return text + "Erreur lors de l'interpretation d'une macro de l'interface";
    if (FindInTraceback(error.Traceback, "CONST"))
        return text + "Erreur lors de l'interpretation d'une constante de l'interface";
    return text + "Erreur de syntaxe dans l'interface";
}

}  // namespace zov

#include "engine/input/InterfaceLines.h"

#include "engine/runtime/BuiltinsArgs.h"
#include "engine/runtime/EngineState.h"
#include "engine/input/MacroTable.h"
#include "engine/base/Output.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"
#include "engine/input/ScriptLoader.h"
#include "engine/base/StringHelpers.h"
#include "engine/grammar/SyntaxMessages.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

namespace zov {

using namespace line_tree;

namespace {

// A line that parses but cannot be applied is reported like one that does not parse, so that
// the IDE can point at it.
constexpr char DpbRefusedLine[] = "dpb: %i : Erreur de syntaxe dans l'interface\n";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A quoted text or a macro body scans with the blanks that follow it on the line.
std::string_view WithoutTrailingBlanks(std::string_view image)
{
    while (!image.empty() && IsBlank(image.back()))
        image.remove_suffix(1);
    return image;
}

// The image without its first and last characters (the quotes or braces).
std::string_view Unquoted(std::string_view image)
{
    image = WithoutTrailingBlanks(image);
    if (image.size() < 2)
        return {};
    return image.substr(1, image.size() - 2);
}

// The value of a field's leading decimal digits; 0 when it does not start with a digit.
unsigned LeadingDigits(std::string_view field)
{
    unsigned long long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return static_cast<unsigned>(value);
}

std::string ArgumentText(std::span<const CValue> args, size_t index)
{
    return std::string(builtin_args::Text(args, index).value_or(std::string_view()));
}

// The command text of a call: the value in front of the arguments, else the entry's own.
std::string CommandOf(const CFunctionEntry& entry, std::span<const CValue> args)
{
    if (!args.empty() && args[0].HasText())
        return std::string(args[0].TextView());
    return entry.CommandText;
}

int CliIndexOf(std::span<const CValue> args)
{
    return args.size() > 1 ? args[1].Word() : 1;
}

std::vector<std::string> ArgumentTexts(std::span<const CValue> args)
{
    std::vector<std::string> texts;
    for (size_t i = 2; i < args.size(); ++i)
        texts.push_back(ArgumentText(args, i));
    return texts;
}

CValue HandlerStartCli(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Cli(StartCLI(CommandOf(entry, args), entry.Settings));
}

CValue HandlerCmd0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    CmdFunction0(CommandOf(entry, args), CliIndexOf(args), ArgumentTexts(args));
    return CValue{};
}

CValue HandlerCmd0_0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    CmdFunction0_0(CommandOf(entry, args), CliIndexOf(args));
    return CValue{};
}

CValue HandlerCmd1(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return builtin_args::TextResult(CmdFunction1(CommandOf(entry, args), CliIndexOf(args), ArgumentTexts(args)));
}

CValue HandlerCmd1_0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return builtin_args::TextResult(CmdFunction1_0(CommandOf(entry, args), CliIndexOf(args)));
}

CValue HandlerCmd2(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Boolean(CmdFunction2(CommandOf(entry, args), CliIndexOf(args), ArgumentTexts(args)));
}

CValue HandlerCmd2_0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Boolean(CmdFunction2_0(CommandOf(entry, args), CliIndexOf(args)));
}

CValue HandlerCmd3(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Integer(CmdFunction3(CommandOf(entry, args), CliIndexOf(args), ArgumentTexts(args)));
}

CValue HandlerCmd3_0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Integer(CmdFunction3_0(CommandOf(entry, args), CliIndexOf(args)));
}

CValue HandlerCmd4(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Real(CmdFunction4(CommandOf(entry, args), CliIndexOf(args), ArgumentTexts(args)));
}

CValue HandlerCmd4_0(const CFunctionEntry& entry, std::span<const CValue> args)
{
    return CValue::Real(CmdFunction4_0(CommandOf(entry, args), CliIndexOf(args)));
}

void WriteInterfaceErrors(const CParseErrors& errors, int lineNumber)
{
    CScriptMessages messages;
    for (const CParseError& error : errors)
        WriteText(Stream::Out, messages.FormatInterfaceError(error, lineNumber) + "\n");
}

int Refuse(int lineNumber, bool& errorFlag)
{
    WriteOut(DpbRefusedLine, lineNumber);
    errorFlag = true;
    return 1;
}

// The type of a CLI function's parameter, by its marker ('&', '$', ...); its tag is not used.
std::optional<TypeCode> InterfaceParamType(const CGrammarSymbol* marker)
{
    return marker ? std::optional<TypeCode>(InterfaceTypeCode(marker->SymbolName)) : std::nullopt;
}

}  // namespace

const std::array<CliHandlerEntry, 11> CliHandlerTable = {{
    {"StartCLI", &HandlerStartCli},
    {"CmdFunction0", &HandlerCmd0},
    {"CmdFunction0_0", &HandlerCmd0_0},
    {"CmdFunction1", &HandlerCmd1},
    {"CmdFunction1_0", &HandlerCmd1_0},
    {"CmdFunction2", &HandlerCmd2},
    {"CmdFunction2_0", &HandlerCmd2_0},
    {"CmdFunction3", &HandlerCmd3},
    {"CmdFunction3_0", &HandlerCmd3_0},
    {"CmdFunction4", &HandlerCmd4},
    {"CmdFunction4_0", &HandlerCmd4_0},
}};

TypeCode InterfaceTypeCode(std::string_view markerName)
{
    if (markerName == "&")
        return kTypeInteger;
    if (markerName == "$")
        return kTypeReal;
    if (markerName == "#")
        return kTypeBoolean;
    if (markerName == "@")
        return kTypeString;
    if (markerName == "_")
        return kTypeVoid;
    return kTypeUndetermined;
}

int FindCliHandler(std::string_view name)
{
    for (size_t i = 0; i < CliHandlerTable.size(); ++i)
        if (CliHandlerTable[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

std::string CliHandlerName(TypeCode returnType, int paramCount)
{
    const char* base = nullptr;
    switch (returnType) {
    case kTypeInteger:
        base = "CmdFunction3";
        break;
    case kTypeReal:
        base = "CmdFunction4";
        break;
    case kTypeBoolean:
        base = "CmdFunction2";
        break;
    case kTypeString:
        base = "CmdFunction1";
        break;
    case kTypeVoid:
        base = "CmdFunction0";
        break;
    default:
        return "error_CmdFunctionX_" + std::to_string(paramCount);
    }
    return paramCount == 0 ? std::string(base) + "_0" : std::string(base);
}

std::optional<CliDeclarationSettings> ParseCliSettings(std::string_view text)
{
    const std::vector<std::string_view> fields = SplitString(text, '|');
    if (fields.size() < 5)
        return std::nullopt;
    CliDeclarationSettings out;
    out.CommandLine = std::string(fields[0]);
    out.Settings.Terminator = std::string(fields[1]);
    out.Settings.SyncMode = LeadingDigits(fields[2]);
    out.Settings.ExitCommand = std::string(fields[3]);
    out.Settings.DropLineBreaks = LeadingDigits(fields[4]) == 1;
    // An empty line-break field leaves strip-quotes clear whatever follows it, as CLI lines
    // have always been read.
    out.Settings.StripQuotes = fields.size() > 5 && !fields[4].empty() && LeadingDigits(fields[5]) == 1;
    return out;
}

std::string FilterMacroBody(std::string_view body)
{
    std::string joined;
    size_t start = 0;
    bool inQuotes = false;
    for (size_t i = 0; i <= body.size(); ++i) {
        if (i < body.size()) {
            if (body[i] == '"')
                inQuotes = !inQuotes;
            if (body[i] != '&' || inQuotes)
                continue;
        }
        const std::string_view piece = body.substr(start, i - start);
        start = i + 1;
        if (piece.empty())
            continue;
        bool pieceInQuotes = false;
        bool dropped = false;
        for (size_t k = 0; k + 1 < piece.size(); ++k) {
            if (piece[k] == '"')
                pieceInQuotes = !pieceInQuotes;
            else if (piece[k] == ';' && !pieceInQuotes) {
                dropped = true;
                break;
            }
        }
        if (dropped)
            continue;
        if (!joined.empty())
            joined += '&';
        joined.append(piece);
    }
    return joined;
}

int CFunctionTable::ReadInterfaceLine(std::string_view line, CMacroTable& macros, int lineNumber, bool& errorFlag)
{
    errorFlag = false;
    // Without the interface grammar (its loader has said so) no line can be read.
    if (!IsLoaded())
        return Refuse(lineNumber, errorFlag);
    // The scanner would stop at a zero byte and apply the line cut short.
    if (line.find('\0') != std::string_view::npos)
        return Refuse(lineNumber, errorFlag);
    CScanner* scanner = CreateScanner();
    if (!scanner->Tokenize(line)) {
        WriteInterfaceErrors(scanner->GetErrors(), lineNumber);
        errorFlag = true;
        return 1;
    }
    CParser* parser = CreateParser();
    const CReduction* root = parser->Parse(scanner->GetTokens());
    if (!root) {
        WriteInterfaceErrors(parser->GetErrors(), lineNumber);
        errorFlag = true;
        return 1;
    }

    const CTerminal* keyword = AsTerminal(ChildAt(*root, 0));
    const CTerminal* name = AsTerminal(ChildAt(*root, 1));
    const CTerminal* value = AsTerminal(ChildAt(*root, 3));
    const std::string_view form = keyword ? std::string_view(keyword->Image) : std::string_view();
    if (!name)
        return Refuse(lineNumber, errorFlag);

    if (form == "CLI") {
        std::optional<CliDeclarationSettings> settings =
            value ? ParseCliSettings(Unquoted(value->Image)) : std::nullopt;
        if (!settings)
            return Refuse(lineNumber, errorFlag);
        CFunctionEntry entry;
        entry.Interface = &HandlerStartCli;
        entry.Name = name->Image;
        entry.ReturnType = kTypeCli;
        entry.InterfaceFlag = 1;
        entry.CliDeclaration = true;
        entry.CommandText = std::move(settings->CommandLine);
        entry.Settings = std::move(settings->Settings);
        Add(std::move(entry));
        return 0;
    }
    if (form == "CONST") {
        const std::string_view text = value ? WithoutTrailingBlanks(value->Image) : std::string_view();
        macros.Add(name->Image, text, kMacroKindConstant);
        return 0;
    }
    if (form == "MACRO") {
        macros.Add(name->Image, FilterMacroBody(value ? Unquoted(value->Image) : std::string_view()), kMacroKindMacro);
        return 0;
    }

    // A CLI function: type node, name, '(', parameters, ')', ':', template.
    const CReduction* typeNode = AsReduction(ChildAt(*root, 0));
    const CTerminal* marker = typeNode ? AsTerminal(ChildAt(*typeNode, 0)) : nullptr;
    const CTerminal* commandTemplate = AsTerminal(ChildAt(*root, 6));
    if (!marker || !commandTemplate)
        return Refuse(lineNumber, errorFlag);
    CFunctionEntry entry;
    entry.Name = name->Image;
    entry.ReturnType = InterfaceTypeCode(marker->SymbolName);
    if (!ReadParamTypes(AsReduction(ChildAt(*root, 3)), entry, InterfaceParamType))
        return Refuse(lineNumber, errorFlag);
    const int handler = FindCliHandler(CliHandlerName(entry.ReturnType, entry.ParamCount));
    if (handler < 0)
        return Refuse(lineNumber, errorFlag);
    entry.Interface = CliHandlerTable[static_cast<size_t>(handler)].Handler;
    entry.InterfaceFlag = 1;
    entry.CommandText = std::string(Unquoted(commandTemplate->Image));
    Add(std::move(entry));
    return 0;
}

void InterfaceLineSplitter::Feed(std::string_view bytes)
{
    for (char c : bytes) {
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n')
                continue;  // the LF of a CR LF
        }
        if (c == '\r' || c == '\n') {
            afterCr_ = c == '\r';
            EndLine();
            continue;
        }
        pending_ = true;
        if (line_.size() < kMaxInterfaceLine)
            line_ += c;
        else
            tooLong_ = true;
    }
}

void InterfaceLineSplitter::Finish()
{
    if (pending_)
        EndLine();
}

void InterfaceLineSplitter::EndLine()
{
    ++lineNumber_;
    handler_(lineNumber_, line_, tooLong_ || line_.size() >= kMaxInterfaceLine);
    line_.clear();
    tooLong_ = false;
    pending_ = false;
}

namespace {

class InterfaceApplier {
public:
    InterfaceApplier(CFunctionTable& table, CMacroTable& macros)
        : table_(table), macros_(macros), verbose_(Engine().Verbose.load())
    {}

    void Apply(int lineNumber, std::string_view text, bool tooLong)
    {
        if (text.size() <= 1 || text.front() == ';')
            return;
        bool flagged = false;
        if (tooLong)
            Refuse(lineNumber, flagged);
        else
            table_.ReadInterfaceLine(text, macros_, lineNumber, flagged);
        if (!flagged)
            return;
        ++errors_;
        if (verbose_)
            WriteOut(lines::EngInterfaceLineError, lineNumber, std::string(text).c_str());
    }

    int Errors() const { return errors_; }

private:
    CFunctionTable& table_;
    CMacroTable& macros_;
    bool verbose_;
    int errors_ = 0;
};

}  // namespace

int ReadInterfaceText(CFunctionTable& table, CMacroTable& macros, std::string_view text)
{
    InterfaceApplier applier(table, macros);
    InterfaceLineSplitter splitter(
        [&applier](int lineNumber, std::string_view line, bool tooLong) { applier.Apply(lineNumber, line, tooLong); });
    splitter.Feed(text);
    splitter.Finish();
    return applier.Errors();
}

int ReadInterfaceFile(CFunctionTable& table, CMacroTable& macros, const std::string& path)
{
    const bool verbose = Engine().Verbose.load();
    if (verbose)
        WriteOut(lines::EngReadInterface, path.c_str());
    const auto cannotRead = [&] {
        WriteCannotRead(path, verbose);
        return -1;
    };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    // A folder opens without complaint and reads as nothing at all: it would pass for an empty
    // interface, and the script would run without its CLIs.
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return cannotRead();
    InterfaceApplier applier(table, macros);
    InterfaceLineSplitter splitter(
        [&applier](int lineNumber, std::string_view line, bool tooLong) { applier.Apply(lineNumber, line, tooLong); });
    char buffer[65536];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        if (got > 0)
            splitter.Feed(std::string_view(buffer, got));
        if (got < sizeof buffer)
            break;
    }
    // A read that fails is a file that cannot be read, not a shorter interface; what was
    // applied before it is of no use, as initialisation fails on it.
    if (std::ferror(file.get()))
        return cannotRead();
    splitter.Finish();
    return applier.Errors();
}

}  // namespace zov

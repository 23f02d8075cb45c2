#include "ide/interfaces/model/InterfaceFile.h"

#include "common/NumberText.h"
#include "common/TextTrim.h"

#include <algorithm>
#include <set>

namespace zov::interfaces {

InterfaceView ViewOf(const Interface& source)
{
    InterfaceView view;
    for (const auto& record : source.clis)
        view.clis.push_back(record.get());
    for (const auto& record : source.constants)
        view.constants.push_back(record.get());
    for (const auto& record : source.functions)
        view.functions.push_back(record.get());
    for (const auto& record : source.macros)
        view.macros.push_back(record.get());
    return view;
}

namespace {

constexpr std::string_view kTypeCharacters = "_#@&$";

// Characters, not bytes: the text is decoded UTF-8, and a cut inside a sequence would leave
// invalid text behind.
std::size_t FirstCharacterLength(std::string_view text)
{
    std::size_t length = text.empty() ? 0 : 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

std::string_view WithoutLast(std::string_view text)
{
    if (text.empty())
        return text;
    std::size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    return text.substr(0, start);
}

std::string_view WithoutFirst(std::string_view text)
{
    return text.substr(FirstCharacterLength(text));
}

// The text without its first and last characters (quotes or braces, whatever they are).
std::string_view WithoutEnds(std::string_view text)
{
    return WithoutLast(WithoutFirst(text));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(from, start)) != std::string_view::npos; start = hit + from.size()) {
        out.append(text.substr(start, hit - start));
        out.append(to);
    }
    out.append(text.substr(start));
    return out;
}

// The name between the keyword and the first ':', trimmed. Taking everything up to the colon
// (rather than dropping the character before it) keeps "CONST Delay:100" named "Delay", as the
// engine reads it.
std::string_view NameBeforeColon(std::string_view line, std::size_t keywordLength)
{
    const std::size_t colon = line.find(':');
    if (keywordLength >= line.size())
        return {};
    if (colon == std::string_view::npos)
        return TrimBlanks(line.substr(keywordLength));
    if (colon <= keywordLength)
        return {};
    return TrimBlanks(line.substr(keywordLength, colon - keywordLength));
}

// The text after the first ':', trimmed.
std::string_view RestAfterColon(std::string_view line)
{
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(colon + 1));
}

std::string_view FunctionName(std::string_view line)
{
    std::size_t end = line.find('(');
    if (end == std::string_view::npos)
        end = std::min(line.find(':'), line.size());
    return line.substr(1, end - 1);
}

// The largest n such that "@1" ... "@n" all occur in the line. "@12" holds "@1" and "@12", so
// every prefix of the digits after an '@' counts as present.
int CountParameters(std::string_view line)
{
    std::set<int> present;
    for (std::size_t at = line.find('@'); at != std::string_view::npos; at = line.find('@', at + 1)) {
        int value = 0;
        for (std::size_t i = at + 1; i < line.size() && i <= at + 9; ++i) {
            const char c = line[i];
            if (c < '0' || c > '9')
                break;
            value = value * 10 + (c - '0');
            present.insert(value);
        }
    }
    int count = 0;
    while (present.count(count + 1) != 0)
        ++count;
    return count;
}

// The CLI fields after the path, read one at a time; missing fields keep the record's defaults
// ("exit", 1, 0), so lines of three to six fields are all taken.
void ReadCliFields(std::string_view rest, CliRecord& record)
{
    const std::size_t firstBar = rest.find('|');
    if (rest.empty()) {
        record.path.clear();
    } else if (firstBar == std::string_view::npos) {
        record.path = std::string(WithoutEnds(rest));
    } else {
        record.path = std::string(WithoutFirst(rest.substr(0, firstBar)));
    }
    std::string_view r = firstBar == std::string_view::npos ? std::string_view() : rest.substr(firstBar + 1);

    r = TrimBlanks(r);
    std::size_t bar = r.find('|');
    record.syncMessage = bar == std::string_view::npos ? std::string() : std::string(r.substr(0, bar));
    if (bar != std::string_view::npos)
        r = r.substr(bar + 1);

    bar = r.find('|');
    record.syncMode = ParseLeadingInt(bar == std::string_view::npos ? WithoutLast(r) : r.substr(0, bar));

    if (bar == std::string_view::npos)
        return;
    r = r.substr(bar + 1);
    bar = r.find('|');
    const std::string_view trimmed = TrimBlanks(r);
    record.stopMessage =
        std::string(bar == std::string_view::npos ? WithoutLast(r) : trimmed.substr(0, trimmed.find('|')));

    if (bar == std::string_view::npos)
        return;
    r = r.substr(bar + 1);
    record.stripLineBreaks = ParseLeadingInt(WithoutLast(TrimBlanks(r))) == 1 ? 1 : 0;

    bar = r.find('|');
    if (bar == std::string_view::npos)
        return;
    r = r.substr(bar + 1);
    record.stripQuotes = ParseLeadingInt(WithoutLast(TrimBlanks(r))) == 1 ? 1 : 0;
}

}  // namespace

std::vector<std::string_view> SplitInterfaceLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

DefinitionKind KindOfLine(std::string_view line)
{
    if (line.empty())
        return DefinitionKind::None;
    if (kTypeCharacters.find(line.front()) != std::string_view::npos)
        return DefinitionKind::Function;
    if (line.starts_with("CLI"))
        return DefinitionKind::Cli;
    if (line.starts_with("CONST"))
        return DefinitionKind::Constant;
    if (line.starts_with("MACRO"))
        return DefinitionKind::Macro;
    return DefinitionKind::None;
}

void ParseInterfaceText(std::string_view text, int interfaceIndex, Interface& target, std::vector<RecordPlace>* order)
{
    for (const std::string_view line : SplitInterfaceLines(text)) {
        const DefinitionKind kind = KindOfLine(line);
        std::size_t place = 0;
        switch (kind) {
        case DefinitionKind::None:
            continue;
        case DefinitionKind::Cli: {
            auto record = std::make_unique<CliRecord>();
            record->name = std::string(NameBeforeColon(line, 3));
            ReadCliFields(RestAfterColon(line), *record);
            record->interfaceIndex = interfaceIndex;
            place = target.clis.size();
            target.clis.push_back(std::move(record));
            break;
        }
        case DefinitionKind::Function: {
            auto record = std::make_unique<FunctionRecord>();
            record->name = std::string(FunctionName(line));
            record->command = ReplaceAll(WithoutEnds(RestAfterColon(line)), "%s", "%%");
            record->returnType = static_cast<int>(kTypeCharacters.find(line.front()));
            record->paramCount = CountParameters(line);
            record->interfaceIndex = interfaceIndex;
            place = target.functions.size();
            target.functions.push_back(std::move(record));
            break;
        }
        case DefinitionKind::Constant: {
            auto record = std::make_unique<ConstantRecord>();
            record->name = std::string(NameBeforeColon(line, 5));
            const std::string_view rest = RestAfterColon(line);
            if (rest.starts_with('"')) {
                record->value = std::string(WithoutEnds(rest));
                record->type =
                    record->value.empty() || record->value.starts_with("%%") ? PredefinedConstant : StringConstant;
            } else {
                record->value = std::string(rest);
                record->type = rest == "true" || rest == "false" ? BooleanConstant : NumberConstant;
            }
            record->interfaceIndex = interfaceIndex;
            place = target.constants.size();
            target.constants.push_back(std::move(record));
            break;
        }
        case DefinitionKind::Macro: {
            auto record = std::make_unique<MacroRecord>();
            record->name = std::string(NameBeforeColon(line, 5));
            record->body = std::string(WithoutEnds(RestAfterColon(line)));
            record->interfaceIndex = interfaceIndex;
            place = target.macros.size();
            target.macros.push_back(std::move(record));
            break;
        }
        }
        if (order)
            order->emplace_back(kind, place);
    }
}

std::pair<DefinitionKind, std::string> ClassifyDefinitionLine(std::string_view line)
{
    const DefinitionKind kind = KindOfLine(line);
    switch (kind) {
    case DefinitionKind::None:
        return {kind, {}};
    case DefinitionKind::Function:
        return {kind, std::string(TrimBlanks(FunctionName(line)))};
    case DefinitionKind::Cli:
        return {kind, std::string(NameBeforeColon(line, 3))};
    case DefinitionKind::Constant:
    case DefinitionKind::Macro:
        return {kind, std::string(NameBeforeColon(line, 5))};
    }
    return {DefinitionKind::None, {}};
}

char ReturnTypeCharacter(int returnType)
{
    return returnType >= 0 && returnType < static_cast<int>(kTypeCharacters.size()) ? kTypeCharacters[returnType] : '_';
}

namespace {

// A field on one line: every line break (CR LF, LF or CR) becomes `joiner`, so that a record
// never spans two lines of the file.
std::string OneLine(std::string_view text, std::string_view joiner = " ")
{
    if (text.find_first_of("\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.append(joiner);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::string FormatCliLine(const CliRecord& record, std::string_view path)
{
    std::string line =
        "CLI " + OneLine(record.name) + " : \"" + OneLine(path) + "|" + OneLine(record.syncMessage) + "|";
    line += std::to_string(record.syncMode) + "|" + OneLine(record.stopMessage) + "|";
    line += std::to_string(record.stripLineBreaks) + "|" + std::to_string(record.stripQuotes) + "\"";
    return line;
}

std::string FormatFunctionLine(const FunctionRecord& record)
{
    std::string line(1, ReturnTypeCharacter(record.returnType));
    line += OneLine(record.name) + "(";
    for (int n = 1; n <= record.paramCount; ++n) {
        if (n > 1)
            line += ", ";
        line += "@" + std::to_string(n);
    }
    line += ") : \"" + OneLine(record.command) + "\"";
    return ReplaceAll(line, "%%", "%s");
}

std::string FormatConstantLine(const ConstantRecord& record)
{
    const std::string head = "CONST " + OneLine(record.name) + " : ";
    if (record.type == NumberConstant || record.type == BooleanConstant)
        return head + OneLine(record.value);
    return head + "\"" + OneLine(record.value) + "\"";
}

std::string FormatMacroLine(const MacroRecord& record)
{
    return "MACRO " + OneLine(record.name) + " : {" + OneLine(record.body, " & ") + "}";
}

std::string FormatInterfaceText(const InterfaceView& source, const shell::Translate& translate,
                                const TempExpansion* expansion)
{
    std::string out;
    const auto title = [&](std::string_view text) { out += ";" + translate(text) + "\r\n"; };
    const auto line = [&](const std::string& text) { out += text + "\r\n"; };

    if (!source.clis.empty()) {
        title("Liste des CLI");
        for (const CliRecord* record : source.clis)
            line(FormatCliLine(*record, expansion ? expansion->cliPath(*record) : record->path));
        out += "\r\n\r\n";
    }
    if (!source.functions.empty()) {
        title("Liste des fonctions");
        for (const FunctionRecord* record : source.functions)
            line(FormatFunctionLine(*record));
        out += "\r\n\r\n";
    }
    if (!source.constants.empty()) {
        title("Liste des constantes");
        for (const ConstantRecord* record : source.constants) {
            std::optional<std::string> folder;
            if (expansion && record->type == PredefinedConstant)
                folder = expansion->predefinedFolder(record->value);
            if (folder) {
                ConstantRecord expanded = *record;
                expanded.value = ReplaceAll(*folder, "\\", "\\\\");
                line(FormatConstantLine(expanded));
            } else {
                line(FormatConstantLine(*record));
            }
        }
        out += "\r\n\r\n";
    }
    if (!source.macros.empty()) {
        title("Liste des macros");
        for (const MacroRecord* record : source.macros)
            line(FormatMacroLine(*record));
    }
    return out;
}

}  // namespace zov::interfaces

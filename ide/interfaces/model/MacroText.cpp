#include "ide/interfaces/model/MacroText.h"

namespace zov::interfaces {

namespace {

// A macro that names itself grows at every pass; past this size the expansion stops where it is.
constexpr std::size_t kLargestExpansion = std::size_t{1} << 24;

bool IsWordSeparator(char c)
{
    switch (c) {
    case ' ':
    case '\r':
    case '\n':
    case '\t':
    case '(':
    case ')':
    case ',':
    case '+':
    case '-':
    case '/':
    case '*':
    case '^':
    case '<':
    case '>':
    case '=':
    case '!':
        return true;
    default:
        return false;
    }
}

// The end of the word that starts at `start`: the next separator, or the closing quote (or line
// feed) of a double quote met inside the word.
std::size_t WordEnd(std::string_view text, std::size_t start)
{
    std::size_t end = start;
    while (end < text.size()) {
        const char c = text[end];
        if (IsWordSeparator(c))
            return end;
        if (c == '"') {
            const std::size_t close = text.find_first_of("\"\n", end + 1);
            return close == std::string_view::npos ? text.size() : close;
        }
        ++end;
    }
    return end;
}

}  // namespace

std::string FoldMacroText(std::string_view text)
{
    // Every line break as one '\n', runs of them (empty lines) as one.
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            c = '\n';
        }
        if (c == '\n' && !lines.empty() && lines.back() == '\n')
            continue;
        lines.push_back(c);
    }
    if (!lines.empty() && lines.back() == '\n')
        lines.pop_back();

    std::string body;
    body.reserve(lines.size());
    for (const char c : lines) {
        if (c == '\n')
            body += " & ";
        else if (c == '\t')
            body += "    ";
        else
            body.push_back(c);
    }
    return body;
}

std::string UnfoldMacroBody(std::string_view body, std::string_view indent)
{
    std::string out;
    out.reserve(body.size());
    bool inQuotes = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '&' && !inQuotes) {
            if (!out.empty() && out.back() == ' ')
                out.pop_back();
            out.push_back('\n');
            out.append(indent);
            if (i + 1 < body.size() && body[i + 1] == ' ')
                ++i;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::size_t FindWholeWord(std::string_view text, std::string_view word)
{
    if (word.empty())
        return std::string_view::npos;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = WordEnd(text, start);
        if (text.substr(start, end - start) == word)
            return start;
        start = end + 1;
    }
    return std::string_view::npos;
}

std::string ReplaceWholeWords(std::string_view text, std::string_view word, std::string_view replacement)
{
    if (word.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = WordEnd(text, start);
        const std::string_view found = text.substr(start, end - start);
        out.append(found == word ? replacement : found);
        if (end < text.size())
            out.push_back(text[end]);
        start = end + 1;
    }
    return out;
}

std::string ExpandMacroText(const std::vector<const MacroRecord*>& macros, std::string_view name, int depth)
{
    const MacroRecord* root = nullptr;
    for (const MacroRecord* macro : macros) {
        if (macro->name == name) {
            root = macro;
            break;
        }
    }
    if (!root)
        return {};
    std::string text = UnfoldMacroBody(root->body);
    for (int pass = 1; pass < depth; ++pass) {
        for (const MacroRecord* macro : macros) {
            const std::size_t at = FindWholeWord(text, macro->name);
            if (at == std::string::npos)
                continue;
            // The nested lines line up with the call's own line.
            const std::size_t lineStart = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;
            std::size_t indentEnd = lineStart;
            while (indentEnd < at && (text[indentEnd] == ' ' || text[indentEnd] == '\t'))
                ++indentEnd;
            const std::string indent = text.substr(lineStart, indentEnd - lineStart);
            text = ReplaceWholeWords(text, macro->name, UnfoldMacroBody(macro->body, indent));
            if (text.size() > kLargestExpansion)
                return text;
        }
    }
    return text;
}

}  // namespace zov::interfaces

// Probe commands of the syntax colouring: the languages syntax files give, and a file coloured
// line by line with its macro-call marks. Left out when the editor model is not built (no Qt).
#if __has_include(<QString>)

#include "common/TextCodec.h"
#include "ide/editor/model/LanguageForPath.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zov::interfaces::InterfaceSet;

std::string CharText(char32_t code)
{
    std::string text;
    if (code != 0)
        zov::AppendUtf8(text, code);
    return text;
}

// stx-dump FILE...: the files read in the order given, each language as "[name]", its
// directives, then one "kw=" line per keyword.
int StxDump(std::span<char* const> args)
{
    if (args.empty()) {
        std::fputs("usage: zovprobe stx-dump FILE...\n", stderr);
        return 2;
    }
    zov::shell::RecordingPrompter prompter;
    InterfaceSet set({"", "", ""}, prompter);
    int status = 0;
    for (const char* path : args) {
        if (!set.ReadSyntaxFile(path)) {
            std::fprintf(stderr, "cannot read %s\n", path);
            status = 1;
        }
    }
    for (const auto& language : set.SyntaxLanguages()) {
        std::printf("[%s]\ntype=%s\ncomment=%s\ncomment_s=%s\ncomment_e=%s\nstring1=%s\nstring2=%s\n",
                    language->name.c_str(), language->type.c_str(), language->lineComment.c_str(),
                    language->blockCommentStart.c_str(), language->blockCommentEnd.c_str(),
                    CharText(language->stringDelimiter1).c_str(), CharText(language->stringDelimiter2).c_str());
        for (const std::string& keyword : language->keywords)
            std::printf("kw=%s\n", keyword.c_str());
    }
    return status;
}

// colour [--stx F] [--qzi Q] FILE: per line, the cookie handed to the next line, one hex digit
// per character for its colour, and " macro=<name>" on a macro-call line. The language is the
// one the file's path chooses.
int Colour(std::span<char* const> args)
{
    std::string stx;
    std::string qzi;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if ((arg == "--stx" || arg == "--qzi") && i + 1 < args.size()) {
            (arg == "--stx" ? stx : qzi) = args[++i];
        } else if (file.empty()) {
            file = arg;
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty()) {
        std::fputs("usage: zovprobe colour [--stx F] [--qzi Q] FILE\n", stderr);
        return 2;
    }
    zov::shell::RecordingPrompter prompter;
    InterfaceSet set({"", "", ""}, prompter);
    if (!stx.empty() && !set.ReadSyntaxFile(stx)) {
        std::fprintf(stderr, "cannot read %s\n", stx.c_str());
        return 1;
    }
    if (!qzi.empty() && !set.Load(qzi)) {
        std::fprintf(stderr, "cannot load %s\n", qzi.c_str());
        return 1;
    }
    const zov::editor::DocumentLanguage document = zov::editor::LanguageForPath(file, set);
    if (document.refused) {
        std::fprintf(stderr, "no syntax language for %s\n", file.c_str());
        return 1;
    }
    zov::editor::CTextBuffer buffer;
    if (!buffer.LoadFromFile(file)) {
        std::fprintf(stderr, "cannot load %s\n", file.c_str());
        return 1;
    }
    const zov::editor::MacroCallMarks marks(buffer, &set);
    zov::editor::LineColouring colouring(&buffer);
    colouring.SetNames(&set);
    if (document.language != nullptr)
        colouring.SetMarkers(zov::editor::MarkersForLanguage(document.language));
    std::vector<zov::editor::ColourBlock> blocks;
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        const std::uint32_t cookie = colouring.ColourLine(line, blocks);
        std::string digits;
        for (const int colour : zov::editor::EffectiveColours(blocks, buffer.GetLineLength(line)))
            digits.push_back("0123456789abcdef"[colour & 15]);
        std::printf("%u %s", cookie, digits.c_str());
        if (buffer.HasMacroName(line))
            std::printf(" macro=%s", buffer.GetMacroName(line).toStdString().c_str());
        std::putchar('\n');
    }
    return 0;
}

const zov::probe::CommandRegistration stxDump{"stx-dump", "FILE...", StxDump};
const zov::probe::CommandRegistration colour{"colour", "[--stx F] [--qzi Q] FILE", Colour};

}  // namespace

#endif

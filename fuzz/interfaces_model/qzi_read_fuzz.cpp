// Feeds arbitrary bytes to the IDE's interface reader, writes what it read and reads that again,
// and checks what the rest of the IDE relies on: the text is valid UTF-8, every record is one
// line of the file, the records come back in the same numbers with the same names, and a second
// round trip changes nothing in the names. The input is also used raw as field values, line
// breaks included, which the writer must keep on one line.
#include "common/TextCodec.h"
#include "ide/interfaces/model/InterfaceFile.h"
#include "ide/interfaces/model/MacroText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace zov::interfaces;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::size_t Records(const Interface& source)
{
    return source.clis.size() + source.constants.size() + source.functions.size() + source.macros.size();
}

// Lines the writer makes for a source: a title and two empty lines per section but the last
// kind, one line per record.
std::size_t ExpectedLines(const Interface& source)
{
    std::size_t lines = Records(source);
    lines += source.clis.empty() ? 0 : 3;
    lines += source.functions.empty() ? 0 : 3;
    lines += source.constants.empty() ? 0 : 3;
    lines += source.macros.empty() ? 0 : 1;
    return lines;
}

std::size_t CrLfLines(std::string_view text)
{
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            Check(i > 0 && text[i - 1] == '\r');
            ++lines;
        } else if (text[i] == '\r') {
            Check(i + 1 < text.size() && text[i + 1] == '\n');
        }
    }
    Check(text.empty() || text.ends_with("\r\n"));
    return lines;
}

void CheckSameNames(const Interface& a, const Interface& b)
{
    Check(a.clis.size() == b.clis.size() && a.constants.size() == b.constants.size() &&
          a.functions.size() == b.functions.size() && a.macros.size() == b.macros.size());
    for (std::size_t i = 0; i < a.clis.size(); ++i)
        Check(a.clis[i]->name == b.clis[i]->name);
    for (std::size_t i = 0; i < a.constants.size(); ++i)
        Check(a.constants[i]->name == b.constants[i]->name);
    for (std::size_t i = 0; i < a.macros.size(); ++i)
        Check(a.macros[i]->name == b.macros[i]->name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = zov::DecodeText(bytes);
    const zov::shell::Translate same = zov::shell::IdentityTranslate();

    Interface first;
    ParseInterfaceText(text, -1, first);
    const std::string written = FormatInterfaceText(ViewOf(first), same);
    Check(zov::IsValidUtf8(written));
    Check(CrLfLines(written) == ExpectedLines(first));

    Interface second;
    ParseInterfaceText(written, -1, second);
    CheckSameNames(first, second);
    Interface third;
    ParseInterfaceText(FormatInterfaceText(ViewOf(second), same), -1, third);
    CheckSameNames(second, third);

    // Every line of what was written names a definition of the kind its record has.
    std::size_t named = 0;
    for (const std::string_view line : SplitInterfaceLines(written))
        named += ClassifyDefinitionLine(line).first != DefinitionKind::None ? 1 : 0;
    Check(named == Records(first));

    // Raw input as the values of one record of each kind.
    Interface raw;
    raw.clis.push_back(std::make_unique<CliRecord>(CliRecord{text, text, text, 1, text, 1, 0, -1}));
    raw.functions.push_back(std::make_unique<FunctionRecord>(FunctionRecord{text, text, 3, 2, -1}));
    raw.constants.push_back(std::make_unique<ConstantRecord>(ConstantRecord{text, text, StringConstant, -1}));
    raw.macros.push_back(std::make_unique<MacroRecord>(MacroRecord{text, text, -1}));
    Check(CrLfLines(FormatInterfaceText(ViewOf(raw), same)) == ExpectedLines(raw));

    // The macro text helpers on the same input.
    const std::string body = FoldMacroText(text);
    Check(body.find_first_of("\r\n\t") == std::string::npos);
    (void)UnfoldMacroBody(body, "  ");
    (void)ReplaceWholeWords(text, "N", "x");
    return 0;
}

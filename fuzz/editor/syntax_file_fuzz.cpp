// Arbitrary bytes as a syntax file, then as script text coloured under each language it gave:
// reading never fails, every language has a name, and the colouring of every line keeps its
// blocks in order, inside the line, and agrees with the cookie-only pass.
#include "ide/editor/model/SyntaxColouring.h"
#include "ide/interfaces/model/SyntaxLanguage.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace zov;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    interfaces::SyntaxLanguageList languages;
    interfaces::ParseSyntaxText(bytes, languages);
    if (languages.size() > size)
        std::abort();

    const QStringList lines = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).split(u'\n');
    std::vector<editor::SyntaxColourer> colourers(1);
    for (std::size_t i = 0; i < languages.size() && i < 4; ++i)
        colourers.emplace_back(editor::MarkersForLanguage(languages[i].get()));
    std::vector<editor::ColourBlock> blocks;
    for (const editor::SyntaxColourer& colourer : colourers) {
        std::uint32_t cookie = 0;
        for (const QString& line : lines) {
            const std::uint32_t next = colourer.ColourLine(line, cookie, &blocks);
            if (next != colourer.ColourLine(line, cookie, nullptr) || (next & ~0x0Du) != 0)
                std::abort();
            for (std::size_t b = 0; b < blocks.size(); ++b) {
                if (blocks[b].charIndex < 0 || blocks[b].charIndex > line.size() ||
                    (b > 0 && blocks[b].charIndex < blocks[b - 1].charIndex))
                    std::abort();
            }
            if (blocks.size() > static_cast<std::size_t>(3 * line.size() + 1))
                std::abort();
            cookie = next;
        }
    }
    return 0;
}

#include "ide/interfaces/model/RowTexts.h"

#include "common/TextCodec.h"

namespace zov::interfaces {

namespace {

constexpr std::size_t kShownCharacters = 50;

// The byte offset of each character: a cut never splits a UTF-8 sequence.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();) {
        starts.push_back(pos);
        NextChar(text, pos);
    }
    return starts;
}

std::string Cut(std::string_view body)
{
    const std::vector<std::size_t> starts = CharacterStarts(body);
    if (starts.size() <= kShownCharacters)
        return std::string(body);
    return std::string(body.substr(0, starts[kShownCharacters])) + "...";
}

std::string Column(std::string_view value)
{
    return " " + std::string(value);
}

}  // namespace

std::vector<std::string> CliRowTexts(const CliRecord& record)
{
    return {Column(record.name), Column(record.path)};
}

std::vector<std::string> FunctionRowTexts(const FunctionRecord& record, const shell::Translate& translate)
{
    static constexpr std::string_view kTypes[] = {"Aucun", "Booléen", "Chaine", "Entier", "Réel"};
    const bool known = record.returnType >= 0 && record.returnType < 5;
    return {Column(record.name), Column(record.command), Column(known ? translate(kTypes[record.returnType]) : ""),
            Column(std::to_string(record.paramCount))};
}

std::vector<std::string> ConstantRowTexts(const ConstantRecord& record, const shell::Translate& translate)
{
    static constexpr std::string_view kTypes[] = {"Chaine", "Entier/réel", "Booléen", "Prédéfinie"};
    const bool known = record.type >= 0 && record.type < 4;
    return {Column(record.name), Column(known ? translate(kTypes[record.type]) : ""), Column(record.value)};
}

std::vector<std::string> MacroRowTexts(const MacroRecord& record)
{
    return {Column(record.name), Column(MacroBodyRowText(record.body))};
}

std::string MacroBodyRowText(std::string_view body)
{
    const std::size_t ampersand = body.find('&');
    if (ampersand != std::string_view::npos) {
        const std::vector<std::size_t> starts = CharacterStarts(body.substr(0, ampersand));
        if (starts.size() < kShownCharacters)
            return std::string(body.substr(0, ampersand)) + "...";
    }
    return Cut(body);
}

std::string EditedMacroBodyRowText(std::string_view body)
{
    return Cut(body);
}

std::string InsertedInterfaceHeaderText(std::string_view displayName)
{
    return " [" + std::string(displayName) + "]";
}

}  // namespace zov::interfaces

#include "ide/shell/core/TipsFile.h"

#include "common/TextCodec.h"
#include "ide/shell/core/StringTable.h"

namespace zov::shell {

TipsFile::TipsFile(const Settings& settings, std::string_view fileName, Prompter& prompter, Translate translate)
    : settings_(settings), prompter_(prompter), translate_(std::move(translate))
{
    const int position = settings_.GetInt(SettingId::TipsFilePos);
    startUp_ = settings_.GetInt(SettingId::TipsStartUp) != 0;
    file_.open(settings_.ProgramFolder() / std::string(fileName), std::ios::binary);
    if (!file_.is_open()) {
        tip_ = translate_(LoadStringResource(string_ids::kTipsFileUnreadable));
        return;
    }
    if (position < 0 || !file_.seekg(position, std::ios::beg)) {
        file_.clear();
        ReportReadProblem();
        return;
    }
    ReadNextTip();
}

TipsFile::~TipsFile()
{
    if (!file_.is_open())
        return;
    file_.clear();
    const std::streamoff offset = file_.tellg();
    if (offset >= 0)
        settings_.WriteInt(SettingId::TipsFilePos, static_cast<int>(offset));
}

std::optional<std::string> TipsFile::TipOfLine(std::string_view line)
{
    if (line.empty() || line.front() == ' ' || line.front() == '\t' || line.front() == ';')
        return std::nullopt;
    if (line.starts_with("[C]") || line.starts_with("[N]"))
        line.remove_prefix(3);
    return std::string(line);
}

std::optional<std::string> TipsFile::ReadLine()
{
    std::string line;
    std::streambuf* buffer = file_.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (line.empty()) {
                file_.setstate(std::ios::eofbit);
                return std::nullopt;
            }
            return line;
        }
        if (c == '\n')
            return line;
        if (c == '\r') {
            if (buffer->sgetc() == '\n')
                buffer->sbumpc();
            return line;
        }
        line += static_cast<char>(c);
    }
}

bool TipsFile::Rewind()
{
    file_.clear();
    return static_cast<bool>(file_.seekg(0, std::ios::beg));
}

void TipsFile::ReportReadProblem()
{
    tip_.clear();
    prompter_.Tell(translate_(LoadStringResource(string_ids::kTipsReadProblem)), PromptIcon::Warning);
}

void TipsFile::ReadNextTip()
{
    tip_.clear();
    if (!file_.is_open())
        return;
    // A file without a single tip ends after one whole pass instead of going round for ever.
    bool wholePass = file_.tellg() == std::streamoff(0);
    for (;;) {
        std::optional<std::string> line = ReadLine();
        if (!line) {
            if (wholePass)
                return;
            if (!Rewind()) {
                ReportReadProblem();
                return;
            }
            wholePass = true;
            continue;
        }
        if (std::optional<std::string> tip = TipOfLine(*line)) {
            tip_ = DecodeText(*tip);
            return;
        }
    }
}

void TipsFile::SaveShowAtStartup(bool show)
{
    startUp_ = show;
    settings_.WriteInt(SettingId::TipsStartUp, show ? 1 : 0);
}

}  // namespace zov::shell

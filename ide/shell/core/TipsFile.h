#pragma once
// The tips file of the tip-of-the-day dialog: one tip per line, read one at a time from where the
// previous dialog stopped (Tips/FilePos) and round again after the last. Lines that are empty or
// start with a blank, a TAB or ';' are not tips; "[C]" or "[N]" at the start of a tip is dropped.

#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Settings.h"
#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace zov::shell {

class TipsFile {
public:
    // Reads Tips/FilePos and Tips/StartUp, opens program folder + "/" + name and reads the tip
    // at the stored position: one tip is used up by every construction, shown or not. Messages
    // (string 602 when the position cannot be reached) go to the prompter.
    TipsFile(const Settings& settings, std::string_view fileName, Prompter& prompter,
             Translate translate = IdentityTranslate());
    // Writes Tips/FilePos = the offset of the line after the last tip read, when the file is open.
    ~TipsFile();
    TipsFile(const TipsFile&) = delete;
    TipsFile& operator=(const TipsFile&) = delete;

    bool IsOpen() const { return file_.is_open(); }
    // The tip, UTF-8 (Windows-1252 files decoded), without line end; string 601 when the file
    // cannot be opened, "" when it holds no tip or cannot be read.
    const std::string& Tip() const { return tip_; }
    bool ShowAtStartup() const { return startUp_; }

    void ReadNextTip();
    // Keeps the flag and writes Tips/StartUp (the dialog's OK).
    void SaveShowAtStartup(bool show);

    // The line without its "[C]"/"[N]" mark; nullopt for a line that is no tip.
    static std::optional<std::string> TipOfLine(std::string_view line);

private:
    // One line without its end (CR LF, LF or CR); nullopt at the end of the file.
    std::optional<std::string> ReadLine();
    bool Rewind();
    void ReportReadProblem();

    const Settings& settings_;
    Prompter& prompter_;
    Translate translate_;
    std::ifstream file_;
    std::string tip_;
    bool startUp_ = false;
};

}  // namespace zov::shell

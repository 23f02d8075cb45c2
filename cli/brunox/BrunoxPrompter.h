// Every dialog of Brunox is shown through one prompter, so that a batch run or a test can answer
// the dialogs without a window and never blocks on a modal one. The commands prepare the dialog
// and read their answer from it in the same way whichever prompter ran it.
#pragma once

#include "BrunoxAnswers.h"

#include <filesystem>
#include <memory>
#include <string>

class QDialog;

namespace zov {
class CFolderPicker;
}

// Names a file of answers; when set (and not empty), the dialogs are answered from it.
inline constexpr const char* kPrompterScriptVariable = "ZOV_PROMPTER_SCRIPT";

// The error lines of a scripted run; the dialog is then cancelled. The first names the file, the
// second the file and the line.
inline constexpr const char* kNoAnswerMessage =
    "Pas de r\xC3\xA9ponse pour la bo\xC3\xAEte de dialogue dans %s : elle est annul\xC3\xA9"
    "e.\n";
inline constexpr const char* kWrongAnswerMessage =
    "R\xC3\xA9ponse incorrecte pour la bo\xC3\xAEte de dialogue (%s, ligne %d) : elle est annul\xC3\xA9"
    "e.\n";

class CPrompter {
public:
    virtual ~CPrompter() = default;

    // Runs a prepared dialog to its end: QDialog::Accepted or QDialog::Rejected, as exec() gives.
    virtual int Exec(QDialog& dialog) = 0;
    // Runs the folder picker: 1 with picker.result set, 0 otherwise, as CFolderPicker::Browse.
    virtual int Browse(zov::CFolderPicker& picker) = 0;
};

// The operator's prompter: the real modal windows.
class CWindowPrompter : public CPrompter {
public:
    int Exec(QDialog& dialog) override;
    int Browse(zov::CFolderPicker& picker) override;
};

// Answers each dialog with the next answer line of a file, without a window. A line is a button,
// "ok" (or "yes") or "cancel" (or "no"), then, after one blank, what the operator gives with OK:
// the typed text of editbox, the item index of combobox, the path of loadfile, savefile and
// selectpath. Blank lines and lines starting with '#' are skipped. The file is read again at each
// dialog, so answers may be added while the program runs. A missing or unfit answer cancels the
// dialog, with an error line on standard error.
class CScriptedPrompter : public CPrompter {
public:
    explicit CScriptedPrompter(std::filesystem::path answers);

    int Exec(QDialog& dialog) override;
    int Browse(zov::CFolderPicker& picker) override;

private:
    struct TAnswer : TPromptAnswer {
        int iLine = 0;
    };

    bool NextAnswer(TAnswer& answer);
    void Refuse(const TAnswer& answer) const;

    std::filesystem::path m_answers;
    int m_iLinesRead = 0;  // lines taken so far, skipped ones included
};

// The prompter that the environment asks for (see kPrompterScriptVariable).
std::unique_ptr<CPrompter> MakePrompterFromEnvironment();

// Whether the environment names a file of answers.
bool PrompterScriptNamed();

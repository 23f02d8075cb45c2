#include "BrunoxCmd.h"

#include "BrunoxApplication.h"
#include "BrunoxDialogs.h"
#include "common/gui/FolderPicker.h"
#include "common/IniFile.h"
#include "common/SettingsLocation.h"
#include "common/TextCodec.h"
#include "main.h"

#include <QFileDialog>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Arguments arrive as bytes: UTF-8 when they are valid UTF-8, Windows-1252 otherwise.
QString Decoded(const char* text)
{
    return QString::fromStdString(zov::DecodeText(text));
}

// Reads "%d,%d" as scanf would, stopping at the first number that does not scan; a number out of
// the range of int does not scan either (scanf's result would be undefined).
void ScanPair(const std::string& text, int& first, int& second)
{
    const char* p = text.c_str();
    for (int* target : {&first, &second}) {
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || value < INT_MIN || value > INT_MAX)
            return;
        *target = static_cast<int>(value);
        p = end;
        if (target == &first) {
            if (*p != ',')
                return;
            ++p;
        }
    }
}

// One settings section per dialog, keys "POSITION" and "SIZE", each "%d,%d".
TPlacement ReadPlacement(const std::filesystem::path& settings, const char* section)
{
    const zov::IniFile ini(settings);
    TPlacement placement;
    ScanPair(ini.GetString(section, "POSITION", "-1,-1"), placement.iLeft, placement.iTop);
    ScanPair(ini.GetString(section, "SIZE", "-1,-1"), placement.iWidth, placement.iHeight);
    return placement;
}

void WritePlacement(const std::filesystem::path& settings, const char* section, const TPlacement& placement)
{
    // A settings file that cannot be written only costs the next run its placement.
    const zov::IniFile ini(settings);
    ini.WriteString(section, "POSITION", std::to_string(placement.iLeft) + "," + std::to_string(placement.iTop));
    ini.WriteString(section, "SIZE", std::to_string(placement.iWidth) + "," + std::to_string(placement.iHeight));
}

// Runs one of the four own dialogs: placement in, caption and text, modal run through the
// prompter, placement out. A dialog answered without being shown leaves the placement alone.
template <typename Dialog, typename Prepare, typename Answer>
std::string RunOwnDialog(CPrompter& prompter, const std::filesystem::path& settings, const char* section,
                         const char* title, const char* text, Prepare prepare, Answer answer)
{
    Dialog dialog;
    dialog.SetInitialPlacement(ReadPlacement(settings, section));
    dialog.SetCaption(Decoded(title));
    dialog.SetLabelText(zov::DecodeText(text));
    prepare(dialog);
    const int result = prompter.Exec(dialog);
    std::string reply = answer(dialog, result == QDialog::Accepted);
    if (dialog.WasShown())
        WritePlacement(settings, section, dialog.CurrentPlacement());
    return reply;
}

// Without a display the command fails with an error line and the answer of a cancelled dialog.
bool DisplayOrError()
{
    if (BrunoxHasDisplay())
        return true;
    std::fputs(kNoDisplayMessage, stderr);
    return false;
}

// A typed answer must stay one line of the protocol.
std::string OneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.toStdString();
}

}  // namespace

CDialogCmd::CDialogCmd(std::filesystem::path settingsPath, std::unique_ptr<CPrompter> prompter)
    : m_settingsPath(std::move(settingsPath)), m_pPrompter(std::move(prompter))
{
    int i = AddCmd("msgbox", &CDialogCmd::On<&CDialogCmd::MessageBox>, "View simple message box");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-text", m_acText, sizeof m_acText, "Text in the message box");

    i = AddCmd("askbox", &CDialogCmd::On<&CDialogCmd::AskBox>, "View asking message box");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-text", m_acText, sizeof m_acText, "Text in the asking box");

    i = AddCmd("editbox", &CDialogCmd::On<&CDialogCmd::EditBox>, "View edit box");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-text", m_acText, sizeof m_acText, "Text in the edit box");

    i = AddCmd("combobox", &CDialogCmd::On<&CDialogCmd::ComboBox>, "View combo box");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-text", m_acText, sizeof m_acText, "Text in the combo box");
    AddArg(i, "-value", &m_iSelection, "Number of elements in the combo box");
    AddArg(i, "-data", m_acData, sizeof m_acData, "Data of combo box (use '|' for seperation)");

    i = AddCmd("loadfile", &CDialogCmd::On<&CDialogCmd::LoadFile>, "View dialog for loading file");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-ext", m_acExtension, sizeof m_acExtension, "Extension of loading file");

    i = AddCmd("savefile", &CDialogCmd::On<&CDialogCmd::SaveFile>, "View dialog for saving file");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
    AddArg(i, "-ext", m_acExtension, sizeof m_acExtension, "Extension of saving file");

    i = AddCmd("selectpath", &CDialogCmd::On<&CDialogCmd::SelectPath>, "View dialog for selection path");
    AddArg(i, "-title", m_acTitle, sizeof m_acTitle, "Title of dialog");
}

std::string CDialogCmd::MessageBox()
{
    if (!DisplayOrError())
        return "\n";
    return RunOwnDialog<CWaitDlg>(
        *m_pPrompter, m_settingsPath, "WAITDLG", m_acTitle, m_acText, [](CWaitDlg&) {},
        [](CWaitDlg&, bool) { return std::string("\n"); });
}

std::string CDialogCmd::AskBox()
{
    if (!DisplayOrError())
        return "0\n";
    return RunOwnDialog<CAskDlg>(
        *m_pPrompter, m_settingsPath, "ASKDLG", m_acTitle, m_acText, [](CAskDlg&) {},
        [](CAskDlg&, bool bYes) { return std::string(bYes ? "1\n" : "0\n"); });
}

std::string CDialogCmd::EditBox()
{
    if (!DisplayOrError())
        return "\n";
    return RunOwnDialog<CEditDlg>(
        *m_pPrompter, m_settingsPath, "EDITDLG", m_acTitle, m_acText, [](CEditDlg&) {},
        [](CEditDlg& dialog, bool bOk) { return bOk ? OneLine(dialog.EditText()) + "\n" : std::string("\n"); });
}

std::string CDialogCmd::ComboBox()
{
    if (!DisplayOrError())
        return "-1\n";
    const QString data = Decoded(m_acData);
    const int selection = m_iSelection;
    return RunOwnDialog<CComboDlg>(
        *m_pPrompter, m_settingsPath, "COMBODLG", m_acTitle, m_acText,
        [&data, selection](CComboDlg& dialog) { dialog.SetItems(data, selection); },
        [](CComboDlg& dialog, bool bOk) {
            return bOk ? std::to_string(dialog.SelectedIndex()) + "\n" : std::string("-1\n");
        });
}

std::string CDialogCmd::FileDialog(bool bSave)
{
    if (!DisplayOrError())
        return "\n";
    const QString extension = Decoded(m_acExtension);
    // An empty extension would filter on names ending in '.': offer every file instead.
    const QString pattern = extension.isEmpty() ? QStringLiteral("*") : QStringLiteral("*.") + extension;
    QFileDialog dialog(nullptr, Decoded(m_acTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Fichier ") + extension + QStringLiteral(" (") + pattern + QStringLiteral(")"));
    dialog.selectFile(pattern);
    if (m_pPrompter->Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return "\n";
    return OneLine(dialog.selectedFiles().constFirst()) + "\n";
}

std::string CDialogCmd::LoadFile()
{
    return FileDialog(false);
}

std::string CDialogCmd::SaveFile()
{
    return FileDialog(true);
}

std::string CDialogCmd::SelectPath()
{
    if (!DisplayOrError())
        return "\n";
    zov::CFolderPicker picker;
    picker.title = Decoded(m_acTitle);
    if (m_pPrompter->Browse(picker) != 1)
        return "\n";
    return OneLine(picker.result) + "\n";
}

const TToolInfo g_tToolInfo = {
    .pName = "Brunox",
    .pMaker = "ZOV test bench - operator dialogs",
    .pCreate = []() -> CMainCmd* {
        return new CDialogCmd(zov::SettingsFilePath(kBrunoxSettingsFile), MakePrompterFromEnvironment());
    },
    .pInit = InitBrunoxApplication,
};

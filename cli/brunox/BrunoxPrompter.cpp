#include "BrunoxPrompter.h"

#include "BrunoxAnswers.h"
#include "BrunoxDialogs.h"
#include "common/gui/FolderPicker.h"
#include "common/TextCodec.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

QString Decoded(const std::string& bytes)
{
    return QString::fromStdString(zov::DecodeText(bytes));
}

// A path as the operator would pick it in a dialog: absolute, without "." or "..".
QString AbsolutePath(const std::string& bytes)
{
    return QDir::cleanPath(QFileInfo(Decoded(bytes)).absoluteFilePath());
}

}  // namespace

int CWindowPrompter::Exec(QDialog& dialog)
{
    return dialog.exec();
}

int CWindowPrompter::Browse(zov::CFolderPicker& picker)
{
    return picker.Browse();
}

CScriptedPrompter::CScriptedPrompter(std::filesystem::path answers) : m_answers(std::move(answers)) {}

bool CScriptedPrompter::NextAnswer(TAnswer& answer)
{
    std::ifstream in(m_answers, std::ios::binary);
    std::string line;
    for (int i = 0; i < m_iLinesRead && std::getline(in, line); ++i) {
    }
    while (in && std::getline(in, line)) {
        ++m_iLinesRead;
        answer.iLine = m_iLinesRead;
        switch (ParseAnswerLine(line, answer)) {
        case EAnswerLine::Skip:
            continue;
        case EAnswerLine::Answer:
            return true;
        case EAnswerLine::Wrong:
            Refuse(answer);
            return false;
        }
    }
    std::fprintf(stderr, kNoAnswerMessage, m_answers.string().c_str());
    return false;
}

void CScriptedPrompter::Refuse(const TAnswer& answer) const
{
    std::fprintf(stderr, kWrongAnswerMessage, m_answers.string().c_str(), answer.iLine);
}

int CScriptedPrompter::Exec(QDialog& dialog)
{
    TAnswer answer;
    bool bAccept = false;
    if (NextAnswer(answer)) {
        bAccept = answer.bOk;
        if (!answer.bOk) {
            // Cancel: nothing to give the dialog.
        } else if (qobject_cast<CWaitDlg*>(&dialog) != nullptr || qobject_cast<CAskDlg*>(&dialog) != nullptr) {
            bAccept = answer.value.empty();
        } else if (auto* edit = qobject_cast<CEditDlg*>(&dialog)) {
            edit->SetEditText(Decoded(answer.value));
        } else if (auto* combo = qobject_cast<CComboDlg*>(&dialog)) {
            // Without an index, OK takes the item the dialog opened with.
            int index = -1;
            if (!answer.value.empty()) {
                bAccept = ParseItemIndex(answer.value, combo->Count(), index);
                if (bAccept)
                    combo->SelectIndex(index);
            }
        } else if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            const QString path = answer.value.empty() ? QString() : AbsolutePath(answer.value);
            // The operator can only open a file that is there.
            bAccept = !path.isEmpty() && (files->fileMode() != QFileDialog::ExistingFile || QFileInfo(path).isFile());
            if (bAccept)
                files->selectFile(path);
        } else {
            bAccept = false;
        }
        if (answer.bOk && !bAccept)
            Refuse(answer);
    }
    const int result = bAccept ? QDialog::Accepted : QDialog::Rejected;
    dialog.setResult(result);
    return result;
}

int CScriptedPrompter::Browse(zov::CFolderPicker& picker)
{
    TAnswer answer;
    if (!NextAnswer(answer) || !answer.bOk)
        return 0;
    // The picker lists only folders under its root, and OK stays off where AcceptFolder refuses.
    const QString path = answer.value.empty() ? QString() : AbsolutePath(answer.value);
    const QString root = picker.rootFolder.isEmpty() ? QString() : AbsolutePath(picker.rootFolder.toStdString());
    const bool bUnderRoot =
        root.isEmpty() || root == QDir::rootPath() || path == root || path.startsWith(root + QLatin1Char('/'));
    QString status;
    if (path.isEmpty() || !QFileInfo(path).isDir() || !bUnderRoot || !picker.AcceptFolder(path, status)) {
        Refuse(answer);
        return 0;
    }
    picker.result = path;
    return 1;
}

bool PrompterScriptNamed()
{
    const char* file = std::getenv(kPrompterScriptVariable);
    return file != nullptr && file[0] != '\0';
}

std::unique_ptr<CPrompter> MakePrompterFromEnvironment()
{
    if (PrompterScriptNamed())
        return std::make_unique<CScriptedPrompter>(std::getenv(kPrompterScriptVariable));
    return std::make_unique<CWindowPrompter>();
}

// The generator's dialog: the new CLI's name, folder, project type, copyright holder, version,
// marker, marker stream and exit word; OK writes the project and opens its folder.
#pragma once

#include "generator/core/Generator.h"

#include <QDialog>
#include <QLocale>
#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace zov {
class CFolderPicker;
}

namespace zov::vantoro {

// The dialog exists in French and, for English users, in English; only its labels differ.
enum class DialogLanguage { French, English };

// English for a locale whose language is English, French for every other.
DialogLanguage LanguageOf(const QLocale& locale);

// The language of the system's locale.
DialogLanguage SystemDialogLanguage();

inline constexpr const char* kVantoroTitle = "Vantoro 0.9.9";

class CVantoroDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVantoroDlg(DialogLanguage language = SystemDialogLanguage(), QWidget* parent = nullptr);
    ~CVantoroDlg() override;

    // Shows the written project's folder; the file manager by default.
    using FolderOpener = std::function<void(const QString& folder)>;
    // Runs the folder picker; 1 when a folder was chosen (in picker.result). The picker by default.
    using FolderBrowser = std::function<int(zov::CFolderPicker& picker)>;
    // Tells the user that something failed; a warning box by default.
    using ErrorReporter = std::function<void(const QString& text)>;

    void SetFolderOpener(FolderOpener opener) { m_folderOpener = std::move(opener); }
    void SetFolderBrowser(FolderBrowser browser) { m_folderBrowser = std::move(browser); }
    void SetErrorReporter(ErrorReporter reporter) { m_errorReporter = std::move(reporter); }

    // The values as the controls hold them now.
    GeneratorSettings Settings() const;

    // The about box, modal.
    void ShowAbout();

    // Object names of the controls and the about entry, after the identifiers they always had.
    static constexpr const char* kNameEdit = "c1000";
    static constexpr const char* kFolderEdit = "c1001";
    static constexpr const char* kBrowseButton = "c1002";
    static constexpr const char* kSynchroEdit = "c1011";
    static constexpr const char* kStreamList = "c1012";
    static constexpr const char* kExitEdit = "c1013";
    static constexpr const char* kTypeList = "c1014";
    static constexpr const char* kCopyrightEdit = "c1015";
    static constexpr const char* kVersionEdit = "c1016";
    static constexpr const char* kOkButton = "c1";
    static constexpr const char* kCancelButton = "c2";
    static constexpr const char* kAboutAction = "cmd16";

public slots:
    // Writes the project. On success opens the folder and closes; on a failure says which folder or
    // file could not be written and stays open.
    void accept() override;

private:
    void UpdateOkButton();
    void Browse();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_folder = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_copyright = nullptr;
    QLineEdit* m_version = nullptr;
    QLineEdit* m_synchro = nullptr;
    QComboBox* m_stream = nullptr;
    QLineEdit* m_exit = nullptr;
    QPushButton* m_ok = nullptr;

    FolderOpener m_folderOpener;
    FolderBrowser m_folderBrowser;
    ErrorReporter m_errorReporter;
};

}  // namespace zov::vantoro

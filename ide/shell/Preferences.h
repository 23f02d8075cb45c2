#pragma once
// The preferences sheet (F12): five pages in a tree sheet, and the command that fills them from
// ZOV.ini, the application object and the main frame, runs the sheet through the prompter and,
// after OK, stores and applies the values (PreferencesValues does the storing).

#include "ide/shell/TreePropSheet.h"
#include "ide/shell/core/LanguageChoices.h"
#include "ide/shell/core/PreferencesHost.h"
#include "ide/shell/core/PreferencesValues.h"
#include "ide/shell/core/Prompter.h"

#include <QPushButton>

#include <filesystem>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QVBoxLayout;

namespace zov::shell {

class ApplicationCore;
class ShellPrompter;

// A button that shows a colour and asks the prompter for another when clicked.
class PreferencesColourButton : public QPushButton {
    Q_OBJECT

public:
    PreferencesColourButton(Prompter& prompter, QWidget* parent = nullptr);
    void SetColour(std::uint32_t colour);
    std::uint32_t Colour() const { return colour_; }

signals:
    void ColourChosen(std::uint32_t colour);

private:
    Prompter& prompter_;
    std::uint32_t colour_ = 0;
};

class CPrefGeneralPage : public CTreePropPage {
    Q_OBJECT

public:
    CPrefGeneralPage(const std::filesystem::path& programFolder, Prompter& prompter, QWidget* parent = nullptr);
    void SetValues(const PreferencesValues& values);
    void GetValues(PreferencesValues& values) const;
    // The languages offered, in list order.
    const std::vector<LanguageChoice>& Languages() const;

private:
    void Browse();

    std::filesystem::path programFolder_;
    Prompter& prompter_;
    std::vector<LanguageChoice> languages_;
    std::string storedLanguage_;
    QLineEdit* defaultInterface_;
    QComboBox* language_;
    QComboBox* versionControl_;
    QComboBox* fontSize_;
    QComboBox* theme_;
    QCheckBox* noSplash_;
    QCheckBox* beep_;
    QCheckBox* defaultConfiguration_;
    QCheckBox* importAutoSave_;
};

class CPrefInterpreterPage : public CTreePropPage {
    Q_OBJECT

public:
    CPrefInterpreterPage(const std::filesystem::path& programFolder, Prompter& prompter, QWidget* parent = nullptr);
    void SetValues(const PreferencesValues& values);
    void GetValues(PreferencesValues& values) const;

private:
    void Browse();
    void EnablePause();

    std::filesystem::path programFolder_;
    Prompter& prompter_;
    QCheckBox* showExecution_;
    QLabel* pauseLabel_;
    QComboBox* pause_;
    QSpinBox* timeout_;
    QLineEdit* engine_;
    QLineEdit* engineParams_;
};

// The editor's and the trace pane's colour pages share the list of categories and the button.
class CPrefColoursPage : public CTreePropPage {
    Q_OBJECT

public:
    CPrefColoursPage(const QString& title, Prompter& prompter, QWidget* parent = nullptr);

protected:
    void AddCategories(const char* const* names, int count);
    void SetColours(const std::uint32_t* colours, int count);
    std::vector<std::uint32_t> colours_;
    QListWidget* categories_;
    PreferencesColourButton* colourButton_;
    QVBoxLayout* layout_;
};

class CPrefEditorPage : public CPrefColoursPage {
    Q_OBJECT

public:
    CPrefEditorPage(Prompter& prompter, QWidget* parent = nullptr);
    void SetValues(const PreferencesValues& values);
    void GetValues(PreferencesValues& values) const;

private:
    void NamesChanged();

    QCheckBox* showLineNumber_;
    QComboBox* names_;
    std::vector<std::string> nameList_;
    bool filling_ = false;
};

class CPrefTracePage : public CPrefColoursPage {
    Q_OBJECT

public:
    CPrefTracePage(Prompter& prompter, QWidget* parent = nullptr);
    void SetValues(const PreferencesValues& values);
    void GetValues(PreferencesValues& values) const;

private:
    QCheckBox* traceScript_;
    QCheckBox* traceCli_;
    QCheckBox* traceInterpreter_;
    QSpinBox* maxLines_;
    QCheckBox* traceOneLine_;
};

class CPrefExecPage : public CTreePropPage {
    Q_OBJECT

public:
    explicit CPrefExecPage(QWidget* parent = nullptr);
    void SetValues(const PreferencesValues& values);
    void GetValues(PreferencesValues& values) const;

private:
    QCheckBox* saveTempResult_;
    QCheckBox* hideOnExecution_;
    QCheckBox* saveTrace_;
};

// "Préférences": tree mode, page captions and tree images on; OK and "Annuler" only.
class CPreferences : public CTreePropSheet {
    Q_OBJECT

public:
    CPreferences(const std::filesystem::path& programFolder, Prompter& prompter, QWidget* parent = nullptr,
                 int firstPage = 0);

    void SetValues(const PreferencesValues& values);
    PreferencesValues Values() const;

    CPrefGeneralPage& General() const { return *general_; }
    CPrefInterpreterPage& Interpreter() const { return *interpreter_; }
    CPrefEditorPage& Editor() const { return *editor_; }
    CPrefTracePage& Trace() const { return *trace_; }
    CPrefExecPage& Exec() const { return *exec_; }

private:
    CPrefGeneralPage* general_;
    CPrefInterpreterPage* interpreter_;
    CPrefEditorPage* editor_;
    CPrefTracePage* trace_;
    CPrefExecPage* exec_;
    PreferencesValues loaded_;
};

// The main frame's Preferences command. It keeps, for the life of the frame, the page that was
// active when the sheet was last confirmed, and opens the next sheet there.
class PreferencesCommand {
public:
    // Builds the sheet, runs it through prompter.Exec and, after OK, stores and applies the
    // values. True after OK.
    bool Run(const PreferencesStore& store, PreferencesHost& host, ShellPrompter& prompter, QWidget* parent = nullptr);
    bool Run(ApplicationCore& application, PreferencesHost& host, ShellPrompter& prompter, QWidget* parent = nullptr);

    int LastPage() const { return lastPage_; }

private:
    int lastPage_ = 0;
};

}  // namespace zov::shell

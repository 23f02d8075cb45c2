#pragma once
// The dialogs in which one definition is created, changed or only looked at. The caller puts the
// record's values in, runs the dialog through the prompter, and reads the values back after OK.
// In read-only mode sunken statics take the place of the edits and only "OK" is offered.

#include "ide/interfaces/DialogParts.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace zov::interfaces {

// Choice of the interface that owns the record: -1 the first offered entry (the main
// interface), n >= 0 the entry n + 1.
struct CliValues {
    QString path;
    QString name;
    QString syncMessage = QStringLiteral(">>");
    int syncMode = 1;  // index in "stdout", "stderr"
    QString stopMessage;
    bool stripLineBreaks = true;
    bool stripQuotes = false;
    int interfaceChoice = -1;
};

class CliDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    CliDialog(bool readOnly, QStringList interfaceNames, QWidget* parent = nullptr,
              shell::ShellPrompter& prompter = shell::ActivePrompter());

    // Where "..." names a chosen executable from: the main interface file and the engine folder.
    void SetFolders(const QString& mainInterfacePath, const QString& engineFolder);
    // The "..." button: an executable chosen through the prompter becomes the path.
    void ChooseExecutable();

    CliValues values;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void TakeValues();
    void PutValues();
    void UpdateOk();

    bool readOnly_;
    shell::ShellPrompter& prompter_;
    QString mainInterfacePath_;
    QString engineFolder_;
    InterfaceRow interfaces_;
    QLineEdit* name_;
    QLabel* nameStatic_;
    QLineEdit* path_;
    QLabel* pathStatic_;
    QPushButton* browse_;
    QLineEdit* syncMessage_;
    QLabel* syncMessageStatic_;
    QComboBox* syncMode_;
    QLabel* syncModeStatic_;
    QLineEdit* stopMessage_;
    QLabel* stopMessageStatic_;
    QCheckBox* stripLineBreaks_;
    QCheckBox* stripQuotes_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The executable's name as a CLI record keeps it: the file name alone when it sits in the main
// interface's folder, else the path relative to the engine folder (absolute when no relative
// path leads there).
QString ExecutableName(const QString& chosen, const QString& mainInterfacePath, const QString& engineFolder);

struct FunctionValues {
    QString command;
    QString name;
    int returnType = 0;  // index in "Aucun", "Booléen", "Chaine", "Entier", "Réel"
    int interfaceChoice = -1;
};

class FunctionDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    FunctionDialog(bool readOnly, QStringList interfaceNames, QWidget* parent = nullptr);

    FunctionValues values;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void UpdateOk();

    bool readOnly_;
    InterfaceRow interfaces_;
    QLineEdit* name_;
    QLabel* nameStatic_;
    QComboBox* returnType_;
    QLabel* returnTypeStatic_;
    QPlainTextEdit* command_;
    QLabel* commandStatic_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The parameter count of a command: its "%%", searched again two characters after each one.
int CountParameters(const std::string& command);

struct ConstantValues {
    QString stringText;
    QString numberText;
    QString name;
    int type = 0;  // index in "Chaine", "entier/réel", "booléen", "Prédéfinie"
    int predefinedIndex = 0;
    int booleanIndex = 0;
    int interfaceChoice = -1;
    // Given before the dialog runs, read after OK.
    QString value;
};

class ConstantDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    ConstantDialog(bool readOnly, QStringList interfaceNames, QWidget* parent = nullptr);

    ConstantValues values;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void TakeValues();
    void ShowValueControl(int type);
    void UpdateOk();

    bool readOnly_;
    // The type list reports changes only once the values are in the controls.
    bool ready_ = false;
    InterfaceRow interfaces_;
    QLineEdit* name_;
    QLabel* nameStatic_;
    QComboBox* type_;
    QLabel* typeStatic_;
    QPlainTextEdit* string_;
    QLineEdit* number_;
    QComboBox* boolean_;
    QComboBox* predefined_;
    QLabel* valueStatic_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

class MacroDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    // viewOnly: the macro may only be looked at; isNew: it is being created.
    MacroDialog(bool viewOnly, QStringList interfaceNames, bool isNew, QWidget* parent = nullptr);

    QString name;
    int interfaceIndex = -1;  // -1 the first offered entry, k the entry k + 1
    bool openEditor = false;
    bool viewOnly;

    // "Editer" ("Afficher" in view-only mode): ends with OK, asking for the macro text.
    void Edit();
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    bool isNew_;
    InterfaceRow interfaces_;
    QLineEdit* name_;
    QLabel* nameStatic_;
    QPushButton* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

class NewInterfaceDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    explicit NewInterfaceDialog(QWidget* parent = nullptr, shell::ShellPrompter& prompter = shell::ActivePrompter());

    QString name;
    QString folder;

    // "...": a folder chosen through the prompter replaces the folder.
    void Browse();
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    shell::ShellPrompter& prompter_;
    QLineEdit* name_;
    QLineEdit* folder_;
};

}  // namespace zov::interfaces

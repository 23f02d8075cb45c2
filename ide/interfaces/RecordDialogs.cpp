#include "ide/interfaces/RecordDialogs.h"

#include "common/PathUtils.h"
#include "ide/shell/ObjectNames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zov::interfaces {

namespace {

using shell::SetControlId;

QLineEdit* MakeEdit(QWidget& parent, int id)
{
    auto* edit = new QLineEdit(&parent);
    SetControlId(*edit, id);
    return edit;
}

QComboBox* MakeList(QWidget& parent, int id)
{
    auto* list = new QComboBox(&parent);
    SetControlId(*list, id);
    return list;
}

QLabel* MakeLabel(QWidget& parent, const char* text)
{
    return new QLabel(QString::fromUtf8(text), &parent);
}

// The name row each record dialog opens with: the edit (1025) and, in the same cell, the sunken
// text (1257) that a read-only dialog shows instead.
void AddNameRow(QWidget& dialog, QGridLayout& grid, int columnSpan, QLineEdit*& edit, QLabel*& shown)
{
    grid.addWidget(MakeLabel(dialog, "Nom :"), 1, 0);
    edit = MakeEdit(dialog, 1025);
    shown = MakeSunkenStatic(dialog, 1257);
    grid.addWidget(edit, 1, 1, 1, columnSpan);
    grid.addWidget(shown, 1, 1, 1, columnSpan);
}

// The folder part of a path: up to, not including, its last separator.
QString FolderOf(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash < 0 ? QString() : path.left(slash);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CLI

QString ExecutableName(const QString& chosen, const QString& mainInterfacePath, const QString& engineFolder)
{
    const QString folder = FolderOf(chosen);
    if (folder == FolderOf(mainInterfacePath))
        return chosen.mid(folder.size() + 1);
    if (engineFolder.isEmpty())
        return chosen;
    return FromUtf8(MakeRelativePath(ToUtf8(engineFolder), ToUtf8(chosen)));
}

CliDialog::CliDialog(bool readOnly, QStringList interfaceNames, QWidget* parent, shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent), readOnly_(readOnly), prompter_(prompter)
{
    setWindowTitle(QString::fromUtf8(" Paramètres du CLI"));
    interfaces_.names = std::move(interfaceNames);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    interfaces_.Build(*this, *grid, 0);

    AddNameRow(*this, *grid, 2, name_, nameStatic_);

    grid->addWidget(MakeLabel(*this, "CLI :"), 2, 0);
    path_ = MakeEdit(*this, 1062);
    pathStatic_ = MakeSunkenStatic(*this, 1258);
    browse_ = MakeButton(*this, 1017, QStringLiteral("..."));
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    grid->addWidget(path_, 2, 1);
    grid->addWidget(pathStatic_, 2, 1, 1, 2);
    grid->addWidget(browse_, 2, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* group = new QGroupBox(QStringLiteral("Paramètres"), this);
    auto* groupGrid = new QGridLayout(group);
    groupGrid->addWidget(MakeLabel(*group, "Message de synchro :"), 0, 0);
    syncMessage_ = MakeEdit(*group, 1126);
    syncMessageStatic_ = MakeSunkenStatic(*group, 1259);
    groupGrid->addWidget(syncMessage_, 0, 1);
    groupGrid->addWidget(syncMessageStatic_, 0, 1);
    auto* on = MakeLabel(*group, "sur");
    SetControlId(*on, 1202);
    groupGrid->addWidget(on, 0, 2);
    syncMode_ = MakeList(*group, 1128);
    syncMode_->addItems({QStringLiteral("stdout"), QStringLiteral("stderr")});
    syncModeStatic_ = MakeSunkenStatic(*group, 1260);
    groupGrid->addWidget(syncMode_, 0, 3);
    groupGrid->addWidget(syncModeStatic_, 0, 3);
    groupGrid->addWidget(MakeLabel(*group, "Message d'arrêt :"), 1, 0);
    stopMessage_ = MakeEdit(*group, 1127);
    stopMessageStatic_ = MakeSunkenStatic(*group, 1261);
    groupGrid->addWidget(stopMessage_, 1, 1, 1, 3);
    groupGrid->addWidget(stopMessageStatic_, 1, 1, 1, 3);
    stripLineBreaks_ = new QCheckBox(QStringLiteral("Supprime les retours à la ligne"), group);
    SetControlId(*stripLineBreaks_, 1050);
    stripQuotes_ = new QCheckBox(QStringLiteral("Supprime les guillements dans les commandes"), group);
    SetControlId(*stripQuotes_, 1051);
    groupGrid->addWidget(stripLineBreaks_, 2, 0, 1, 4);
    groupGrid->addWidget(stripQuotes_, 3, 0, 1, 4);
    groupGrid->setColumnStretch(1, 1);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(MakeButtonRow(*this, ok_, cancel_));

    connect(ok_, &QPushButton::clicked, this, &CliDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &CliDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &CliDialog::ChooseExecutable);
    connect(name_, &QLineEdit::textEdited, this, &CliDialog::UpdateOk);
    connect(path_, &QLineEdit::textEdited, this, &CliDialog::UpdateOk);
    connect(name_, &QLineEdit::textChanged, this, &CliDialog::UpdateOk);
    connect(path_, &QLineEdit::textChanged, this, &CliDialog::UpdateOk);
    resize(420, 0);
}

void CliDialog::SetFolders(const QString& mainInterfacePath, const QString& engineFolder)
{
    mainInterfacePath_ = mainInterfacePath;
    engineFolder_ = engineFolder;
}

void CliDialog::OnInitDialog()
{
    interfaces_.Fill(interfaces_.names, values.interfaceChoice);
    PutValues();
    const std::initializer_list<QWidget*> editors = {
        cancel_, browse_, name_, syncMessage_, stopMessage_, path_, syncMode_, stripLineBreaks_, stripQuotes_};
    const std::initializer_list<QLabel*> statics = {nameStatic_, pathStatic_, syncMessageStatic_, syncModeStatic_,
                                                    stopMessageStatic_};
    if (readOnly_) {
        for (QWidget* editor : editors)
            editor->hide();
        interfaces_.combo->hide();
        interfaces_.single->setText(interfaces_.names.value(0));
        interfaces_.single->show();
        nameStatic_->setText(values.name);
        stopMessageStatic_->setText(values.stopMessage);
        syncModeStatic_->setText(syncMode_->itemText(values.syncMode));
        syncMessageStatic_->setText(values.syncMessage);
        pathStatic_->setText(values.path);
        return;
    }
    for (QLabel* label : statics)
        label->hide();
    UpdateOk();
}

void CliDialog::PutValues()
{
    name_->setText(values.name);
    path_->setText(values.path);
    syncMessage_->setText(values.syncMessage);
    syncMode_->setCurrentIndex(values.syncMode);
    stopMessage_->setText(values.stopMessage);
    stripLineBreaks_->setChecked(values.stripLineBreaks);
    stripQuotes_->setChecked(values.stripQuotes);
}

void CliDialog::TakeValues()
{
    values.name = name_->text();
    values.path = path_->text();
    values.syncMessage = syncMessage_->text();
    values.syncMode = syncMode_->currentIndex();
    values.stopMessage = stopMessage_->text();
    values.stripLineBreaks = stripLineBreaks_->isChecked();
    values.stripQuotes = stripQuotes_->isChecked();
}

void CliDialog::UpdateOk()
{
    if (!readOnly_)
        ok_->setEnabled(!name_->text().isEmpty() && !path_->text().isEmpty());
}

void CliDialog::ChooseExecutable()
{
    // Programs carry no extension here: the filter shows every file.
    const std::optional<std::string> chosen =
        prompter_.OpenFile({ToUtf8(TT("Charger")), ToUtf8(TT("Exécutable|*|")), std::string()});
    if (!chosen)
        return;
    TakeValues();
    values.path = ExecutableName(FromUtf8(*chosen), mainInterfacePath_, engineFolder_);
    PutValues();
    UpdateOk();
}

void CliDialog::accept()
{
    if (!readOnly_) {
        TakeValues();
        interfaces_.TakeChoice(values.interfaceChoice);
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Function

int CountParameters(const std::string& command)
{
    int count = 0;
    for (std::size_t at = command.find("%%"); at != std::string::npos; at = command.find("%%", at + 2))
        ++count;
    return count;
}

FunctionDialog::FunctionDialog(bool readOnly, QStringList interfaceNames, QWidget* parent)
    : ThemedDialogBase(parent), readOnly_(readOnly)
{
    setWindowTitle(QString::fromUtf8(" Paramètres de la fonction"));
    interfaces_.names = std::move(interfaceNames);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    interfaces_.Build(*this, *grid, 0);
    AddNameRow(*this, *grid, 1, name_, nameStatic_);
    grid->addWidget(MakeLabel(*this, "Retour :"), 2, 0);
    returnType_ = MakeList(*this, 1050);
    returnTypeStatic_ = MakeSunkenStatic(*this, 1262);
    grid->addWidget(returnType_, 2, 1);
    grid->addWidget(returnTypeStatic_, 2, 1);
    grid->addWidget(MakeLabel(*this, "Commande :"), 3, 0, Qt::AlignTop);
    command_ = new QPlainTextEdit(this);
    SetControlId(*command_, 1062);
    command_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    command_->setFixedHeight(command_->fontMetrics().lineSpacing() * 4 + 12);
    commandStatic_ = new QLabel(this);
    SetControlId(*commandStatic_, 1258);
    commandStatic_->setWordWrap(true);
    commandStatic_->setTextFormat(Qt::PlainText);
    commandStatic_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    commandStatic_->setMinimumHeight(command_->height());
    grid->addWidget(command_, 3, 1);
    grid->addWidget(commandStatic_, 3, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(MakeButtonRow(*this, ok_, cancel_));
    connect(ok_, &QPushButton::clicked, this, &FunctionDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &FunctionDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, &FunctionDialog::UpdateOk);
    connect(command_, &QPlainTextEdit::textChanged, this, &FunctionDialog::UpdateOk);
    resize(420, 0);
}

void FunctionDialog::OnInitDialog()
{
    for (const char* type : {"Aucun", "Booléen", "Chaine", "Entier", "Réel"})
        returnType_->addItem(TT(type));
    returnType_->setCurrentIndex(values.returnType);
    interfaces_.Fill(interfaces_.names, values.interfaceChoice);
    name_->setText(values.name);
    command_->setPlainText(values.command);
    if (readOnly_) {
        for (QWidget* editor : std::initializer_list<QWidget*>{cancel_, name_, command_, returnType_})
            editor->hide();
        returnTypeStatic_->setText(returnType_->itemText(values.returnType));
        nameStatic_->setText(values.name);
        commandStatic_->setText(values.command);
        return;
    }
    for (QWidget* label : std::initializer_list<QWidget*>{returnTypeStatic_, nameStatic_, commandStatic_})
        label->hide();
    UpdateOk();
}

void FunctionDialog::UpdateOk()
{
    if (!readOnly_)
        ok_->setEnabled(!name_->text().isEmpty() && !command_->toPlainText().isEmpty());
}

void FunctionDialog::accept()
{
    if (!readOnly_) {
        values.name = name_->text();
        values.command = command_->toPlainText();
        values.returnType = returnType_->currentIndex();
        interfaces_.TakeChoice(values.interfaceChoice);
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Constant

ConstantDialog::ConstantDialog(bool readOnly, QStringList interfaceNames, QWidget* parent)
    : ThemedDialogBase(parent), readOnly_(readOnly)
{
    setWindowTitle(QString::fromUtf8(" Paramètres de la constante"));
    interfaces_.names = std::move(interfaceNames);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    interfaces_.Build(*this, *grid, 0);
    AddNameRow(*this, *grid, 1, name_, nameStatic_);
    grid->addWidget(MakeLabel(*this, "Type :"), 2, 0);
    type_ = MakeList(*this, 1095);
    typeStatic_ = MakeSunkenStatic(*this, 1264);
    grid->addWidget(type_, 2, 1);
    grid->addWidget(typeStatic_, 2, 1);
    grid->addWidget(MakeLabel(*this, "Valeur :"), 3, 0, Qt::AlignTop);
    string_ = new QPlainTextEdit(this);
    SetControlId(*string_, 1074);
    string_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    string_->setFixedHeight(string_->fontMetrics().lineSpacing() * 5 + 12);
    number_ = MakeEdit(*this, 1216);
    boolean_ = MakeList(*this, 1098);
    boolean_->addItems({QStringLiteral("false"), QStringLiteral("true")});
    predefined_ = MakeList(*this, 1097);
    predefined_->addItems({QStringLiteral("%%ZOVPATH%%"), QStringLiteral("%%PROJECTPATH%%"),
                           QStringLiteral("%%WINDOWS%%"), QStringLiteral("%%SYSTEM%%"), QStringLiteral("%%TEMP%%")});
    valueStatic_ = MakeSunkenStatic(*this, 1265);
    valueStatic_->setWordWrap(true);
    for (QWidget* control : std::initializer_list<QWidget*>{string_, number_, boolean_, predefined_, valueStatic_})
        grid->addWidget(control, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(3, string_->height());
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(MakeButtonRow(*this, ok_, cancel_));
    connect(ok_, &QPushButton::clicked, this, &ConstantDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ConstantDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, &ConstantDialog::UpdateOk);
    connect(type_, &QComboBox::currentIndexChanged, this, [this](int type) {
        if (!ready_ || readOnly_)
            return;
        TakeValues();
        ShowValueControl(type);
    });
    resize(420, 0);
}

void ConstantDialog::OnInitDialog()
{
    for (const char* type : {"Chaine", "entier/réel", "booléen", "Prédéfinie"})
        type_->addItem(TT(type));
    type_->setCurrentIndex(values.type);
    switch (values.type) {
    case 3:
        values.predefinedIndex = predefined_->findText(values.value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        break;
    case 2:
        values.booleanIndex = boolean_->findText(values.value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        break;
    case 1:
        values.numberText = values.value;
        values.predefinedIndex = values.booleanIndex = 0;
        break;
    default:
        values.stringText = values.value;
        values.predefinedIndex = values.booleanIndex = 0;
        break;
    }
    predefined_->setCurrentIndex(values.predefinedIndex);
    boolean_->setCurrentIndex(values.booleanIndex);
    string_->setPlainText(values.stringText);
    number_->setText(values.numberText);
    name_->setText(values.name);
    ShowValueControl(values.type);
    interfaces_.Fill(interfaces_.names, values.interfaceChoice);
    if (!readOnly_) {
        for (QWidget* label : std::initializer_list<QWidget*>{valueStatic_, typeStatic_, nameStatic_})
            label->hide();
        UpdateOk();
        ready_ = true;
        return;
    }
    for (QWidget* editor :
         std::initializer_list<QWidget*>{cancel_, name_, type_, string_, number_, predefined_, boolean_})
        editor->hide();
    nameStatic_->setText(values.name);
    typeStatic_->setText(type_->itemText(values.type));
    switch (values.type) {
    case 3:
        valueStatic_->setText(predefined_->itemText(values.predefinedIndex));
        break;
    case 2:
        valueStatic_->setText(boolean_->itemText(values.booleanIndex));
        break;
    case 1:
        valueStatic_->setText(values.numberText);
        break;
    default:
        valueStatic_->setText(values.stringText);
        break;
    }
    valueStatic_->show();
    ready_ = true;
}

void ConstantDialog::ShowValueControl(int type)
{
    predefined_->setVisible(type == 3);
    boolean_->setVisible(type == 2);
    number_->setVisible(type == 1);
    string_->setVisible(type < 1 || type > 3);
    valueStatic_->hide();
}

void ConstantDialog::TakeValues()
{
    values.name = name_->text();
    values.type = type_->currentIndex();
    values.stringText = string_->toPlainText();
    values.numberText = number_->text();
    values.predefinedIndex = predefined_->currentIndex();
    values.booleanIndex = boolean_->currentIndex();
}

void ConstantDialog::UpdateOk()
{
    if (!readOnly_)
        ok_->setEnabled(!name_->text().isEmpty());
}

void ConstantDialog::accept()
{
    if (!readOnly_) {
        TakeValues();
        // A boolean or predefined value that matched no entry stays as it was: no entry, no text.
        switch (values.type) {
        case 3:
            if (values.predefinedIndex >= 0)
                values.value = predefined_->itemText(values.predefinedIndex);
            break;
        case 2:
            if (values.booleanIndex >= 0)
                values.value = boolean_->itemText(values.booleanIndex);
            break;
        case 1:
            values.value = values.numberText;
            break;
        default:
            values.value = values.stringText;
            break;
        }
        interfaces_.TakeChoice(values.interfaceChoice);
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Macro

MacroDialog::MacroDialog(bool viewOnlyMode, QStringList interfaceNames, bool isNew, QWidget* parent)
    : ThemedDialogBase(parent), viewOnly(viewOnlyMode), isNew_(isNew)
{
    setWindowTitle(QString::fromUtf8(" Paramètres de la macro"));
    interfaces_.names = std::move(interfaceNames);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    interfaces_.Build(*this, *grid, 0);
    AddNameRow(*this, *grid, 1, name_, nameStatic_);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    auto* buttons = MakeButtonRow(*this, ok_, cancel_);
    edit_ = MakeButton(*this, 3, QStringLiteral("Editer"));
    buttons->insertWidget(1, edit_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &MacroDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &MacroDialog::reject);
    connect(edit_, &QPushButton::clicked, this, &MacroDialog::Edit);
    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        name = text;
        if (!viewOnly)
            ok_->setEnabled(!text.isEmpty());
    });
    resize(360, 0);
}

void MacroDialog::OnInitDialog()
{
    if (isNew_)
        edit_->hide();
    interfaces_.Fill(interfaces_.names, interfaceIndex);
    name_->setText(name);
    if (viewOnly) {
        name_->hide();
        cancel_->hide();
        edit_->setText(TT("Afficher"));
        nameStatic_->setText(name);
        return;
    }
    nameStatic_->hide();
    ok_->setEnabled(!name.isEmpty());
}

void MacroDialog::Edit()
{
    openEditor = !(viewOnly && !isNew_);
    interfaces_.TakeChoice(interfaceIndex);
    QDialog::accept();
}

void MacroDialog::accept()
{
    viewOnly = false;
    interfaces_.TakeChoice(interfaceIndex);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// New interface

NewInterfaceDialog::NewInterfaceDialog(QWidget* parent, shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Nouvelle interface"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(MakeLabel(*this, "Nom :"), 0, 0);
    name_ = MakeEdit(*this, 1025);
    grid->addWidget(name_, 0, 1, 1, 2);
    grid->addWidget(MakeLabel(*this, "Répertoire :"), 1, 0);
    folder_ = MakeEdit(*this, 1042);
    grid->addWidget(folder_, 1, 1);
    auto* browse = MakeButton(*this, 1045, QStringLiteral("..."));
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    grid->addWidget(browse, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(MakeButtonRow(*this, ok, cancel));
    connect(ok, &QPushButton::clicked, this, &NewInterfaceDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NewInterfaceDialog::reject);
    connect(browse, &QPushButton::clicked, this, &NewInterfaceDialog::Browse);
    resize(420, 0);
}

void NewInterfaceDialog::OnInitDialog()
{
    name_->setText(name);
    folder_->setText(folder);
}

void NewInterfaceDialog::Browse()
{
    name = name_->text();
    folder = folder_->text();
    const std::optional<std::string> chosen =
        prompter_.BrowseFolder(ToUtf8(TT("Sélectionner le répertoire de l'interface")), ToUtf8(folder));
    if (!chosen)
        return;
    folder = FromUtf8(*chosen);
    name_->setText(name);
    folder_->setText(folder);
}

void NewInterfaceDialog::accept()
{
    name = name_->text();
    folder = folder_->text();
    QDialog::accept();
}

}  // namespace zov::interfaces

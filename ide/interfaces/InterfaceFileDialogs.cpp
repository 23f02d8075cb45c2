#include "ide/interfaces/InterfaceFileDialogs.h"

#include "common/PathUtils.h"
#include "ide/interfaces/DialogParts.h"
#include "ide/interfaces/InterfaceIcons.h"
#include "ide/interfaces/InterfaceListCtrl.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/ButtonEx.h"
#include "ide/shell/CompactPathWidget.h"
#include "ide/shell/ObjectNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zov::interfaces {

namespace {

using shell::SetControlId;

shell::CButtonEx* MakeIconButton(QWidget& parent, int id, const char* icon, const QString& tip)
{
    auto* button = new shell::CButtonEx(&parent);
    SetControlId(*button, id);
    button->SetIcon(InterfaceIcon(icon));
    button->setToolTip(tip);
    return button;
}

QListWidgetItem* AddCheckItem(QListWidget& list, const QString& text, bool ticked)
{
    auto* entry = new QListWidgetItem(text, &list);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return entry;
}

bool Ticked(const QListWidget& list, int row)
{
    return list.item(row)->checkState() == Qt::Checked;
}

constexpr const char* kInstallPrefix = "{zov}/";

}  // namespace

// ---------------------------------------------------------------------------------------------
// Insert interfaces

InsertInterfacesDialog::InsertInterfacesDialog(QStringList namesGiven, QString current, QString projectFolder,
                                               QString installFolder, QStringList configurationsGiven, QWidget* parent,
                                               shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent),
      names(std::move(namesGiven)),
      configurations(std::move(configurationsGiven)),
      currentConfiguration(std::move(current)),
      prompter_(prompter),
      projectFolder_(std::move(projectFolder)),
      installFolder_(std::move(installFolder))
{
    askConfigurationName = [this] { return AskConfigurationName(this, prompter_); };
    setWindowTitle(QStringLiteral("Insérer des interfaces"));
    auto* layout = new QVBoxLayout(this);

    auto* configurationRow = new QHBoxLayout;
    configurationRow->addWidget(new QLabel(QStringLiteral("Configuration :"), this));
    configurationsBox_ = new QComboBox(this);
    SetControlId(*configurationsBox_, 1096);
    configurationRow->addWidget(configurationsBox_, 1);
    auto* newConfiguration = MakeIconButton(*this, 1105, "new", QStringLiteral("Nouvelle configuration"));
    auto* store = MakeIconButton(*this, 1103, "store", QStringLiteral("Enregistrer la configuration"));
    auto* remove = MakeIconButton(*this, 1000, "delete", QStringLiteral("Supprimer la configuration"));
    for (QWidget* button :
         {static_cast<QWidget*>(newConfiguration), static_cast<QWidget*>(store), static_cast<QWidget*>(remove)})
        configurationRow->addWidget(button);
    layout->addLayout(configurationRow);

    auto* filesRow = new QHBoxLayout;
    files_ = new QListWidget(this);
    SetControlId(*files_, 1001);
    filesRow->addWidget(files_, 1);
    auto* fileButtons = new QVBoxLayout;
    auto* add = MakeIconButton(*this, 1035, "add", QStringLiteral("Ajouter une interface"));
    auto* removeFile = MakeIconButton(*this, 1037, "remove", QStringLiteral("Retirer l'interface"));
    fileButtons->addWidget(add);
    fileButtons->addWidget(removeFile);
    fileButtons->addStretch(1);
    filesRow->addLayout(fileButtons);
    layout->addLayout(filesRow, 1);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(MakeButtonRow(*this, ok, cancel));
    connect(ok, &QPushButton::clicked, this, &InsertInterfacesDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &InsertInterfacesDialog::reject);
    connect(add, &QToolButton::clicked, this, &InsertInterfacesDialog::AddFile);
    connect(removeFile, &QToolButton::clicked, this, &InsertInterfacesDialog::RemoveFile);
    connect(newConfiguration, &QToolButton::clicked, this, &InsertInterfacesDialog::NewConfiguration);
    connect(store, &QToolButton::clicked, this, &InsertInterfacesDialog::StoreConfiguration);
    connect(remove, &QToolButton::clicked, this, &InsertInterfacesDialog::DeleteConfiguration);
    connect(configurationsBox_, &QComboBox::activated, this, &InsertInterfacesDialog::SelectConfiguration);
    resize(420, 320);
}

void InsertInterfacesDialog::OnInitDialog()
{
    for (const QString& name : names) {
        const bool inactive = name.startsWith(QLatin1Char('#'));
        AddCheckItem(*files_, inactive ? name.mid(1) : name, !inactive);
    }
    configurationsBox_->addItem(TT("<Défaut>"));
    for (const QString& configuration : configurations) {
        if (!configuration.isEmpty())
            configurationsBox_->addItem(configuration.section(QLatin1Char('='), 0, 0));
    }
    configurationsBox_->setCurrentIndex(0);
    if (!currentConfiguration.isEmpty() && !names.isEmpty()) {
        const int item = configurationsBox_->findText(currentConfiguration, Qt::MatchFixedString);
        if (item >= 0) {
            configurationsBox_->setCurrentIndex(item);
            SelectConfiguration(item);
        }
    }
}

int InsertInterfacesDialog::FindEntry(const QString& text, bool untickedOnly) const
{
    for (int row = 0; row < files_->count(); ++row) {
        if (files_->item(row)->text().compare(text, Qt::CaseInsensitive) == 0 &&
            !(untickedOnly && Ticked(*files_, row)))
            return row;
    }
    return -1;
}

void InsertInterfacesDialog::SelectConfiguration(int item)
{
    if (item == 0) {
        for (int row = 0; row < files_->count(); ++row)
            files_->item(row)->setCheckState(Qt::Checked);
        return;
    }
    // The configurations list skips empty entries as the combo does.
    QStringList named;
    for (const QString& configuration : configurations) {
        if (!configuration.isEmpty())
            named.push_back(configuration);
    }
    if (item < 1 || item > named.size())
        return;
    for (int row = 0; row < files_->count(); ++row)
        files_->item(row)->setCheckState(Qt::Unchecked);
    const QString list = named[item - 1].section(QLatin1Char('='), 1);
    const QStringList parts = list.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        const int row = FindEntry(parts[i], !last);
        if (row >= 0)
            files_->item(row)->setCheckState(Qt::Checked);
    }
}

QString InsertInterfacesDialog::TickedList() const
{
    QString list;
    for (int row = 0; row < files_->count(); ++row) {
        if (!Ticked(*files_, row))
            continue;
        list += files_->item(row)->text();
        if (row != files_->count() - 1)
            list += QLatin1Char('|');
    }
    return list;
}

QString InsertInterfacesDialog::EntryName(const QString& path, const QString& projectFolder,
                                          const QString& installFolder)
{
    // Inside the installation folder only when a whole folder name follows it.
    QString install = installFolder;
    while (install.endsWith(QLatin1Char('/')))
        install.chop(1);
    if (!install.isEmpty() && path.startsWith(install + QLatin1Char('/')))
        return QString::fromLatin1(kInstallPrefix) + FromUtf8(MakeRelativePath(ToUtf8(install), ToUtf8(path)));
    return FromUtf8(MakeRelativePath(ToUtf8(projectFolder), ToUtf8(path)));
}

void InsertInterfacesDialog::AddFile()
{
    const std::optional<std::string> chosen =
        prompter_.OpenFile({ToUtf8(TT("Charger")), ToUtf8(TT("Interface|*.qzi|")), "*.qzi"});
    if (!chosen)
        return;
    const QString entry = EntryName(FromUtf8(*chosen), projectFolder_, installFolder_);
    if (FindEntry(entry, false) < 0)
        AddCheckItem(*files_, entry, false);
}

void InsertInterfacesDialog::RemoveFile()
{
    const int row = files_->currentRow();
    if (row >= 0)
        delete files_->takeItem(row);
}

void InsertInterfacesDialog::NewConfiguration()
{
    const std::optional<QString> name = askConfigurationName ? askConfigurationName() : std::nullopt;
    if (!name || name->isEmpty())
        return;
    if (configurationsBox_->findText(*name, Qt::MatchFixedString) >= 0) {
        prompter_.Tell(ToUtf8(TT("La configuration %s existe déjà !").replace(QStringLiteral("%s"), *name)));
        return;
    }
    configurationsBox_->addItem(*name);
    configurationsBox_->setCurrentIndex(configurationsBox_->count() - 1);
    configurations.push_back(*name + QLatin1Char('=') + TickedList());
}

void InsertInterfacesDialog::StoreConfiguration()
{
    const int item = configurationsBox_->currentIndex();
    int seen = 0;
    for (QString& configuration : configurations) {
        if (configuration.isEmpty() || ++seen != item)
            continue;
        configuration = configurationsBox_->itemText(item) + QLatin1Char('=') + TickedList();
        return;
    }
}

void InsertInterfacesDialog::DeleteConfiguration()
{
    const int item = configurationsBox_->currentIndex();
    if (item < 1)
        return;
    int seen = 0;
    for (qsizetype i = 0; i < configurations.size(); ++i) {
        if (!configurations[i].isEmpty() && ++seen == item) {
            configurations.removeAt(i);
            break;
        }
    }
    configurationsBox_->removeItem(item);
    configurationsBox_->setCurrentIndex(0);
}

void InsertInterfacesDialog::accept()
{
    names.clear();
    ticks.clear();
    for (int row = 0; row < files_->count(); ++row) {
        names.push_back(files_->item(row)->text());
        ticks.push_back(Ticked(*files_, row) ? 1 : 0);
    }
    const int item = configurationsBox_->currentIndex();
    currentConfiguration = item >= 1 ? configurationsBox_->itemText(item) : QString();
    QDialog::accept();
}

namespace {

class ConfigurationNameDialog : public shell::ThemedDialogBase {
public:
    explicit ConfigurationNameDialog(QWidget* parent) : ThemedDialogBase(parent)
    {
        setWindowTitle(QStringLiteral("Nouvelle configuration"));
        auto* layout = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Nom :"), this));
        edit = new QLineEdit(this);
        SetControlId(*edit, 1025);
        row->addWidget(edit, 1);
        layout->addLayout(row);
        QPushButton* ok = nullptr;
        QPushButton* cancel = nullptr;
        layout->addLayout(MakeButtonRow(*this, ok, cancel));
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        resize(300, 0);
    }
    QLineEdit* edit;
};

}  // namespace

std::optional<QString> AskConfigurationName(QWidget* parent, shell::ShellPrompter& prompter)
{
    ConfigurationNameDialog dialog(parent);
    if (prompter.Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.edit->text();
}

// ---------------------------------------------------------------------------------------------
// Insertion errors

InsertionErrorDialog::InsertionErrorDialog(QStringList names, QStringList errors, QWidget* parent)
    : ThemedDialogBase(parent), names_(std::move(names)), errors_(std::move(errors))
{
    setWindowTitle(QStringLiteral("Erreur d'insertion"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Eléments non insérés :"), this));
    tree_ = new QTreeWidget(this);
    SetControlId(*tree_, 1065);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    layout->addWidget(tree_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* close = MakeButton(*this, 1, QStringLiteral("Fermer"));
    close->setDefault(true);
    row->addWidget(close);
    layout->addLayout(row);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(400, 300);
}

void InsertionErrorDialog::OnInitDialog()
{
    static constexpr std::pair<const char*, const char*> kKinds[] = {
        {"FILE", "Fichier"}, {"CLI", "CLI"}, {"FUNCT", "Fonction"}, {"CONST", "Constante"}, {"MACRO", "Macro"}};
    tree_->clear();
    for (int i = 0; i < names_.size(); ++i) {
        QTreeWidgetItem* root = nullptr;
        for (const auto& [kind, word] : kKinds) {
            QTreeWidgetItem* kindItem = nullptr;
            for (const QString& error : errors_) {
                const qsizetype semicolon = error.indexOf(QLatin1Char(';'));
                if (semicolon < 0)
                    continue;
                bool number = false;
                if (error.left(semicolon).toInt(&number) != i || !number)
                    continue;
                const QString text = error.mid(semicolon + 1);
                const qsizetype colon = text.indexOf(QLatin1Char(':'));
                if (colon < 0 || text.left(colon) != QLatin1String(kind))
                    continue;
                if (root == nullptr) {
                    root = new QTreeWidgetItem(tree_, {names_[i]});
                    root->setIcon(0, InterfaceIcon("interface"));
                }
                if (kindItem == nullptr) {
                    kindItem = new QTreeWidgetItem(root, {TT(word)});
                    kindItem->setIcon(0, InterfaceIcon("kind"));
                }
                auto* leaf = new QTreeWidgetItem(kindItem, {text.mid(colon + 1)});
                leaf->setIcon(0, InterfaceIcon("problem"));
            }
            if (kindItem != nullptr)
                kindItem->setExpanded(true);
        }
        if (root != nullptr)
            root->setExpanded(true);
    }
}

// ---------------------------------------------------------------------------------------------
// Edit interfaces

EditInterfaceDialog::EditInterfaceDialog(QStringList namesGiven, std::vector<int> ticksGiven, QWidget* parent)
    : ThemedDialogBase(parent), names(std::move(namesGiven)), ticks(std::move(ticksGiven))
{
    setWindowTitle(QStringLiteral("Editer une interface"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    SetControlId(*list_, 1001);
    layout->addWidget(list_, 1);
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(MakeButtonRow(*this, ok, cancel));
    connect(ok, &QPushButton::clicked, this, &EditInterfaceDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &EditInterfaceDialog::reject);
    resize(420, 260);
}

void EditInterfaceDialog::OnInitDialog()
{
    for (qsizetype i = 0; i < names.size(); ++i)
        AddCheckItem(*list_, names[i], static_cast<std::size_t>(i) < ticks.size() && ticks[i] == 1);
}

void EditInterfaceDialog::accept()
{
    ticks.assign(static_cast<std::size_t>(names.size()), 0);
    for (int row = 0; row < list_->count() && row < names.size(); ++row)
        ticks[static_cast<std::size_t>(row)] = Ticked(*list_, row) ? 1 : 0;
    QDialog::accept();
}

bool EditInsertedInterfaces(InterfaceSet& set, QWidget* parent, shell::ShellPrompter& prompter)
{
    QStringList names;
    std::vector<int> ticks;
    for (int i = 0; i < set.InsertedCount(); ++i) {
        names.push_back(FromUtf8(set.InsertedPaths()[static_cast<std::size_t>(i)]));
        ticks.push_back(set.IsInterfaceEditable(i) ? 1 : 0);
    }
    EditInterfaceDialog dialog(names, ticks, parent);
    if (prompter.Exec(dialog) != QDialog::Accepted)
        return false;
    set.Save();
    for (std::size_t i = 0; i < dialog.ticks.size(); ++i)
        set.SetInterfaceEditable(static_cast<int>(i), dialog.ticks[i] == 1 ? 1 : 0);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Copy interfaces

CopyInterfacesDialog::CopyInterfacesDialog(const InterfaceFolders& folders, QWidget* parent,
                                           shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Copier les interfaces"));
    for (auto& set : sets_)
        set = std::make_unique<InterfaceSet>(folders, prompter_);

    auto* layout = new QVBoxLayout(this);
    auto* pathsRow = new QHBoxLayout;
    const int pathIds[2] = {1070, 1048};
    const int browseIds[2] = {1072, 1051};
    for (int side = 0; side < 2; ++side) {
        auto* edit = new QLineEdit(this);
        SetControlId(*edit, pathIds[side]);
        edit->setReadOnly(true);
        pathEdits_[side] = edit;
        auto* browse = MakeButton(*this, browseIds[side], QStringLiteral("..."));
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
        pathsRow->addWidget(edit, 1);
        pathsRow->addWidget(browse);
        if (side == 0)
            pathsRow->addSpacing(12);
        connect(browse, &QPushButton::clicked, this, [this, side] { Browse(static_cast<Side>(side)); });
    }
    layout->addLayout(pathsRow);

    tabs_ = new QTabBar(this);
    SetControlId(*tabs_, 1075);
    for (const char* tab : {"CLI", "Fonction", "Constante", "Macro"})
        tabs_->addTab(QString::fromUtf8(tab));
    layout->addWidget(tabs_);

    const int listIds[2][4] = {{1068, 1069, 1077, 1079}, {1081, 1083, 1086, 1090}};
    const int deleteIds[2] = {1059, 1053};
    const int moveIds[2] = {1061, 1056};
    const int copyIds[2] = {1067, 1063};
    auto* sides = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        auto* column = new QVBoxLayout;
        stacks_[side] = new QStackedWidget(this);
        std::array<InterfaceListCtrl*, 4> lists = {new CliListCtrl, new FunctionListCtrl, new ConstantListCtrl,
                                                   new MacroListCtrl};
        for (int tab = 0; tab < 4; ++tab) {
            InterfaceListCtrl* list = lists[tab];
            SetControlId(*list, listIds[side][tab]);
            list->SetHost(host_);
            list->SetPrompter(prompter_);
            list->SetInterfaceSet(sets_[side].get());
            // These sets are private to the dialog: no view of the main frame is told.
            list->Init(nullptr, false, true);
            stacks_[side]->addWidget(list);
            lists_[side][tab] = list;
        }
        column->addWidget(stacks_[side], 1);
        auto* buttons = new QHBoxLayout;
        const bool left = side == Left;
        deleteButtons_[side] = MakeIconButton(*this, deleteIds[side], "delete", QStringLiteral("Supprimer"));
        moveButtons_[side] =
            MakeIconButton(*this, moveIds[side], left ? "move_right" : "move_left", QStringLiteral("Déplacer"));
        copyButtons_[side] =
            MakeIconButton(*this, copyIds[side], left ? "copy_right" : "copy_left", QStringLiteral("Copier"));
        if (left) {
            buttons->addWidget(deleteButtons_[side]);
            buttons->addStretch(1);
            buttons->addWidget(copyButtons_[side]);
            buttons->addWidget(moveButtons_[side]);
        } else {
            buttons->addWidget(moveButtons_[side]);
            buttons->addWidget(copyButtons_[side]);
            buttons->addStretch(1);
            buttons->addWidget(deleteButtons_[side]);
        }
        for (QToolButton* button : {deleteButtons_[side], moveButtons_[side], copyButtons_[side]})
            button->setEnabled(false);
        const auto which = static_cast<Side>(side);
        connect(deleteButtons_[side], &QToolButton::clicked, this, [this, which] { DeleteOn(which); });
        connect(moveButtons_[side], &QToolButton::clicked, this, [this, which] { MoveFrom(which); });
        connect(copyButtons_[side], &QToolButton::clicked, this, [this, which] { CopyFrom(which); });
        column->addLayout(buttons);
        sides->addLayout(column, 1);
        if (side == 0)
            sides->addSpacing(12);
    }
    layout->addLayout(sides, 1);
    connect(tabs_, &QTabBar::currentChanged, this, &CopyInterfacesDialog::SelectTab);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(MakeButtonRow(*this, ok, cancel));
    connect(ok, &QPushButton::clicked, this, &CopyInterfacesDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CopyInterfacesDialog::reject);
    resize(760, 420);
}

CopyInterfacesDialog::~CopyInterfacesDialog()
{
    // The lists point into the sets: they go first.
    for (auto& side : lists_) {
        for (InterfaceListCtrl*& list : side) {
            delete list;
            list = nullptr;
        }
    }
}

void CopyInterfacesDialog::OnInitDialog()
{
    SelectTab(0);
    for (int side = 0; side < 2; ++side) {
        if (!paths_[side].isEmpty())
            LoadSide(static_cast<Side>(side), paths_[side]);
    }
}

InterfaceListCtrl& CopyInterfacesDialog::CurrentList(Side side) const
{
    return *lists_[side][std::max(0, tabs_->currentIndex())];
}

void CopyInterfacesDialog::SelectTab(int tab)
{
    if (tab < 0 || tab > 3)
        return;
    if (tabs_->currentIndex() != tab)
        tabs_->setCurrentIndex(tab);
    for (QStackedWidget* stack : stacks_)
        stack->setCurrentIndex(tab);
}

void CopyInterfacesDialog::Browse(Side side)
{
    const std::optional<std::string> chosen =
        prompter_.OpenFile({ToUtf8(TT("Charger")), ToUtf8(TT("Interface ZOV") + QStringLiteral("|*.qzi|")), "*.qzi"});
    if (!chosen)
        return;
    const QString path = FromUtf8(*chosen);
    if (path == paths_[side == Left ? Right : Left]) {
        prompter_.Tell(ToUtf8(TT("Cette interface est déjà chargée !")));
        return;
    }
    LoadSide(side, path);
}

void CopyInterfacesDialog::LoadSide(Side side, const QString& path)
{
    paths_[side] = path;
    InterfaceSet& set = *sets_[side];
    set.Clear();
    set.Load(ToUtf8(path));
    ShowPaths();
    for (InterfaceListCtrl* list : lists_[side])
        list->Refill();
    deleteButtons_[side]->setEnabled(true);
    if (!paths_[Left].isEmpty() && !paths_[Right].isEmpty()) {
        for (int s = 0; s < 2; ++s) {
            moveButtons_[s]->setEnabled(true);
            copyButtons_[s]->setEnabled(true);
        }
    }
}

void CopyInterfacesDialog::ShowPaths()
{
    for (int side = 0; side < 2; ++side) {
        pathEdits_[side]->setText(shell::CompactPathForWindow(*pathEdits_[side], paths_[side]));
        pathEdits_[side]->setToolTip(paths_[side]);
    }
}

void CopyInterfacesDialog::resizeEvent(QResizeEvent* event)
{
    ThemedDialogBase::resizeEvent(event);
    ShowPaths();
}

void CopyInterfacesDialog::DeleteOn(Side side)
{
    CurrentList(side).DeleteRecord();
}

void CopyInterfacesDialog::MoveFrom(Side side)
{
    const Side other = side == Left ? Right : Left;
    if (CurrentList(side).MoveRecordTo(*sets_[other]))
        CurrentList(other).Refill();
}

void CopyInterfacesDialog::CopyFrom(Side side)
{
    const Side other = side == Left ? Right : Left;
    if (CurrentList(side).CopyRecordTo(*sets_[other]))
        CurrentList(other).Refill();
}

void CopyInterfacesDialog::accept()
{
    for (int side = 0; side < 2; ++side) {
        if (!paths_[side].isEmpty())
            sets_[side]->Save();
    }
    QDialog::accept();
}

}  // namespace zov::interfaces

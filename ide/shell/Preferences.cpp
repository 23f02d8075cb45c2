#include "ide/shell/Preferences.h"

#include "common/PathUtils.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPictures.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/UiLanguage.h"
#include "ide/shell/core/ApplicationCore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace zov::shell {
namespace {

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Translated(const char* text)
{
    return TranslateLabel(QString::fromUtf8(text));
}

template <typename Control>
Control* Make(QWidget* parent, int id)
{
    auto* control = new Control(parent);
    if (id != 0)
        SetControlId(*control, id);
    return control;
}

QCheckBox* MakeCheck(QWidget* parent, int id, const char* text)
{
    auto* check = new QCheckBox(QString::fromUtf8(text), parent);
    SetControlId(*check, id);
    return check;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int id = 0)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    if (id != 0)
        SetControlId(*label, id);
    return label;
}

QPushButton* MakeBrowseButton(QWidget* parent, int id)
{
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    SetControlId(*button, id);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    return button;
}

QComboBox* MakeList(QWidget* parent, int id, const char* const* texts, int count)
{
    auto* combo = Make<QComboBox>(parent, id);
    for (int i = 0; i < count; ++i)
        combo->addItem(Translated(texts[i]));
    return combo;
}

// A path chosen in a file dialog, shown relative to the program folder.
std::optional<std::string> ChooseFile(Prompter& prompter, const std::filesystem::path& programFolder,
                                      const std::string& filter, const std::string& initial)
{
    std::optional<std::string> chosen =
        prompter.OpenFile({TranslateLabel(QStringLiteral("Sélectionner")).toStdString(), filter, initial});
    if (!chosen)
        return std::nullopt;
    return MakeRelativePath(programFolder.string(), *chosen);
}

}  // namespace

PreferencesColourButton::PreferencesColourButton(Prompter& prompter, QWidget* parent)
    : QPushButton(QStringLiteral("Color"), parent), prompter_(prompter)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (std::optional<std::uint32_t> chosen = prompter_.ChooseColour(text().toStdString(), colour_)) {
            SetColour(*chosen);
            emit ColourChosen(*chosen);
        }
    });
}

void PreferencesColourButton::SetColour(std::uint32_t colour)
{
    colour_ = colour;
    QPixmap swatch(16, 16);
    swatch.fill(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(0, 0, 15, 15);
    painter.end();
    setIcon(QIcon(swatch));
}

CPrefGeneralPage::CPrefGeneralPage(const std::filesystem::path& programFolder, Prompter& prompter, QWidget* parent)
    : CTreePropPage(QStringLiteral("Générale"), parent),
      programFolder_(programFolder),
      prompter_(prompter),
      languages_(ListLanguageChoices(programFolder))
{
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(MakeLabel(this, "Interface par défaut :"), 0, 0);
    auto* interfaceRow = new QHBoxLayout;
    defaultInterface_ = Make<QLineEdit>(this, 1022);
    interfaceRow->addWidget(defaultInterface_, 1);
    QPushButton* browse = MakeBrowseButton(this, 1023);
    interfaceRow->addWidget(browse);
    grid->addLayout(interfaceRow, 0, 1);

    grid->addWidget(MakeLabel(this, "Langue :"), 1, 0);
    language_ = Make<QComboBox>(this, 1018);
    for (const LanguageChoice& choice : languages_)
        language_->addItem(Utf8(choice.name));
    grid->addWidget(language_, 1, 1);

    grid->addWidget(MakeLabel(this, "Contrôle de version :"), 2, 0);
    versionControl_ = MakeList(this, 1205, kVersionControlChoices, 2);
    grid->addWidget(versionControl_, 2, 1);
    grid->addWidget(MakeLabel(this, "Taille de police :"), 3, 0);
    fontSize_ = MakeList(this, 1256, kFontChoices, 3);
    grid->addWidget(fontSize_, 3, 1);
    grid->addWidget(MakeLabel(this, "Thème :"), 4, 0);
    theme_ = MakeList(this, 1257, kThemeChoices, 2);
    grid->addWidget(theme_, 4, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addSpacing(6);

    noSplash_ = MakeCheck(this, 1007, "Ne pas afficher la fenêtre de démarrage");
    beep_ = MakeCheck(this, 1032, "Signal sonore à la fin ou à l'arrêt d'un script");
    defaultConfiguration_ = MakeCheck(this, 1027, "Configuration par défaut");
    importAutoSave_ = MakeCheck(this, 1214, "Sauvegarde automatique des fichiers exigences && FT");
    for (QCheckBox* check : {noSplash_, beep_, defaultConfiguration_, importAutoSave_})
        layout->addWidget(check);
    layout->addStretch(1);
    connect(browse, &QPushButton::clicked, this, &CPrefGeneralPage::Browse);
}

const std::vector<LanguageChoice>& CPrefGeneralPage::Languages() const
{
    return languages_;
}

void CPrefGeneralPage::Browse()
{
    if (std::optional<std::string> path = ChooseFile(prompter_, programFolder_, "Interface|*.qzi|", "*.qzi"))
        defaultInterface_->setText(Utf8(*path));
}

void CPrefGeneralPage::SetValues(const PreferencesValues& values)
{
    defaultInterface_->setText(Utf8(values.defaultInterface));
    storedLanguage_ = values.language;
    int languageIndex = -1;
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        if (languages_[i].file == values.language)
            languageIndex = static_cast<int>(i);
    }
    language_->setCurrentIndex(languageIndex);
    versionControl_->setCurrentIndex(values.versionControl >= 0 && values.versionControl < 2 ? values.versionControl
                                                                                             : 0);
    fontSize_->setCurrentIndex(values.fontChoice >= 0 && values.fontChoice < 3 ? values.fontChoice : 0);
    theme_->setCurrentIndex(values.themeChoice == 1 ? 1 : 0);
    noSplash_->setChecked(values.noSplash);
    beep_->setChecked(values.beep);
    defaultConfiguration_->setChecked(values.defaultConfiguration);
    importAutoSave_->setChecked(values.importAutoSave);
}

void CPrefGeneralPage::GetValues(PreferencesValues& values) const
{
    values.defaultInterface = defaultInterface_->text().toStdString();
    const int languageIndex = language_->currentIndex();
    values.language = languageIndex >= 0 && languageIndex < static_cast<int>(languages_.size())
                          ? languages_[languageIndex].file
                          : storedLanguage_;
    values.versionControl = versionControl_->currentIndex();
    values.fontChoice = fontSize_->currentIndex();
    values.themeChoice = theme_->currentIndex();
    values.noSplash = noSplash_->isChecked();
    values.beep = beep_->isChecked();
    values.defaultConfiguration = defaultConfiguration_->isChecked();
    values.importAutoSave = importAutoSave_->isChecked();
}

CPrefInterpreterPage::CPrefInterpreterPage(const std::filesystem::path& programFolder, Prompter& prompter,
                                           QWidget* parent)
    : CTreePropPage(QStringLiteral("Interpréteur"), parent), programFolder_(programFolder), prompter_(prompter)
{
    auto* layout = new QVBoxLayout(this);
    showExecution_ = MakeCheck(this, 1026, "Afficher la ligne d'exécution en cours");
    layout->addWidget(showExecution_);
    auto* grid = new QGridLayout;
    pauseLabel_ = MakeLabel(this, "Pause entre chaque ligne :", 1066);
    grid->addWidget(pauseLabel_, 0, 0);
    pause_ = MakeList(this, 1064, kPauseChoices, 8);
    grid->addWidget(pause_, 0, 1);
    grid->addWidget(MakeLabel(this, "Timeout sur appel de fonction :"), 1, 0);
    auto* timeoutRow = new QHBoxLayout;
    timeout_ = Make<QSpinBox>(this, 1201);
    timeout_->setRange(2, 86400);
    timeout_->setValue(30);
    timeoutRow->addWidget(timeout_);
    timeoutRow->addWidget(MakeLabel(this, "secondes"));
    timeoutRow->addStretch(1);
    grid->addLayout(timeoutRow, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addSpacing(6);

    auto* engineGrid = new QGridLayout;
    engineGrid->addWidget(MakeLabel(this, "Interpréteur :"), 0, 0);
    auto* engineRow = new QHBoxLayout;
    engine_ = Make<QLineEdit>(this, 1013);
    engineRow->addWidget(engine_, 1);
    QPushButton* browse = MakeBrowseButton(this, 1010);
    engineRow->addWidget(browse);
    engineGrid->addLayout(engineRow, 0, 1);
    engineGrid->addWidget(MakeLabel(this, "Paramètres :"), 1, 0);
    engineParams_ = Make<QLineEdit>(this, 1019);
    engineGrid->addWidget(engineParams_, 1, 1);
    engineGrid->setColumnStretch(1, 1);
    layout->addLayout(engineGrid);
    layout->addStretch(1);
    connect(browse, &QPushButton::clicked, this, &CPrefInterpreterPage::Browse);
    connect(showExecution_, &QCheckBox::toggled, this, &CPrefInterpreterPage::EnablePause);
}

void CPrefInterpreterPage::Browse()
{
    // Programs have no extension here: every file is offered.
    if (std::optional<std::string> path = ChooseFile(prompter_, programFolder_, "Interpréteur|*|", "*"))
        engine_->setText(Utf8(*path));
}

void CPrefInterpreterPage::EnablePause()
{
    pauseLabel_->setEnabled(showExecution_->isChecked());
    pause_->setEnabled(showExecution_->isChecked());
}

void CPrefInterpreterPage::SetValues(const PreferencesValues& values)
{
    showExecution_->setChecked(values.showExecution);
    EnablePause();
    pause_->setCurrentIndex(PauseIndexOfMs(values.linePauseMs));
    timeout_->setValue(values.timeoutFunction);
    engine_->setText(Utf8(values.engine));
    engineParams_->setText(Utf8(values.engineParams));
}

void CPrefInterpreterPage::GetValues(PreferencesValues& values) const
{
    values.showExecution = showExecution_->isChecked();
    values.linePauseMs = PauseMsOfIndex(pause_->currentIndex());
    values.timeoutFunction = timeout_->value();
    values.engine = engine_->text().toStdString();
    values.engineParams = engineParams_->text().toStdString();
}

CPrefColoursPage::CPrefColoursPage(const QString& title, Prompter& prompter, QWidget* parent)
    : CTreePropPage(title, parent)
{
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(MakeLabel(this, "Couleurs :"));
    auto* row = new QHBoxLayout;
    categories_ = Make<QListWidget>(this, 1001);
    categories_->setFixedHeight(categories_->fontMetrics().height() * 8 + 8);
    row->addWidget(categories_, 1);
    auto* buttonColumn = new QVBoxLayout;
    colourButton_ = new PreferencesColourButton(prompter, this);
    SetControlId(*colourButton_, 1024);
    buttonColumn->addWidget(colourButton_);
    buttonColumn->addStretch(1);
    row->addLayout(buttonColumn);
    layout_->addLayout(row);
    connect(categories_, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(colours_.size()))
            colourButton_->SetColour(colours_[index]);
    });
    connect(colourButton_, &PreferencesColourButton::ColourChosen, this, [this](std::uint32_t colour) {
        const int selected = categories_->currentRow();
        if (selected >= 0 && selected < static_cast<int>(colours_.size()))
            colours_[selected] = colour;
    });
}

void CPrefColoursPage::AddCategories(const char* const* names, int count)
{
    colours_.assign(count, 0);
    for (int i = 0; i < count; ++i)
        categories_->addItem(Translated(names[i]));
    categories_->setCurrentRow(0);
}

void CPrefColoursPage::SetColours(const std::uint32_t* colours, int count)
{
    colours_.assign(colours, colours + count);
    const int row = std::max(0, categories_->currentRow());
    colourButton_->SetColour(colours_[row]);
}

CPrefEditorPage::CPrefEditorPage(Prompter& prompter, QWidget* parent)
    : CPrefColoursPage(QStringLiteral("Editeur"), prompter, parent)
{
    AddCategories(kEditorColourNames, kEditorColourCategories);
    showLineNumber_ = MakeCheck(this, 1028, "Afficher les numéros de ligne");
    layout_->addWidget(showLineNumber_);
    names_ = Make<QComboBox>(this, 1018);
    names_->setModel(new QStandardItemModel(names_));
    layout_->addWidget(names_);
    layout_->addStretch(1);
    connect(static_cast<QStandardItemModel*>(names_->model()), &QStandardItemModel::itemChanged, this,
            &CPrefEditorPage::NamesChanged);
}

void CPrefEditorPage::NamesChanged()
{
    if (filling_)
        return;
    auto* model = static_cast<QStandardItemModel*>(names_->model());
    nameList_.clear();
    for (int i = 0; i < model->rowCount(); ++i) {
        if (model->item(i)->checkState() == Qt::Checked)
            nameList_.push_back(model->item(i)->text().toStdString());
    }
}

void CPrefEditorPage::SetValues(const PreferencesValues& values)
{
    SetColours(values.editColours.data(), kEditorColourCategories);
    showLineNumber_->setChecked(values.showLineNumber);
    nameList_ = values.editorNames;
    filling_ = true;
    auto* model = static_cast<QStandardItemModel*>(names_->model());
    model->clear();
    for (const std::string& name : values.editorNames) {
        const bool off = name.starts_with('#');
        auto* item = new QStandardItem(Utf8(off ? name.substr(1) : name));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(off ? Qt::Unchecked : Qt::Checked);
        model->appendRow(item);
    }
    filling_ = false;
    names_->setEnabled(!values.editorNames.empty());
}

void CPrefEditorPage::GetValues(PreferencesValues& values) const
{
    std::copy(colours_.begin(), colours_.end(), values.editColours.begin());
    values.showLineNumber = showLineNumber_->isChecked();
    values.editorNames = nameList_;
}

CPrefTracePage::CPrefTracePage(Prompter& prompter, QWidget* parent)
    : CPrefColoursPage(QStringLiteral("Traces"), prompter, parent)
{
    AddCategories(kTraceColourNames, kTraceColourCategories);
    traceScript_ = MakeCheck(this, 1008, "Afficher les traces des scripts");
    traceCli_ = MakeCheck(this, 1031, "Afficher les traces des CLI");
    traceInterpreter_ = MakeCheck(this, 1014, "Afficher les traces de l'interpréteur");
    for (QCheckBox* check : {traceScript_, traceCli_, traceInterpreter_})
        layout_->addWidget(check);
    auto* row = new QHBoxLayout;
    row->addWidget(MakeLabel(this, "Taille du tampon :"));
    maxLines_ = Make<QSpinBox>(this, 1236);
    maxLines_->setRange(1000, 100000);
    maxLines_->setValue(10000);
    row->addWidget(maxLines_);
    row->addWidget(MakeLabel(this, "lignes"));
    row->addStretch(1);
    layout_->addLayout(row);
    traceOneLine_ = MakeCheck(this, 1194, "Afficher chaque trace sur une ligne");
    layout_->addWidget(traceOneLine_);
    layout_->addStretch(1);
}

void CPrefTracePage::SetValues(const PreferencesValues& values)
{
    SetColours(values.traceColours.data(), kTraceColourCategories);
    traceScript_->setChecked(values.traceScript);
    traceCli_->setChecked(values.traceCli);
    traceInterpreter_->setChecked(values.traceInterpreter);
    maxLines_->setValue(values.maxLines);
    traceOneLine_->setChecked(values.traceOneLine);
}

void CPrefTracePage::GetValues(PreferencesValues& values) const
{
    std::copy(colours_.begin(), colours_.end(), values.traceColours.begin());
    values.traceScript = traceScript_->isChecked();
    values.traceCli = traceCli_->isChecked();
    values.traceInterpreter = traceInterpreter_->isChecked();
    values.maxLines = maxLines_->value();
    values.traceOneLine = traceOneLine_->isChecked();
}

CPrefExecPage::CPrefExecPage(QWidget* parent) : CTreePropPage(QStringLiteral("Exécution"), parent)
{
    auto* layout = new QVBoxLayout(this);
    saveTempResult_ = MakeCheck(this, 1190, "Enregistrer temporairement les résultats");
    hideOnExecution_ = MakeCheck(this, 1009, "Cacher durant l'exécution");
    saveTrace_ = MakeCheck(this, 1010, "Enregistrer les traces pour le rapport");
    for (QCheckBox* check : {saveTempResult_, hideOnExecution_, saveTrace_})
        layout->addWidget(check);
    layout->addStretch(1);
}

void CPrefExecPage::SetValues(const PreferencesValues& values)
{
    saveTempResult_->setChecked(values.saveTempResult);
    hideOnExecution_->setChecked(values.hideOnExecution);
}

void CPrefExecPage::GetValues(PreferencesValues& values) const
{
    values.saveTempResult = saveTempResult_->isChecked();
    values.hideOnExecution = hideOnExecution_->isChecked();
}

CPreferences::CPreferences(const std::filesystem::path& programFolder, Prompter& prompter, QWidget* parent,
                           int firstPage)
    : CTreePropSheet(QStringLiteral("Préférences"), parent, firstPage)
{
    SetTreeViewMode(true, true, true);
    general_ = new CPrefGeneralPage(programFolder, prompter);
    interpreter_ = new CPrefInterpreterPage(programFolder, prompter);
    editor_ = new CPrefEditorPage(prompter);
    trace_ = new CPrefTracePage(prompter);
    exec_ = new CPrefExecPage;
    const QIcon icon = PreferencesPageIcon();
    for (CTreePropPage* page : std::initializer_list<CTreePropPage*>{general_, interpreter_, editor_, trace_, exec_}) {
        AddPage(page);
        SetPageIcon(PageCount() - 1, icon);
    }
    resize(600, 400);
}

void CPreferences::SetValues(const PreferencesValues& values)
{
    loaded_ = values;
    general_->SetValues(values);
    interpreter_->SetValues(values);
    editor_->SetValues(values);
    trace_->SetValues(values);
    exec_->SetValues(values);
}

PreferencesValues CPreferences::Values() const
{
    PreferencesValues values = loaded_;
    general_->GetValues(values);
    interpreter_->GetValues(values);
    editor_->GetValues(values);
    trace_->GetValues(values);
    exec_->GetValues(values);
    return values;
}

bool PreferencesCommand::Run(const PreferencesStore& store, PreferencesHost& host, ShellPrompter& prompter,
                             QWidget* parent)
{
    CPreferences sheet(store.settings.ProgramFolder(), prompter, parent, lastPage_);
    sheet.SetValues(LoadPreferences(store, host));
    if (prompter.Exec(sheet) != QDialog::Accepted)
        return false;
    lastPage_ = sheet.GetActiveIndex();
    StorePreferences(sheet.Values(), store, host, prompter);
    return true;
}

bool PreferencesCommand::Run(ApplicationCore& application, PreferencesHost& host, ShellPrompter& prompter,
                             QWidget* parent)
{
    bool restore = application.DefaultConfiguration();
    PreferencesStore store{application.GetSettings(), application.Values(), restore, application.Translator()};
    const bool accepted = Run(store, host, prompter, parent);
    application.SetDefaultConfiguration(restore);
    return accepted;
}

}  // namespace zov::shell

#include "ide/shell/ThemedDialog.h"
#include "ide/shell/TranslateWidgets.h"
#include "ide/shell/UiLanguage.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace zov::shell;

// "Nom" is both a label of the template and a value the dialog shows; "Vide" has an empty
// translation; "A" and "B" chain, to show that nothing is translated twice.
Translate Table()
{
    static const std::map<std::string, std::string, std::less<>> table = {
        {"Propri\xC3\xA9t\xC3\xA9s", "Properties"},
        {"Nom", "Name"},
        {"Annuler", "Cancel"},
        {"Actif", "Active"},
        {"Oui", "Yes"},
        {"Options", "Settings"},
        {"G\xC3\xA9n\xC3\xA9ral", "General"},
        {"D\xC3\xA9tails", "Details"},
        {"Vide", ""},
        {"A", "B"},
        {"B", "C"},
    };
    return [](std::string_view text) {
        const auto found = table.find(text);
        return found == table.end() ? std::string(text) : found->second;
    };
}

class Page : public ThemedPropertyPageBase {
public:
    explicit Page(QWidget* parent = nullptr) : ThemedPropertyPageBase("G\xC3\xA9n\xC3\xA9ral", parent)
    {
        auto* layout = new QVBoxLayout(this);
        label = new QLabel("A", this);
        layout->addWidget(label);
    }
    QLabel* label;
    int inits = 0;

protected:
    void OnInitDialog() override { ++inits; }
};

class Dialog : public ThemedDialogBase {
public:
    Dialog()
    {
        setWindowTitle("Propri\xC3\xA9t\xC3\xA9s");
        auto* layout = new QVBoxLayout(this);
        label = new QLabel("Nom", this);
        unknown = new QLabel("Inconnu", this);
        empty = new QLabel("", this);
        emptyTranslation = new QLabel("Vide", this);
        value = new QLabel("Nom", this);
        edit = new QLineEdit("Nom", this);
        combo = new QComboBox(this);
        combo->addItem("Nom");
        combo->setEditable(true);
        combo->setEditText("Nom");
        text = new QPlainTextEdit("Nom", this);
        button = new QPushButton("Annuler", this);
        group = new QGroupBox("Options", this);
        auto* groupLayout = new QVBoxLayout(group);
        check = new QCheckBox("Actif", group);  // inside a group box: any depth is translated
        radio = new QRadioButton("Oui", group);
        groupLayout->addWidget(check);
        groupLayout->addWidget(radio);
        tabs = new QTabWidget(this);
        auto* detailsTab = new QWidget;
        tabLabel = new QLabel("Nom", detailsTab);
        tabs->addTab(detailsTab, "D\xC3\xA9tails");
        page = new Page;
        tabs->addTab(page, page->windowTitle());
        for (QWidget* widget : std::initializer_list<QWidget*>{label, unknown, empty, emptyTranslation, value, edit,
                                                               combo, text, button, group, tabs})
            layout->addWidget(widget);
    }

    QLabel* label;
    QLabel* unknown;
    QLabel* empty;
    QLabel* emptyTranslation;
    QLabel* value;
    QLineEdit* edit;
    QComboBox* combo;
    QPlainTextEdit* text;
    QPushButton* button;
    QGroupBox* group;
    QCheckBox* check;
    QRadioButton* radio;
    QTabWidget* tabs;
    QLabel* tabLabel;
    Page* page;
    int inits = 0;
    QString titleSeenByInit;

protected:
    // The dialog's data goes in after the template was translated: "Nom" shown as a value stays.
    void OnInitDialog() override
    {
        ++inits;
        titleSeenByInit = windowTitle();
        value->setText("Nom");
    }
};

class ThemedDialogTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
    void TearDown() override { InstallUiLanguage(Translate()); }
};

TEST_F(ThemedDialogTest, TemplateTextsAreTranslatedAndDataNever)
{
    InstallUiLanguage(Table());
    Dialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Properties");
    EXPECT_EQ(dialog.titleSeenByInit, "Properties");
    const std::pair<QString, QString> cases[] = {
        {dialog.label->text(), "Name"},       {dialog.unknown->text(), "Inconnu"},
        {dialog.empty->text(), ""},           {dialog.emptyTranslation->text(), "Vide"},
        {dialog.value->text(), "Nom"},        {dialog.edit->text(), "Nom"},
        {dialog.combo->currentText(), "Nom"}, {dialog.combo->itemText(0), "Nom"},
        {dialog.text->toPlainText(), "Nom"},  {dialog.button->text(), "Cancel"},
        {dialog.group->title(), "Settings"},  {dialog.check->text(), "Active"},
        {dialog.radio->text(), "Yes"},        {dialog.tabs->tabText(0), "Details"},
        {dialog.tabLabel->text(), "Name"},    {dialog.tabs->tabText(1), "General"},
    };
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
    // A page translates itself, once, when it is first shown, as a sheet's pages are.
    EXPECT_EQ(dialog.page->inits, 0);
    EXPECT_EQ(dialog.page->label->text(), "A");
    dialog.tabs->setCurrentIndex(1);
    EXPECT_EQ(dialog.page->inits, 1);
    EXPECT_EQ(dialog.page->label->text(), "B");
}

TEST_F(ThemedDialogTest, WithoutALanguageTheTemplateStandsAsWritten)
{
    Dialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Propri\xC3\xA9t\xC3\xA9s"));
    EXPECT_EQ(dialog.label->text(), "Nom");
    EXPECT_EQ(dialog.button->text(), "Annuler");
    EXPECT_EQ(dialog.group->title(), "Options");
    EXPECT_EQ(dialog.tabs->tabText(0), QString::fromUtf8("D\xC3\xA9tails"));
    dialog.tabs->setCurrentIndex(1);
    EXPECT_EQ(dialog.page->label->text(), "A");
    EXPECT_EQ(dialog.inits, 1);
}

TEST_F(ThemedDialogTest, InitialisationRunsOnceBeforeTheFirstShow)
{
    InstallUiLanguage(Table());
    Dialog dialog;
    EXPECT_FALSE(dialog.IsInitialised());
    EXPECT_EQ(dialog.label->text(), "Nom");
    dialog.show();
    dialog.hide();
    dialog.label->setText("Nom");  // set by the dialog after its initialisation: stays
    dialog.show();
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.label->text(), "Nom");
}

TEST_F(ThemedDialogTest, APageIsInitialisedWhenFirstShown)
{
    InstallUiLanguage(Table());
    Page page;
    EXPECT_EQ(page.windowTitle(), QString::fromUtf8("G\xC3\xA9n\xC3\xA9ral"));
    page.show();
    page.show();
    EXPECT_EQ(page.inits, 1);
    EXPECT_EQ(page.windowTitle(), "General");
    EXPECT_EQ(page.label->text(), "B");
}

TEST_F(ThemedDialogTest, TranslateLabelNeverEmptiesAText)
{
    const Translate table = Table();
    EXPECT_EQ(TranslateLabel("Nom", table), "Name");
    EXPECT_EQ(TranslateLabel("Vide", table), "Vide");
    EXPECT_EQ(TranslateLabel("", table), "");
    EXPECT_EQ(TranslateLabel("Nom", Translate()), "Nom");
}

}  // namespace

// A themed dialog with a sortable list and icon buttons, to look at under a real display:
//   shell_preview [-style Fusion] [--english] [--box] [--controls [--popup]] [--shot file.png]
// --box asks a question through the window prompter over the dialog.
// --controls shows the colour buttons, the bar chart, the combo boxes and a link instead;
// --popup opens the first colour button's grid over it.
// --shot saves the whole screen once the dialog is up, then quits (for displays without a
// screenshot tool).
#include "ide/shell/BitmapKeyed.h"
#include "ide/shell/ButtonEx.h"
#include "ide/shell/ColourPicker.h"
#include "ide/shell/ComboBoxes.h"
#include "ide/shell/GraphControl.h"
#include "ide/shell/HyperlinkControl.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellIcons.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/SortableListCtrl.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/UiLanguage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <map>

namespace {

using namespace zov::shell;

class RunsDialog : public ThemedDialogBase {
public:
    RunsDialog()
    {
        setWindowTitle("R\xC3\xA9sultats de la campagne");
        auto* layout = new QVBoxLayout(this);
        auto* top = new QHBoxLayout;
        top->addWidget(new QLabel("Nom :", this));
        name_ = new QLineEdit(this);
        top->addWidget(name_, 1);
        auto* browse = new CButtonEx(this);
        browse->SetIcon(ShellIcon("folder.png"));
        browse->setToolTip("Parcourir");
        top->addWidget(browse);
        layout->addLayout(top);

        auto* group = new QGroupBox(
            "Ex\xC3\xA9"
            "cutions",
            this);
        auto* groupLayout = new QVBoxLayout(group);
        list_ = new SortableListCtrl(group);
        SetControlId(*list_, 1231);
        groupLayout->addWidget(list_);
        auto* buttons = new QHBoxLayout;
        for (const char* icon : {"arrow_up.png", "arrow_down.png", "arrow_left.png", "arrow_right.png"}) {
            auto* button = new CButtonEx(group);
            button->SetIcon(ShellIcon(icon));
            buttons->addWidget(button);
        }
        auto* toggle = new CButtonEx(group, CButtonEx::Kind::Toggle);
        toggle->SetIcon(ShellIcon("folder.png"));
        toggle->setChecked(true);
        buttons->addWidget(toggle);
        buttons->addStretch(1);
        buttons->addWidget(new QCheckBox("Afficher les d\xC3\xA9tails", group));
        groupLayout->addLayout(buttons);
        layout->addWidget(group, 1);

        auto* box = new QDialogButtonBox(this);
        box->addButton("OK", QDialogButtonBox::AcceptRole);
        box->addButton("Annuler", QDialogButtonBox::RejectRole);
        connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(box);
        resize(560, 360);
    }

protected:
    void OnInitDialog() override
    {
        name_->setText("Nom");
        list_->InsertColumn(0, "Test", Qt::AlignLeft, 130);
        list_->InsertColumn(1, "R\xC3\xA9sultat", Qt::AlignLeft, 90, 0, false);
        list_->InsertColumn(2,
                            "Dur\xC3\xA9"
                            "e",
                            Qt::AlignRight);
        list_->InsertColumn(3, "Commentaire", Qt::AlignLeft, 180);
        const struct {
            const char* test;
            const char* result;
            const char* duration;
            const char* comment;
            qint64 code;
        } rows[] = {
            {"T10_Connexion", "OK", "1.2", "", 1},
            {"T9_Ouverture", "NOK", "0.8", "Valeur inattendue", 5},
            {"T11_\xC3\x89"
             "criture",
             "Arr\xC3\xAAt\xC3\xA9", "3.0", "Arr\xC3\xAAt\xC3\xA9 par l'utilisateur", 3},
            {"T12_Lecture", "En cours", "", "", 2},
            {"T13_Fermeture", "Erreur", "0.1", "Script introuvable", 4},
            {"T14_Synth\xC3\xA8se",
             "Non ex\xC3\xA9"
             "cut\xC3\xA9",
             "", "", 6},
            {"T15_Rapport", "", "", "", 0},
        };
        int row = 0;
        for (const auto& r : rows) {
            list_->InsertItem(row, QString::fromUtf8(r.test), -1, r.code);
            list_->SetItemText(row, 1, r.result);
            list_->SetItemText(row, 2, r.duration);
            list_->SetItemText(row, 3, r.comment);
            ++row;
        }
        list_->SelectOnly(1);
    }

private:
    QLineEdit* name_;
    SortableListCtrl* list_;
};

class ControlsDialog : public ThemedDialogBase {
public:
    ControlsDialog()
    {
        setWindowTitle("Contr\xC3\xB4les");
        auto* layout = new QHBoxLayout(this);
        auto* form = new QFormLayout;
        picker_ = new CColourPickerXP(this);
        picker_->SetColour(0x0000FF);
        picker_->setFixedWidth(60);
        form->addRow("Texte :", picker_);
        auto* combo = new CColourPickerXP(this);
        combo->setFixedWidth(190);
        combo->SetComboLook(true);
        combo->SetNameWithValues(true);
        combo->SetColour(0x71B33C);
        form->addRow("Fond :", combo);
        auto* automatic = new CColourPickerXP(this);
        automatic->setFixedWidth(190);
        automatic->SetDefaultText("Automatique");
        automatic->SetComboLook(true);
        form->addRow("Trace :", automatic);
        auto* other = new CColourPickerXP(this);
        other->setFixedWidth(190);
        other->SetComboLook(true);
        other->SetColour(0x1F7AC4);
        form->addRow("Erreur :", other);

        auto* checks = new CheckComboBox(this);
        checks->addItems({"Campagnes", "Lots de tests", "Tests", "Exigences"});
        checks->SetCheck(0, 1);
        checks->SetCheck(2, 1);
        form->addRow("Colonnes :", checks);

        auto* pictures = new COwnerDrawComboBox(this);
        for (const char* icon : {"folder.png", "arrow_left.png", "arrow_right.png"}) {
            auto* record = new CBitmapKeyed(this);
            record->hide();
            record->CreateFromPlaceholder(this, 0, QStringLiteral(":/shell/") + icon);
            if (pictures->count() == 0)
                pictures->AddItem(nullptr, "Dossiers");
            pictures->AddItem(record, QString::fromLatin1(icon).section('.', 0, 0));
        }
        pictures->setCurrentIndex(1);
        form->addRow("Image :", pictures);

        auto* placeholder = new QLabel(this);
        SetControlId(*placeholder, 1300);
        placeholder->setFixedSize(16, 16);
        form->addRow("Projet :", placeholder);
        auto* picture = new CBitmapKeyed(this);
        picture->SetTooltipText("Dossier du projet");
        picture->CreateFromPlaceholder(this, 1300, QStringLiteral(":/shell/folder.png"));
        form->replaceWidget(placeholder, picture);

        auto* link = new HyperlinkControl("Aide en ligne", "https://example.org/aide", this);
        link->SetOpener([](const QString&) {});
        form->addRow("Site :", link);
        layout->addLayout(form);

        auto* graph = new GraphControl(this);
        graph->setMinimumSize(340, 240);
        graph->CreateScrollButtons();
        graph->Plot().axisColour = 0;
        graph->Plot().SetYLabelCount(6);
        graph->Plot().SetYGridCount(6);
        graph->SetDrawStyle(2);
        const std::uint32_t colours[3] = {0x32CD32, 0x0000FF, 0x808080};
        graph->SetSeriesColours(3, colours);
        graph->SetPointCount(8);
        graph->SetYRange(0, 20);
        for (int i = 0; i < 8; ++i) {
            const int values[3] = {4 + i, 3 - i / 3, 6 - i / 2};
            graph->SetPointValues(i, 3, values);
            graph->SetPointLabel(i, QStringLiteral("V%1").arg(i + 1));
        }
        graph->SetVisibleCount(5);
        layout->addWidget(graph, 1);
    }

    CColourPickerXP* Picker() const { return picker_; }

private:
    CColourPickerXP* picker_;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (application.arguments().contains("--english")) {
        static const std::map<std::string, std::string, std::less<>> table = {
            {"Nom", "Name"},
            {"Annuler", "Cancel"},
            {"Ex\xC3\xA9"
             "cutions",
             "Runs"},
            {"R\xC3\xA9sultats de la campagne", "Campaign results"},
            {"Oui", "Yes"},
            {"Non", "No"}};
        InstallUiLanguage([](std::string_view text) {
            const auto found = table.find(text);
            return found == table.end() ? std::string(text) : found->second;
        });
    }
    RunsDialog runs;
    ControlsDialog controls;
    QDialog& dialog = application.arguments().contains("--controls") ? static_cast<QDialog&>(controls) : runs;
    dialog.show();
    if (application.arguments().contains("--popup"))
        QTimer::singleShot(200, &controls, [&controls] { controls.Picker()->OpenPopup(); });
    if (application.arguments().contains("--box")) {
        QTimer::singleShot(100, &dialog, [] {
            ActivePrompter().Ask("Voulez-vous enregistrer les modifications\nde la campagne ?", PromptIcon::Question,
                                 PromptButtons::YesNoCancel);
        });
    }
    const qsizetype shot = application.arguments().indexOf("--shot");
    if (shot > 0 && shot + 1 < application.arguments().size()) {
        const QString file = application.arguments().at(shot + 1);
        QTimer::singleShot(700, &application, [file] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(file);
            QApplication::quit();
        });
    }
    return application.exec();
}

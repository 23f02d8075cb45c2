// The interface lists and dialogs with sample data, to look at under a real display:
//   interfaces_preview <view> [--shot file.png] [-style Fusion]
// view: lists, cli, cli-ro, constant, constant-ro, function, function-ro, macro, macro-ro,
// new, insert, errors, edit, copy. --shot saves the window once it is up, then quits.
#include "ide/interfaces/InterfaceFileDialogs.h"
#include "ide/interfaces/InterfaceListCtrl.h"
#include "ide/interfaces/RecordDialogs.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/ShellPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

using namespace zov::interfaces;

void Write(const QString& path, const char* text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

struct Sample {
    Sample()
    {
        folder = QDir::tempPath() + "/zov-interfaces-preview";
        QDir().mkpath(folder + "/tmp");
        Write(folder + "/banc.qzi", "");
        Write(folder + "/mesures.qzi", "");
        Write(folder + "/commun.qzi", "");
        const std::string base = folder.toStdString();
        set = std::make_unique<InterfaceSet>(InterfaceFolders{base, base, base + "/tmp"}, prompter);
        set->Load(base + "/banc.qzi");
        set->InsertInterface("mesures.qzi", base, 0, 0);
        set->InsertInterface("commun.qzi", base, 1, 1);
        set->AddConstant("Delai", "250", 1, -1);
        set->AddConstant("Port", "/dev/ttyUSB0", 0, -1);
        set->AddConstant("Actif", "true", 2, -1);
        set->AddConstant("Dossier", "%%TEMP%%", 3, -1);
        set->AddConstant("Tension", "12.5", 1, 0);
        set->AddConstant("Seuil", "0.2", 1, 0);
        set->AddConstant("Nom_Banc",
                         "Banc n\xC2\xB0"
                         "3",
                         0, 1);
        set->AddCli("alim", "alim_cli", ">>", 1, "exit", 1, 0, -1);
        set->AddCli("mesure", "outils/mesure_cli", "OK>", 0, "quit", 1, 1, 0);
        set->AddFunction("Ecrire", "write %% %%", 2, 0, -1);
        set->AddFunction("Lire", "read %%", 1, 2, -1);
        set->AddFunction("Mesurer", "measure -ch %%", 1, 4, 0);
        set->AddMacro("Init", "Ecrire(\"V\", 5) & Attendre(Delai) & Lire(\"I\")", -1);
        set->AddMacro("Longue", "Ecrire(\"registre_de_configuration_principal\", 123456789)", -1);
        set->AddMacro("Fin", "Ecrire(\"V\", 0)", 1);
    }
    QString folder;
    zov::shell::RecordingPrompter prompter;
    std::unique_ptr<InterfaceSet> set;
};

class ListsWindow : public QWidget {
public:
    explicit ListsWindow(InterfaceSet& set)
    {
        setWindowTitle("Interface");
        auto* layout = new QVBoxLayout(this);
        auto* tabs = new QTabWidget(this);
        InterfaceListCtrl* lists[] = {new CliListCtrl, new FunctionListCtrl, new ConstantListCtrl, new MacroListCtrl};
        const char* names[] = {"CLI", "Fonction", "Constante", "Macro"};
        for (int i = 0; i < 4; ++i) {
            lists[i]->SetInterfaceSet(&set);
            lists[i]->Init(this, true, true);
            lists[i]->Refill();
            tabs->addTab(lists[i], names[i]);
        }
        lists[2]->SelectOnly(1);
        tabs->setCurrentIndex(2);
        layout->addWidget(tabs);
        resize(430, 330);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString view = arguments.size() > 1 ? arguments.at(1) : QString("lists");
    Sample sample;
    const QStringList offered = {"banc", "commun"};
    std::unique_ptr<QWidget> window;
    if (view == "lists") {
        window = std::make_unique<ListsWindow>(*sample.set);
    } else if (view == "cli" || view == "cli-ro") {
        auto dialog =
            std::make_unique<CliDialog>(view == "cli-ro", view == "cli-ro" ? QStringList{"mesures"} : offered);
        if (view == "cli-ro")
            dialog->values = {"outils/mesure_cli", "mesure", "OK>", 0, "quit", true, true, -1};
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "constant" || view == "constant-ro") {
        auto dialog = std::make_unique<ConstantDialog>(view == "constant-ro", QStringList{"banc"});
        dialog->values.name = "Dossier";
        dialog->values.type = 3;
        dialog->values.value = "%%TEMP%%";
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "function" || view == "function-ro") {
        auto dialog = std::make_unique<FunctionDialog>(view == "function-ro", QStringList{"mesures"});
        dialog->values = {"measure -ch %% -range %%", "Mesurer", 4, -1};
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "macro" || view == "macro-ro") {
        auto dialog = std::make_unique<MacroDialog>(view == "macro-ro",
                                                    view == "macro-ro" ? QStringList{"mesures"} : offered, false);
        dialog->name = "Init";
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "new") {
        auto dialog = std::make_unique<NewInterfaceDialog>();
        dialog->name = "banc2";
        dialog->folder = "/home/banc/interfaces";
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "insert") {
        auto dialog = std::make_unique<InsertInterfacesDialog>(
            QStringList{"mesures.qzi", "#commun.qzi", "{zov}/interfaces/standard.qzi"}, "", "/home/banc", "/opt/zov",
            QStringList{"Complet=mesures.qzi|commun.qzi|{zov}/interfaces/standard.qzi", "Mesures=mesures.qzi|"});
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "errors") {
        auto dialog = std::make_unique<InsertionErrorDialog>(
            QStringList{"mesures.qzi", "commun.qzi"},
            QStringList{"0;CONST:Delai <dupliqu\xC3\xA9"
                        "e>",
                        "0;CLI:alim <dupliqu\xC3\xA9>", "1;FILE:commun.qzi <introuvable>"});
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "edit") {
        auto dialog = std::make_unique<EditInterfaceDialog>(
            QStringList{"/home/banc/mesures.qzi", "/home/banc/commun.qzi"}, std::vector<int>{0, 1});
        dialog->InitialiseOnce();
        window = std::move(dialog);
    } else if (view == "copy") {
        const std::string base = sample.folder.toStdString();
        Write(sample.folder + "/gauche.qzi",
              "CLI alim : \"alim_cli|>>|1\"\r\nCONST Delai : 250\r\nCONST Port : \"COM1\"\r\n");
        Write(sample.folder + "/droite.qzi", "CONST Seuil : 0.2\r\n");
        auto dialog = std::make_unique<CopyInterfacesDialog>(InterfaceFolders{base, base, base + "/tmp"});
        dialog->InitialiseOnce();
        dialog->LoadSide(CopyInterfacesDialog::Left, sample.folder + "/gauche.qzi");
        dialog->LoadSide(CopyInterfacesDialog::Right, sample.folder + "/droite.qzi");
        dialog->SelectTab(2);
        window = std::move(dialog);
    } else {
        return 2;
    }
    window->show();
    const qsizetype shot = arguments.indexOf("--shot");
    if (shot > 0 && shot + 1 < arguments.size()) {
        const QString file = arguments.at(shot + 1);
        QWidget* shown = window.get();
        QTimer::singleShot(500, &application, [file, shown] {
            shown->grab().save(file);
            QApplication::quit();
        });
    }
    return application.exec();
}

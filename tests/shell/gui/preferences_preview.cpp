// The preferences sheet, the splash window and the tip of the day, to look at under a real
// display:
//   preferences_preview [-style Fusion] [--page N] [--node] [--splash] [--tips] [--shot file.png]
// --node adds two pages under one node and selects the node. --shot saves the screen once the
// window is up (the window and a margin), then quits.
#include "ide/shell/Preferences.h"
#include "ide/shell/SplashWindow.h"
#include "ide/shell/TipOfTheDay.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using namespace zov::shell;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    QTemporaryDir folder;
    const std::filesystem::path program = folder.path().toStdString();
    std::ofstream(program / "english.lgn") << "$LANGUAGE=English\n";
    std::ofstream(program / "francais.lgn") << "$LANGUAGE=Fran\xC3\xA7"
                                               "ais\n";
    std::ofstream(program / "TipsFr.txt")
        << "; astuces\n[N]Appuyez sur F12 pour ouvrir les pr\xC3\xA9"
           "f\xC3\xA9rences et choisir les couleurs de "
           "l'\xC3\xA9"
           "diteur, la taille du tampon des traces et l'interpr\xC3\xA9teur.\nDeuxi\xC3\xA8me astuce\n";
    Settings settings(program / "ZOV.ini", program);
    RecordingPrompter prompter;

    std::unique_ptr<QDialog> window;
    if (args.contains("--splash")) {
        window = std::make_unique<SplashWindow>("1.0 PR1", IdentityTranslate(), nullptr, 60000);
    } else if (args.contains("--tips")) {
        window = std::make_unique<TipOfTheDay>(settings, "TipsFr.txt", prompter);
    } else {
        const qsizetype pageArg = args.indexOf("--page");
        const int page = pageArg > 0 && pageArg + 1 < args.size() ? args.at(pageArg + 1).toInt() : 0;
        auto sheet = std::make_unique<CPreferences>(program, prompter, nullptr, page);
        ApplicationSettings app = ReadApplicationSettings(settings);
        bool restore = false;
        FramePreferences frame;
        frame.editorNames = {"Mots cl\xC3\xA9s", "#Fonctions", "CLI"};
        NullPreferencesHost host(frame);
        sheet->SetValues(LoadPreferences(PreferencesStore{settings, app, restore}, host));
        if (args.contains("--node")) {
            sheet->AddPage(new CTreePropPage("Avanc\xC3\xA9::R\xC3\xA9seau"));
            sheet->AddPage(new CTreePropPage("Avanc\xC3\xA9::Journal"));
            sheet->SetEmptyPageText("Choisissez une page sous \xC2\xAB %1 \xC2\xBB");
        }
        CPreferences* raw = sheet.get();
        window = std::move(sheet);
        if (args.contains("--node")) {
            QTimer::singleShot(200, raw, [raw] {
                raw->PageTree()->setCurrentItem(
                    raw->PageTree()->topLevelItem(raw->PageTree()->topLevelItemCount() - 1));
            });
        }
    }
    window->show();
    const qsizetype shot = args.indexOf("--shot");
    if (shot > 0 && shot + 1 < args.size()) {
        const QString file = args.at(shot + 1);
        QDialog* shown = window.get();
        QTimer::singleShot(800, &application, [file, shown] {
            const QRect area = shown->frameGeometry().adjusted(-8, -8, 8, 8);
            QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(file);
            QApplication::quit();
        });
    }
    return application.exec();
}

// F12 as the user waits for it: the preferences sheet built, its values read from ZOV.ini (45
// reads, each a fresh read of the file) with 20 language files in the program folder to offer,
// and shown. Beside it, Qt's own colour dialog built and shown, as the peer: a standard dialog
// of about as many controls. Run offscreen.
#include "ide/shell/Preferences.h"

#include <QApplication>
#include <QColorDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace zov::shell;

struct ProgramFolder {
    ProgramFolder()
    {
        root = folder.path().toStdString();
        for (int i = 0; i < 20; ++i) {
            std::ofstream(root / ("langue" + std::to_string(i) + ".lgn"))
                << "$LANGUAGE=Langue " << i << "\r\n$HELP=ZOV.chm\r\nOui = Yes\r\nNon = No\r\n";
        }
        // A settings file of a used installation: every preference written once.
        std::ofstream ini(root / "ZOV.ini");
        ini << "[Preferences]\r\n";
        for (const SettingEntry& entry : kSettingTable) {
            if (entry.section == kPreferences)
                ini << entry.key << "=" << (entry.type == SettingType::Int ? "1" : "x") << "\r\n";
        }
        ini << "[Options]\r\nLastProject=\r\n";
    }
    QTemporaryDir folder;
    std::filesystem::path root;
};

void PreferencesSheetShown(benchmark::State& state)
{
    ProgramFolder program;
    const Settings settings(program.root / "ZOV.ini", program.root);
    RecordingPrompter prompter;
    NullPreferencesHost host;
    for (auto _ : state) {
        ApplicationSettings app = ReadApplicationSettings(settings);
        bool restore = false;
        CPreferences sheet(program.root, prompter);
        sheet.SetValues(LoadPreferences(PreferencesStore{settings, app, restore}, host));
        sheet.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(sheet.General().Languages().size());
    }
}
BENCHMARK(PreferencesSheetShown)->Unit(benchmark::kMillisecond);

void ColourDialogShown(benchmark::State& state)
{
    for (auto _ : state) {
        QColorDialog dialog;
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.currentColor());
    }
}
BENCHMARK(ColourDialogShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

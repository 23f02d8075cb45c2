// The output bar with sample traces, errors, runs, variables, data and find results, to look at:
//   output_preview [-style Fusion] [--tab N] [--shot file.png]
// --tab shows page N (0 "Traces" .. 5 "Recherche dans les scripts"); --shot saves the window once
// it is up, then quits.
#include "ide/output/OutputBar.h"

#include <QApplication>
#include <QMainWindow>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QString shot;
    int tab = 0;
    const QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--shot" && i + 1 < arguments.size())
            shot = arguments[++i];
        else if (arguments[i] == "--tab" && i + 1 < arguments.size())
            tab = arguments[++i].toInt();
    }

    zov::output::OutputPaneBar bar{zov::output::OutputContext{}};
    using zov::execution::TraceCategory;
    auto& trace = *bar.m_tTrace;
    trace.TraceSystem(1, std::string(46, '*'));
    trace.TraceSystem(1, "Exécution (\"/home/test/scripts/alarme.qzs\")");
    trace.TraceScriptLine(1, 12, "Démarrage du banc");
    trace.TraceCli(1, "brunox: port COM1 ouvert");
    trace.TraceInterpreter(1, "Appel de la fonction Mesure");
    trace.TraceScriptLine(1, 18, "Tension = 12.04 V\\nCourant = 0.51 A");
    trace.TraceSystem(1, "Fin d'exécution");

    auto script = std::make_shared<const zov::output::ScriptEntry>(
        zov::output::ScriptEntry{"alarme.qzs", "/home/test/scripts/alarme.qzs"});
    bar.m_tError->AddError("12: Erreur de syntaxe", script);
    bar.m_tError->AddError("30:Il manque un 'end' pour l'instruction 'case'", script);

    static zov::execution::RunRecord ok, failed, running;
    const auto name = [](zov::execution::RunRecord& record, const char* test, const char* set) {
        record.testName = test;
        record.testSetName = set;
        record.campaignName = "Recette";
        record.hasTestSet = true;
    };
    name(ok, "Alarme haute", "Alarmes");
    name(failed, "Alarme basse", "Alarmes");
    name(running, "Mise sous tension", "Démarrage");
    bar.m_tExecution->LoadRuns({&ok, &failed, &running});
    for (auto* record : {&ok, &failed, &running}) {
        record->resultCode = 2;
        bar.m_tExecution->UpdateRun(*record, false);
    }
    ok.resultCode = 1;
    ok.resultText = "Seuil atteint";
    bar.m_tExecution->UpdateRun(ok, false);
    failed.resultCode = 0;
    failed.resultText = "Pas d'alarme";
    failed.warnings = {"Tension instable"};
    bar.m_tExecution->UpdateRun(failed, false);

    bar.m_tVar->AddVariable("Tension", &ok);
    bar.m_tVar->AddVariable("Compteur", &ok);
    bar.m_tVar->UpdateVariable("Tension", "12.04", 5, &ok);
    bar.m_tData->SetData("NumeroSerie", "A-1207", true);
    bar.m_tData->SetData("Operateur", "Martin", false);
    bar.m_tFind->AddLine("Recherche de \"Tension\" dans 2 scripts");
    bar.m_tFind->AddResult("alarme.qzs(18): Tension = Mesure()", "/home/test/scripts/alarme.qzs:18");
    bar.m_tFind->AddLine("1 occurrence(s) trouvée(s)");
    bar.ShowTab(tab);

    QMainWindow window;
    window.setWindowTitle("ZOV");
    window.setCentralWidget(new QPlainTextEdit(&window));
    auto* dock = new QDockWidget("Sortie", &window);
    dock->setWidget(&bar.Widget());
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    window.resize(1100, 520);
    window.show();
    if (!shot.isEmpty()) {
        QTimer::singleShot(400, &window, [&] {
            window.grab().save(shot);
            QApplication::quit();
        });
    }
    const int result = application.exec();
    dock->setWidget(nullptr);
    bar.Widget().setParent(nullptr);
    return result;
}

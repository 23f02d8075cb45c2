// A coloured script in an editor view with line numbers, marks, a folded macro call and a
// selection, to look at: editor_preview [-style Fusion|Windows]. Closes itself after a few
// seconds when ZOV_PREVIEW_SECONDS is set, saving the window to ZOV_PREVIEW_PNG first if named.

#include "ide/editor/EditorView.h"
#include "ide/editor/model/TextBuffer.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/core/Prompter.h"

#include <QApplication>
#include <QTimer>

using namespace zov::editor;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    zov::shell::RecordingPrompter prompter;
    zov::interfaces::InterfaceSet names({"", "", ""}, prompter);
    if (!names.ReadSyntaxFile(ZOV_SOURCE_DIR "/ide/editor/model/zov.stx") ||
        names.FindSyntaxLanguage("qzs") == nullptr) {
        qWarning("zov.stx not read: the script shows the default colours");
    }
    names.AddMacro("Greet", "Trace(\"hi\")", -1);
    names.AddFunction("Trace", "trace", 1, 0, -1);
    names.AddCli("Modem", "modem", "", 0, "", 0, 0, -1);
    names.AddConstant("MAXV", "10", 0, -1);

    CTextBuffer buffer;
    buffer.LoadFromBytes(
        "; Essai du modem\n"
        "int count = 0\n"
        "string reply = \"OK\"\n"
        "\n"
        "while count < MAXV\n"
        "\tModem(\"AT+CSQ\")\n"
        "\tTrace(reply)\n"
        "\tcount = count + 0x1F\n"
        "end\n"
        "Greet\n"
        "if reply == \"ERROR\" then\n"
        "\treturn 1   ; échec\n"
        "end\n");
    buffer.ChangeLineFlag(4, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(5, LineFlag_Execution, true);
    buffer.ChangeLineFlag(5, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(7, LineFlag_Marker, true);
    buffer.ChangeLineFlag(11, LineFlag_Error, true);
    buffer.ChangeLineFlag(2, LineFlag_Bookmark, true);
    buffer.SetMacroName(9, QStringLiteral("Greet"));

    CEditorView view;
    view.Colouring().SetMarkers(MarkersForLanguage(names.FindSyntaxLanguage("qzs")));
    view.Colouring().SetNames(&names);
    view.SetDisplayLineNumbers(true);
    view.AttachToBuffer(&buffer);
    view.resize(560, 300);
    view.setWindowTitle(QStringLiteral("ZOV"));
    view.show();
    view.setFocus();
    view.SetAnchor({6, 1});
    view.SetCursorPos({11, 1});
    view.SetSelection({6, 1}, {11, 1});
    if (const int seconds = qEnvironmentVariableIntValue("ZOV_PREVIEW_SECONDS"); seconds > 0) {
        QTimer::singleShot(seconds * 1000, &application, [&view] {
            if (const QString png = qEnvironmentVariable("ZOV_PREVIEW_PNG"); !png.isEmpty()) {
                view.grab().save(png);
            }
            QApplication::quit();
        });
    }
    return application.exec();
}

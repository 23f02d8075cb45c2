// zovprobe commands over the report writers: a report of a project file, as the report command or
// a batch run would write it.
#include "ide/project/model/ProjectModel.h"
#include "ide/reports/ReportFormat.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Prompter.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zov::probe {
namespace {

using namespace zov::reports;

// report [--batch] [--junit] [--xsl HREF] [--header FILE] [--footer FILE] [--image JPEG] [--align N]
//        [--sep CHAR] [--qual CHAR] PROJECT VERSION_INDEX PATH
// Writes the report the path's extension asks for and prints every prompt as "<text>"; exit 0 when
// it was written, 1 when it failed, 3 when the extension names no format, 2 for bad arguments.
const CommandRegistration report{
    "report",
    "[--batch] [--junit] [--xsl HREF] [--header F] [--footer F] [--image F] [--align N] [--sep C] "
    "[--qual C] PROJECT VERSION_INDEX PATH",
    [](std::span<char* const> args) {
        bool batch = false;
        ReportOptions options;
        std::size_t i = 0;
        for (; i < args.size() && std::string(args[i]).rfind("--", 0) == 0; ++i) {
            const std::string flag = args[i];
            if (flag == "--batch") {
                batch = true;
                options = BatchReportOptions();
                continue;
            }
            if (flag == "--junit") {
                options.xmlFormat = 1;
                continue;
            }
            if (i + 1 >= args.size()) {
                return 2;
            }
            const std::string value = args[++i];
            if (flag == "--xsl") {
                options.styleSheetHref = value;
            } else if (flag == "--header") {
                options.htmlHeader = value;
            } else if (flag == "--footer") {
                options.htmlFooter = value;
            } else if (flag == "--image") {
                options.pdfHeader = value;
            } else if (flag == "--align") {
                options.pdfHeaderAlign = std::atoi(value.c_str());
            } else if (flag == "--sep") {
                options.csvSeparator = CsvSeparatorFromSetting(value.empty() ? 0 : value[0]);
            } else if (flag == "--qual") {
                options.csvQualifier = CsvQualifierFromSetting(value.empty() ? 0 : value[0]);
            } else {
                return 2;
            }
        }
        if (args.size() - i != 3) {
            return 2;
        }
        shell::RecordingPrompter prompter;
        project::ProjectModel model;
        if (!model.LoadProjectFile(args[i], prompter)) {
            std::fprintf(stderr, "cannot load %s\n", args[i]);
            return 1;
        }
        CReportWriter writer(ReportHost{model, prompter, shell::IdentityTranslate(), batch});
        const ReportOutcome outcome = WriteReport(writer, args[i + 2], std::atoi(args[i + 1]), options);
        for (const std::string& text : prompter.Texts()) {
            std::printf("%s\n", text.c_str());
        }
        return outcome == ReportOutcome::Written ? 0 : outcome == ReportOutcome::Failed ? 1 : 3;
    }};

}  // namespace
}  // namespace zov::probe

// Any bytes as a results file under a fixed tree, then every report of every version: the XML
// reports parse back, the PDF saves, the HTML and CSV are built, and nothing crashes.
#include "common/xml/XmlText.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/reports/PdfCanvas.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Prompter.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void ExpectParses(const std::string& bytes)
{
    const auto prepared = zov::xml::PrepareXmlInput(bytes);
    TiXmlDocument document;
    if (!prepared || (document.Parse(prepared->c_str()), document.Error())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zov::project;
    ::setenv("TZ", "UTC", 1);
    ProjectModel model;
    model.Name = "Banc <&>";
    for (std::uint32_t id = 1; id <= 3; ++id) {
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{id, "V" + std::to_string(id), "é"}));
    }
    for (int c = 0; c < 2; ++c) {
        CCampaign& campaign = *model.AddCampaign("C" + std::to_string(c), kAddAtEnd, 0, nullptr);
        CTestSet& set = *model.AddTestSet(campaign, "S \"x\"", kAddAtEnd, 0, 0, 0, nullptr);
        for (int t = 0; t < 2; ++t) {
            model.AddTest(set, "t.qzs", "T" + std::to_string(t), kAddAtEnd, 0, nullptr, 0);
        }
    }
    if (!model.ReadResultsText(std::string(reinterpret_cast<const char*>(data), size))) {
        return 0;
    }
    zov::shell::RecordingPrompter prompter;
    zov::reports::CReportWriter writer(zov::reports::ReportHost{model, prompter});
    for (int version = 0; version < 3; ++version) {
        ExpectParses(*writer.ResultXmlText(version, "a.xsl"));
        ExpectParses(*writer.JUnitXmlText(version));
        (void)writer.HtmlText(version, "", "");
        (void)writer.CsvText(version, ';', '"');
        auto canvas = zov::reports::HaruPdfCanvas::Create();
        if (!canvas || !writer.LayOutPdf(*canvas, version, "", 0)) {
            std::abort();
        }
        std::string pdf;
        if (canvas->Save(pdf) != 0 || pdf.rfind("%PDF-", 0) != 0) {
            std::abort();
        }
    }
    return 0;
}

// The shared printer: TinyXML's layout byte for byte where TinyXML is right, the style-sheet line,
// and the reader's guards.
#include "common/xml/XmlReader.h"
#include "common/xml/XmlWriter.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TiXmlDocument PlainDocument()
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "ISO-8859-1", ""));
    auto* root = new TiXmlElement("ZOVProject");
    document.LinkEndChild(root);
    auto* name = new TiXmlElement("Name");
    name->LinkEndChild(new TiXmlText("Banc"));
    root->LinkEndChild(name);
    root->LinkEndChild(new TiXmlElement("Text"));
    auto* data = new TiXmlElement("Data");
    data->SetAttribute("name", "n");
    data->SetAttribute("value", "v");
    root->LinkEndChild(data);
    auto* list = new TiXmlElement("List");
    auto* ref = new TiXmlElement("Ref");
    ref->LinkEndChild(new TiXmlText("3"));
    list->LinkEndChild(ref);
    root->LinkEndChild(list);
    return document;
}

TEST(XmlPrinter, PlainDocumentIsByteIdenticalToTinyXmlsOwnPrinter)
{
    const TiXmlDocument document = PlainDocument();
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\n");
    document.Accept(&printer);
    EXPECT_EQ(zov::xml::PrintDocument(document), printer.Str());
    EXPECT_EQ(zov::xml::PrintDocument(document, ""), printer.Str());
    EXPECT_EQ(printer.Str().substr(0, printer.Str().find('\n')), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>");
}

TEST(XmlPrinter, StyleSheetFollowsTheDeclarationOnTheSameLine)
{
    const std::string printed = zov::xml::PrintDocument(PlainDocument(), "zov.xsl");
    EXPECT_EQ(printed.substr(0, printed.find('\n')),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><?xml-stylesheet href=\"zov.xsl\" type=\"text/xsl\"?>");
    const std::string plain = zov::xml::PrintDocument(PlainDocument());
    EXPECT_EQ(printed.substr(printed.find('\n')), plain.substr(plain.find('\n')));
}

TEST(XmlPrinter, StyleSheetHrefCannotEndTheInstructionEarly)
{
    const std::string printed = zov::xml::PrintDocument(PlainDocument(), "a?>b\"c&d<e.xsl");
    EXPECT_EQ(printed.substr(0, printed.find('\n')),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><?xml-stylesheet href=\"a?&gt;b&quot;c&amp;d&lt;e.xsl\" "
              "type=\"text/xsl\"?>");
    // The file still parses and keeps its root.
    TiXmlDocument reread;
    ASSERT_TRUE(zov::xml::ParseXmlDocument(printed, reread));
    ASSERT_NE(reread.RootElement(), nullptr);
    EXPECT_STREQ(reread.RootElement()->Value(), "ZOVProject");
}

TEST(XmlReader, FirstChildTextIsEmptyForMissingOrEmptyChildren)
{
    TiXmlDocument document;
    ASSERT_TRUE(zov::xml::ParseXmlDocument("<r><a>x</a><a>y</a><b/><c><d>z</d></c></r>", document));
    const TiXmlElement& root = *document.RootElement();
    EXPECT_EQ(zov::xml::FirstChildText(root, "a"), "x");
    EXPECT_EQ(zov::xml::FirstChildText(root, "b"), "");
    EXPECT_EQ(zov::xml::FirstChildText(root, "c"), "");
    EXPECT_EQ(zov::xml::FirstChildText(root, "missing"), "");
}

TEST(XmlReader, RefusesWhatWouldLoseDataOrOverflowTheParser)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool parses;
    };
    const Case cases[] = {
        {"well formed", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r>\x80</r>", true},
        {"empty", "", false},
        {"zero byte", std::string("<r>a\0b</r>", 10), false},
        {"unclosed", "<r><a></r>", false},
        {"too deep",
         [] {
             std::string nested;
             for (int i = 0; i < zov::xml::kMaxXmlDepth + 1; ++i)
                 nested += "<a>";
             for (int i = 0; i < zov::xml::kMaxXmlDepth + 1; ++i)
                 nested += "</a>";
             return nested;
         }(),
         false},
    };
    for (const Case& c : cases) {
        TiXmlDocument document;
        EXPECT_EQ(zov::xml::ParseXmlDocument(c.bytes, document), c.parses) << c.name;
    }
    TiXmlDocument euro;
    ASSERT_TRUE(zov::xml::ParseXmlDocument("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r>\x80</r>", euro));
    EXPECT_STREQ(euro.RootElement()->GetText(), "\xE2\x82\xAC");  // read as Windows-1252
}

}  // namespace

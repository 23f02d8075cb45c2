#include "ide/shell/core/DocumentRules.h"

#include <gtest/gtest.h>

namespace zov::shell {
namespace {

TEST(DocumentRulesTest, KindByTheFileOwnExtension)
{
    const auto known = [](std::string_view name) { return name == "qzs" || name == "ini"; };
    struct Case {
        const char* path;
        DocumentKind kind;
        const char* language;
    } cases[] = {
        {"/w/a.qzs", DocumentKind::Script, "qzs"},
        {"/tmp/ZOV_TMP1/M.qzm", DocumentKind::Macro, "qzs"},
        {"/tmp/ZOV_TMP1/R.qzr", DocumentKind::Text, ""},
        {"/w/notes.txt", DocumentKind::Text, ""},
        {"/w/setup.ini", DocumentKind::Other, "ini"},
        {"/w/p.qzp", DocumentKind::Project, ""},
        // A folder's name or an earlier extension does not count.
        {"/w/scripts.qzs/readme", DocumentKind::None, ""},
        {"/w/notes.txt.bak", DocumentKind::None, ""},
        {"/w/a.qzs.old", DocumentKind::None, ""},
        {"/w/a.QZS", DocumentKind::None, ""},
        {"C:\\tests\\b.qzs", DocumentKind::Script, "qzs"},
        {"/w/noextension", DocumentKind::None, ""},
        {"/w/dot.", DocumentKind::None, ""},
    };
    for (const Case& c : cases) {
        const DocumentType type = DocumentTypeOf(c.path, known);
        EXPECT_EQ(type.kind, c.kind) << c.path;
        EXPECT_EQ(type.language, c.language) << c.path;
    }
}

TEST(DocumentRulesTest, NamesAndFolders)
{
    EXPECT_EQ(BaseFileName("/w/dir/a.qzs"), "a.qzs");
    EXPECT_EQ(BaseFileName("C:\\dir\\a.qzs"), "a.qzs");
    EXPECT_EQ(BaseFileName("a.qzs"), "a.qzs");
    EXPECT_EQ(ContainingFolder("/w/dir/a.qzs"), "/w/dir");
    EXPECT_EQ(ContainingFolder("/a.qzs"), "");
    EXPECT_EQ(ContainingFolder("a.qzs"), "");
}

TEST(DocumentRulesTest, ModifiedTitleCarriesOneStar)
{
    EXPECT_EQ(TitleWithModified("a.qzs", true), "*a.qzs");
    EXPECT_EQ(TitleWithModified("*a.qzs", true), "*a.qzs");
    EXPECT_EQ(TitleWithModified("*a.qzs", false), "a.qzs");
    EXPECT_EQ(TitleWithModified("a.qzs", false), "a.qzs");
    EXPECT_EQ(TitleWithModified("", true), "*");
}

TEST(DocumentRulesTest, MacroDocuments)
{
    EXPECT_TRUE(IsMacroDocument("/tmp/ZOV_TMP1/Init.qzm"));
    EXPECT_FALSE(IsMacroDocument("/w/x.qzm/a.qzs"));
    EXPECT_FALSE(CanSaveDocumentAs("/tmp/ZOV_TMP1/Init.qzm"));
    EXPECT_TRUE(CanSaveDocumentAs(""));
    EXPECT_FALSE(CanSaveDocument(""));
}

}  // namespace
}  // namespace zov::shell

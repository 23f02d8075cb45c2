#include "ide/shell/CompactPathWidget.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QFontMetrics>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using zov::shell::CompactPathForWindow;

class CompactPathWidgetTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

// The window is sized from the font's own measure of the form we expect, so the table holds
// whatever font the platform gives.
TEST_F(CompactPathWidgetTest, FitsThePathToTheWindowsWidthInItsFont)
{
    struct Case {
        QString path;
        QString sizedFor;  // the text the window is made just wide enough to hold
        int extra;         // pixels added to that text's width
        QString expected;
    };
    const std::vector<Case> cases = {
        {"/home/banc/scripts/essai.qzs", "/home/banc/scripts/essai.qzs", 1, "/home/banc/scripts/essai.qzs"},
        {"/home/banc/scripts/essai.qzs", "/home/banc/../essai.qzs", 1, "/home/banc/../essai.qzs"},
        {"/home/banc/scripts/essai.qzs", "/home/banc/../essai.qzs", 0, "/home/../essai.qzs"},
        {"C:\\Projets\\Banc\\Scripts\\essai.qzs", "C:\\Projets\\..\\essai.qzs", 1, "C:\\Projets\\..\\essai.qzs"},
        {"/données/été/répertoire/fiche.qzs", "/données/../fiche.qzs", 1, "/données/../fiche.qzs"},
        // A file name that alone is too wide leaves the path whole.
        {"/home/banc/un_nom_de_fichier_long.qzs", "un_nom", 0, "/home/banc/un_nom_de_fichier_long.qzs"},
    };
    for (const Case& c : cases) {
        QLineEdit edit;
        QFont font = edit.font();
        font.setPixelSize(13);
        edit.setFont(font);
        const QFontMetrics metrics(font);
        edit.setFixedWidth(metrics.horizontalAdvance(c.sizedFor) + c.extra);
        const QString shown = CompactPathForWindow(edit, c.path);
        EXPECT_EQ(shown, c.expected) << c.path.toStdString() << " in " << edit.width() << " px";
        if (shown != c.path) {
            EXPECT_LT(metrics.horizontalAdvance(shown), edit.width()) << shown.toStdString();
        }
    }
}

TEST_F(CompactPathWidgetTest, AWiderFontShortensMore)
{
    const QString path = "/home/banc/scripts/essai.qzs";
    QLineEdit edit;
    QFont small = edit.font();
    small.setPixelSize(10);
    edit.setFont(small);
    edit.setFixedWidth(QFontMetrics(small).horizontalAdvance(path) + 1);
    EXPECT_EQ(CompactPathForWindow(edit, path), path);

    QFont large = small;
    large.setPixelSize(20);
    edit.setFont(large);
    const QString shown = CompactPathForWindow(edit, path);
    EXPECT_NE(shown, path);
    EXPECT_TRUE(shown.endsWith("/../essai.qzs")) << shown.toStdString();
}

}  // namespace

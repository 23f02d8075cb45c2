#include "common/gui/FolderPicker.h"

#include "QtTestSupport.h"

#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using zov::CFolderPicker;

// Refuses folders whose name starts with "no", and says why.
class PickyPicker : public CFolderPicker {
public:
    bool AcceptFolder(const QString& path, QString& statusText) override
    {
        const bool accepted = !QFileInfo(path).fileName().startsWith("no");
        statusText = accepted ? "Dossier valide" : "Dossier refus\xC3\xA9";
        return accepted;
    }
};

struct PickerParts {
    QTreeView* tree;
    QPushButton* ok;
    QPushButton* cancel;
    QLabel* status;
    QLabel* title;
    QFileSystemModel* model;
};

PickerParts Parts(QWidget* dialog)
{
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    auto* tree = dialog->findChild<QTreeView*>(CFolderPicker::kTreeName);
    return {tree,
            buttons->button(QDialogButtonBox::Ok),
            buttons->button(QDialogButtonBox::Cancel),
            dialog->findChild<QLabel*>(CFolderPicker::kStatusName),
            dialog->findChild<QLabel*>(CFolderPicker::kTitleName),
            qobject_cast<QFileSystemModel*>(tree->model())};
}

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = fs::temp_directory_path() / ("zov_picker_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "yes" / "sub");
        fs::create_directories(root_ / "nope");
    }
    void TearDown() override { fs::remove_all(root_); }

    QString Path(const std::string& relative) const { return QString::fromStdString((root_ / relative).string()); }

    fs::path root_;
};

TEST_F(FolderPickerTest, OpensOnTheInitialFolderAndReturnsTheChosenOne)
{
    PickyPicker picker;
    picker.title = "Choisir le dossier de sortie";
    picker.caption = "Dossier";
    picker.initialFolder = Path("yes") + "/  ";  // trailing blanks and one separator are dropped
    picker.showStatusText = true;
    QString selectedAtOpen, titleShown, captionShown, statusAtOpen;
    bool okAtOpen = false;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        const PickerParts parts = Parts(dialog);
        selectedAtOpen = parts.model->filePath(parts.tree->currentIndex());
        okAtOpen = parts.ok->isEnabled();
        statusAtOpen = parts.status->text();
        titleShown = parts.title->text();
        captionShown = dialog->windowTitle();
        parts.tree->setCurrentIndex(parts.model->index(Path("yes/sub")));
        QTest::mouseClick(parts.ok, Qt::LeftButton);
    });
    ASSERT_EQ(picker.Browse(), 1);
    EXPECT_TRUE(*answered);
    EXPECT_EQ(selectedAtOpen, Path("yes"));
    EXPECT_TRUE(okAtOpen);
    EXPECT_EQ(statusAtOpen, "Dossier valide");
    EXPECT_EQ(titleShown, "Choisir le dossier de sortie");
    EXPECT_EQ(captionShown, "Dossier");
    EXPECT_EQ(picker.result, Path("yes/sub"));
}

TEST_F(FolderPickerTest, OkIsDisabledWhileAcceptFolderRefuses)
{
    PickyPicker picker;
    picker.rootFolder = QString::fromStdString(root_.string());
    picker.initialFolder = Path("nope");
    picker.showStatusText = true;
    bool okForRefused = true, okAfterChange = false, statusVisible = false;
    QString statusForRefused;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        const PickerParts parts = Parts(dialog);
        okForRefused = parts.ok->isEnabled();
        statusForRefused = parts.status->text();
        statusVisible = parts.status->isVisible();
        // A click on a disabled OK does nothing; the dialog stays open.
        QTest::mouseClick(parts.ok, Qt::LeftButton);
        parts.tree->setCurrentIndex(parts.model->index(Path("yes")));
        okAfterChange = parts.ok->isEnabled();
        QTest::mouseClick(parts.ok, Qt::LeftButton);
    });
    ASSERT_EQ(picker.Browse(), 1);
    EXPECT_TRUE(*answered);
    EXPECT_FALSE(okForRefused);
    EXPECT_EQ(statusForRefused, "Dossier refus\xC3\xA9");
    EXPECT_TRUE(statusVisible);
    EXPECT_TRUE(okAfterChange);
    EXPECT_EQ(picker.result, Path("yes"));
}

TEST_F(FolderPickerTest, TheRootItselfCanBeChosenAndItsSiblingsAreHidden)
{
    CFolderPicker picker;
    picker.rootFolder = Path("yes");
    picker.initialFolder = Path("yes");
    bool siblingHidden = false;
    QString titleShown;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        const PickerParts parts = Parts(dialog);
        titleShown = parts.title->text();
        const QModelIndex sibling = parts.model->index(Path("nope"));
        siblingHidden = parts.tree->isRowHidden(sibling.row(), sibling.parent());
        QTest::mouseClick(parts.ok, Qt::LeftButton);
    });
    ASSERT_EQ(picker.Browse(), 1);
    EXPECT_TRUE(*answered);
    EXPECT_EQ(titleShown, "Open");
    EXPECT_TRUE(siblingHidden);
    EXPECT_EQ(picker.result, Path("yes"));
}

TEST_F(FolderPickerTest, CancelAndMissingRootGiveZero)
{
    CFolderPicker picker;
    picker.initialFolder = Path("yes");
    bool statusVisible = true;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        const PickerParts parts = Parts(dialog);
        statusVisible = parts.status->isVisible();
        QTest::mouseClick(parts.cancel, Qt::LeftButton);
    });
    EXPECT_EQ(picker.Browse(), 0);
    EXPECT_TRUE(*answered);
    EXPECT_FALSE(statusVisible);  // the status line is an option, off by default
    EXPECT_TRUE(picker.result.isEmpty());

    picker.rootFolder = Path("does-not-exist");
    EXPECT_EQ(picker.Browse(), 0);  // returns at once: no dialog to answer
}

TEST(FolderPickerPath, InitialFolderCleaning)
{
    EXPECT_EQ(zov::CleanInitialFolder("/data/out/  "), "/data/out");
    EXPECT_EQ(zov::CleanInitialFolder("C:\\tests\\"), "C:\\tests");
    EXPECT_EQ(zov::CleanInitialFolder("/data//"), "/data/");  // only one separator goes
    EXPECT_EQ(zov::CleanInitialFolder("/"), "/");
    EXPECT_EQ(zov::CleanInitialFolder(""), "");
}

}  // namespace

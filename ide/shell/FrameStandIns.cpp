#include "ide/shell/FrameStandIns.h"

#include "ide/shell/ObjectNames.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace zov::shell {

namespace {

// Where a stand-in tree item keeps its kind and indexes.
enum ItemRole { KindRole = Qt::UserRole, CampaignRole, SetRole, TestRole };

QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const std::string& title, RunRoot place)
{
    auto* item = new QTreeWidgetItem(parent, QStringList(QString::fromStdString(title)));
    item->setData(0, KindRole, static_cast<int>(place.kind));
    item->setData(0, CampaignRole, place.campaign);
    item->setData(0, SetRole, place.set);
    item->setData(0, TestRole, place.test);
    return item;
}

}  // namespace

StandInExplorer::StandInExplorer(Translate translate)
    : translate_(std::move(translate)), widget_(new QWidget), tree_(new QTreeWidget)
{
    auto* layout = new QVBoxLayout(widget_);
    layout->setContentsMargins(0, 0, 0, 0);
    tree_->setHeaderHidden(true);
    tree_->setObjectName("StandInTestTree");
    layout->addWidget(tree_);
}

StandInExplorer::~StandInExplorer()
{
    delete widget_;
}

bool StandInExplorer::LoadProject(const std::string& path)
{
    const bool loaded = project_.LoadProjectFile(path, ActivePrompter(), translate_);
    FillTree();
    return loaded;
}

void StandInExplorer::CloseProject()
{
    project_.ClearProject();
    FillTree();
}

void StandInExplorer::FillTree()
{
    tree_->clear();
    if (project_.FilePath.empty() && project_.Campaigns.empty())
        return;
    auto* root = new QTreeWidgetItem(tree_, QStringList(QString::fromStdString(project_.Name)));
    root->setData(0, KindRole, static_cast<int>(RunRootKind::Project));
    for (std::size_t c = 0; c < project_.Campaigns.size(); ++c) {
        const project::CCampaign& campaign = *project_.Campaigns[c];
        const int ci = static_cast<int>(c);
        QTreeWidgetItem* campaignItem = AddItem(root, campaign.Name, RunRoot{RunRootKind::Campaign, ci, 0, 0});
        for (std::size_t s = 0; s < campaign.TestSets.size(); ++s) {
            const project::CTestSet& set = *campaign.TestSets[s];
            const int si = static_cast<int>(s);
            QTreeWidgetItem* setItem = AddItem(campaignItem, set.Name, RunRoot{RunRootKind::TestSet, ci, si, 0});
            for (std::size_t t = 0; t < set.Tests.size(); ++t)
                AddItem(setItem, set.Tests[t]->Name, RunRoot{RunRootKind::Test, ci, si, static_cast<int>(t)});
        }
    }
    tree_->expandAll();
}

std::optional<RunRoot> StandInExplorer::SelectedRunItem() const
{
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr)
        return std::nullopt;
    return RunRoot{static_cast<RunRootKind>(item->data(0, KindRole).toInt()), item->data(0, CampaignRole).toInt(),
                   item->data(0, SetRole).toInt(), item->data(0, TestRole).toInt()};
}

int StandInExplorer::SelectedItemKind() const
{
    const std::optional<RunRoot> item = SelectedRunItem();
    // The project's own item is none of the three kinds.
    return item && item->kind != RunRootKind::Project ? static_cast<int>(item->kind) : -1;
}

StandInOutputBar::StandInOutputBar(const Translate& translate) : tabs_(new QTabWidget)
{
    tabs_->setDocumentMode(true);
    tabs_->setTabPosition(QTabWidget::South);
    trace_ = new QPlainTextEdit;
    trace_->setReadOnly(true);
    // Read-only, but its caret moves with the keys (and the caret commands), as a log pane does.
    trace_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    trace_->setObjectName(ControlName(0x7101));
    const char* captions[] = {"Traces", "Erreurs", "Exécution", "Variables", "Données", "Recherche dans les scripts"};
    for (int i = 0; i < 6; ++i) {
        QWidget* page = i == 0 ? static_cast<QWidget*>(trace_) : new QWidget;
        tabs_->addTab(page, QString::fromStdString(translate(captions[i])));
    }
    tabs_->setCurrentIndex(0);
}

StandInOutputBar::~StandInOutputBar()
{
    delete tabs_;
}

void StandInOutputBar::ClearTrace()
{
    trace_->clear();
}

void StandInOutputBar::ShowTab(int index)
{
    tabs_->setCurrentIndex(index);
}

PlainScriptView::PlainScriptView(ScriptDocument& document) : document_(document), editor_(new QPlainTextEdit)
{
    editor_->setFont(document.EditorFont());
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setTabStopDistance(QFontMetricsF(document.EditorFont()).horizontalAdvance(QLatin1Char(' ')) * 4);
    QObject::connect(editor_, &QPlainTextEdit::textChanged, editor_, [this] {
        if (!pulling_)
            document_.Buffer().SetModified(true);
    });
    QObject::connect(editor_, &QPlainTextEdit::cursorPositionChanged, editor_, [this] { document_.NotifyViewState(); });
    QObject::connect(editor_, &QPlainTextEdit::selectionChanged, editor_, [this] { document_.NotifyViewState(); });
}

PlainScriptView::~PlainScriptView()
{
    delete editor_;
}

void PlainScriptView::PushTextToBuffer()
{
    editor::CTextBuffer& buffer = document_.Buffer();
    const bool modified = buffer.IsModified();
    const QString text = editor_->toPlainText();
    buffer.DeleteText(nullptr, editor::TextPosition{}, buffer.GetEndPosition());
    buffer.InsertText(nullptr, editor::TextPosition{}, text);
    buffer.SetModified(modified);
}

void PlainScriptView::PullTextFromBuffer()
{
    const editor::CTextBuffer& buffer = document_.Buffer();
    pulling_ = true;
    editor_->setPlainText(buffer.GetText(editor::TextPosition{}, buffer.GetEndPosition(), u"\n"));
    editor_->setReadOnly(buffer.IsReadOnly());
    pulling_ = false;
}

QString PlainScriptView::WordAtCaret()
{
    QTextCursor cursor = editor_->textCursor();
    cursor.select(QTextCursor::WordUnderCursor);
    editor_->setTextCursor(cursor);
    return cursor.selectedText();
}

bool PlainScriptView::CaretCommand(int id)
{
    struct CaretMove {
        int id;
        QTextCursor::MoveOperation move;
        bool select;
    };
    static const CaretMove moves[] = {
        {37101, QTextCursor::Left, true},         {37103, QTextCursor::Right, true},
        {37109, QTextCursor::Up, true},           {37111, QTextCursor::Down, true},
        {37118, QTextCursor::EndOfLine, false},   {37119, QTextCursor::EndOfLine, true},
        {37120, QTextCursor::StartOfLine, false}, {37121, QTextCursor::StartOfLine, true},
        {37122, QTextCursor::Start, false},       {37124, QTextCursor::End, false},
    };
    for (const CaretMove& move : moves) {
        if (move.id == id) {
            QTextCursor cursor = editor_->textCursor();
            cursor.movePosition(move.move, move.select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
            editor_->setTextCursor(cursor);
            return true;
        }
    }
    return false;
}

bool PlainScriptView::HasFocus() const
{
    return editor_->hasFocus();
}

bool PlainScriptView::Copy()
{
    editor_->copy();
    return true;
}

bool PlainScriptView::Paste()
{
    if (editor_->isReadOnly())
        return false;
    editor_->paste();
    return true;
}

bool PlainScriptView::HasSelection() const
{
    return editor_->textCursor().hasSelection();
}

IScriptView::Position PlainScriptView::CaretPosition() const
{
    const QTextCursor cursor = editor_->textCursor();
    return {cursor.blockNumber(), cursor.positionInBlock()};
}

bool PlainScriptView::Overwrite() const
{
    return editor_->overwriteMode();
}

}  // namespace zov::shell

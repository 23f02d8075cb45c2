#include "ide/shell/FindInScripts.h"

#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace zov::shell {

namespace {

constexpr int kStopFind = 38501;
// A slice short enough that the window answers within a frame or two.
constexpr std::chrono::milliseconds kSlice(20);

}  // namespace

ScriptSearchDialog::ScriptSearchDialog(QWidget* parent) : ThemedDialogBase(parent)
{
    setObjectName(ControlName(8804));
    setWindowTitle(QStringLiteral("Rechercher dans les scripts"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Recherche :"), this));
    text_ = new QLineEdit(this);
    SetControlId(*text_, 8605);
    text_->setMinimumWidth(260);
    row->addWidget(text_, 1);
    layout->addLayout(row);
    wholeWord_ = new QCheckBox(QStringLiteral("Mot entier uniquement"), this);
    SetControlId(*wholeWord_, 8603);
    matchCase_ = new QCheckBox(QStringLiteral("Respecter la casse"), this);
    SetControlId(*matchCase_, 8604);
    layout->addWidget(wholeWord_);
    layout->addWidget(matchCase_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* search = buttons->addButton(QStringLiteral("Rechercher"), QDialogButtonBox::AcceptRole);
    search->setDefault(true);
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

SearchQuery ScriptSearchDialog::Query() const
{
    return {text_->text().toStdString(), matchCase_->isChecked(), wholeWord_->isChecked()};
}

FindInScripts::FindInScripts(MainFrame& frame)
    : QObject(&frame), frame_(frame), search_(frame.Application().Translator())
{
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &FindInScripts::Slice);
    frame.AddCommandHandler(command_ids::kFindInScripts, [this] {
        ScriptSearchDialog dialog(&frame_);
        if (ActivePrompter().Exec(dialog) == QDialog::Accepted)
            Start(dialog.Query());
    });
    frame.AddCommandHandler(kStopFind, [this] { Stop(); });
}

void FindInScripts::Start(const SearchQuery& query)
{
    const std::string projectPath = frame_.ProjectPath();
    const std::string folder = std::filesystem::path(projectPath).parent_path().string();
    frame_.Output().ClearFind();
    frame_.Output().AddFindLine(Text(search_.Start(query, frame_.Explorer().ScriptPaths(), folder)));
    if (QAction* stop = frame_.Command(kStopFind))
        stop->setEnabled(true);
    timer_->start();
}

void FindInScripts::Stop()
{
    timer_->stop();
    search_.Stop();
    if (QAction* stop = frame_.Command(kStopFind))
        stop->setEnabled(false);
}

void FindInScripts::Slice()
{
    for (const SearchHit& hit : search_.Step(kSlice))
        frame_.Output().AddFindResult(Text(hit.paneLine), hit.fileEntry, hit.line);
    if (search_.Running()) {
        timer_->start();
        return;
    }
    if (search_.Finished())
        frame_.Output().AddFindLine(Text(search_.SummaryLine()));
    if (QAction* stop = frame_.Command(kStopFind))
        stop->setEnabled(false);
}

}  // namespace zov::shell

#include "ide/output/OutputBar.h"

#include "ide/output/PanePictures.h"
#include "ide/shell/ObjectNames.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

namespace zov::output {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Button {
    PanePictureId picture;
    int command;
    const char* tooltip;
    bool check;
};

OutputContext Normalised(OutputContext context)
{
    if (!context.translate)
        context.translate = shell::IdentityTranslate();
    return context;
}

}  // namespace

OutputPaneBar::OutputPaneBar(OutputContext context) : context_(Normalised(std::move(context)))
{
    tabs_ = new QTabWidget;
    shell::SetControlId(*tabs_, 0x9001);
    tabs_->setDocumentMode(true);
    tabs_->setTabPosition(QTabWidget::South);
    m_tTrace = new CTraceView(context_);
    m_tError = new CErrorView(context_);
    m_tExecution = new CExecuteView(context_);
    m_tVar = new CVariableView(context_);
    m_tData = new CDataView(context_);
    m_tFind = new CFindView(context_);

    const auto fill = [this](QToolBar* toolbar, std::initializer_list<Button> buttons) {
        for (const Button& button : buttons) {
            QAction* action = shell::MakeCommand(toolbar, button.command, QString());
            action->setIcon(PanePicture(button.picture));
            action->setToolTip(Q(context_.Tr(button.tooltip)));
            action->setCheckable(button.check);
            toolbar->addAction(action);
            commands_[button.command] = action;
            const int id = button.command;
            QObject::connect(action, &QAction::triggered, toolbar, [this, id] { HandleCommand(id); });
        }
    };
    using P = PanePictureId;
    struct Page {
        QWidget* pane;
        int pageId;
        const char* caption;
        PanePictureId picture;
        std::initializer_list<Button> buttons;
    };
    const Page pages[] = {
        {m_tTrace,
         0x7110,
         "Traces",
         P::Traces,
         {{P::Save, 32985, "Enregistre", false},
          {P::Delete, 57633, "Supprime", false},
          {P::Freeze, 38502, "Fige", true}}},
        {m_tError, 0x7114, "Erreurs", P::Errors, {{P::Delete, 38700, "Supprime", false}}},
        {m_tExecution,
         0x7111,
         "Exécution",
         P::Runs,
         {{P::LoadScript, 32810, "Charge le script", false},
          {P::Delete, 38500, "Supprime", false},
          {P::Results, 32809, "Résultats du test", false}}},
        {m_tVar,
         0x7112,
         "Variables",
         P::Variables,
         {{P::Add, 32879, "Ajoute", false},
          {P::Delete, 32880, "Supprime", false},
          {P::RealTime, 8900, "Affiche en temps réel", true}}},
        {m_tData,
         0x7113,
         "Données",
         P::Data,
         {{P::Add, 38600, "Ajoute", false}, {P::Delete, 38601, "Supprime", false}}},
        {m_tFind,
         0x7115,
         "Recherche dans les scripts",
         P::Find,
         {{P::Find, 32791, "Recherche une chaine", false},
          {P::Stop, 38501, "Arrêt", false},
          {P::Next, 38504, "Suivant", false},
          {P::Previous, 38505, "Précédant", false},
          {P::Delete, 38506, "Supprime", false}}},
    };
    for (const Page& page : pages) {
        QToolBar* toolbar = AddPage(page.pane, page.pageId);
        fill(toolbar, page.buttons);
        tabs_->addTab(toolbar->parentWidget(), PanePicture(page.picture), Q(context_.Tr(page.caption)));
    }
    tabs_->setCurrentIndex(kTabTraces);
    // Nothing to stop until a search runs.
    commands_[38501]->setEnabled(false);
    QObject::connect(m_tTrace, &CTraceView::TracesChanged, commands_[57633], &QAction::setEnabled);
    UpdateCommandStates();
    m_tExecution->showRunTraces = [this](const execution::RunRecord& record) { m_tTrace->ScrollToRun(&record); };
}

OutputPaneBar::~OutputPaneBar()
{
    // The dock that held the bar may have taken it down already.
    delete tabs_.data();
}

QToolBar* OutputPaneBar::AddPage(QWidget* pane, int pageId)
{
    auto* page = new QWidget;
    shell::SetControlId(*page, pageId);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolbar = new QToolBar(page);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    layout->addWidget(toolbar);
    pane->setParent(page);
    layout->addWidget(pane, 1);
    return toolbar;
}

void OutputPaneBar::ShowTab(int index)
{
    if (index >= 0 && index < tabs_->count())
        tabs_->setCurrentIndex(index);
}

void OutputPaneBar::LoadTraceSettings(const shell::Settings& settings)
{
    m_tTrace->LoadColors(settings);
    m_tTrace->LoadOptions(settings);
}

void OutputPaneBar::AddFindResult(const QString& line, const std::string& fileEntry, int lineNumber)
{
    m_tFind->AddResult(line.toStdString(), fileEntry + ":" + std::to_string(lineNumber));
}

QAction* OutputPaneBar::Command(int id) const
{
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second;
}

void OutputPaneBar::UpdateCommandStates()
{
    commands_[57633]->setEnabled(m_tTrace->HasTraces());
    commands_[32810]->setEnabled(m_tExecution->CanLoadScript());
    commands_[32809]->setEnabled(m_tExecution->CanShowResults());
    commands_[38500]->setEnabled(m_tExecution->CanDeleteAll());
}

bool OutputPaneBar::HandleCommand(int id)
{
    const bool handled = RunCommand(id);
    if (handled && tabs_)
        UpdateCommandStates();
    return handled;
}

bool OutputPaneBar::RunCommand(int id)
{
    switch (id) {
    case 32985:
        m_tTrace->OnSave();
        return true;
    case 57633:
        m_tTrace->OnClear();
        return true;
    case 38502: {
        QAction* freeze = Command(38502);
        m_tTrace->OnFreeze(freeze ? freeze->isChecked() : !m_tTrace->IsFrozen());
        return true;
    }
    case 32810:
        m_tExecution->OnLoadScript();
        return true;
    case 38500:
        m_tExecution->OnDeleteAll();
        return true;
    case 32809:
        m_tExecution->OnShowResults();
        return true;
    case 32880:
        m_tVar->DeleteSelected();
        return true;
    case 38600:
        m_tData->OnAdd();
        return true;
    case 38601:
        m_tData->OnDelete();
        return true;
    case 38700:
        m_tError->DeleteAllItems();
        return true;
    case 38504:
        m_tFind->SelectNext();
        return true;
    case 38505:
        m_tFind->SelectPrevious();
        return true;
    case 38506:
        m_tFind->Clear();
        return true;
    default:
        // Adding a variable, real-time variables and the search belong to the main frame.
        if (context_.frameCommand && Command(id) != nullptr) {
            context_.frameCommand(id);
            return true;
        }
        return false;
    }
}

void OutputPaneBar::SetDisplayStyle(std::uint32_t style)
{
    style_ = style;
    tabs_->update();
    for (QToolBar* toolbar : tabs_->findChildren<QToolBar*>())
        toolbar->update();
}

PaneRunSinks::PaneRunSinks(OutputPaneBar& bar, ScriptEntry script, execution::RunSinks* view)
    : bar_(bar), script_(std::make_shared<const ScriptEntry>(std::move(script))), view_(view)
{}

std::string PaneRunSinks::Trace(execution::TraceCategory category, int runNumber, int line, std::string_view text)
{
    return bar_.m_tTrace->AddTrace(category, runNumber, line, text);
}

void PaneRunSinks::AddError(std::string_view text, execution::RunRecord*)
{
    bar_.m_tError->AddError(text, script_);
}

void PaneRunSinks::UpdateVariable(const std::string& name, const std::string& value, int kind,
                                  execution::RunRecord* record)
{
    bar_.m_tVar->UpdateVariable(name, value, kind, record);
}

void PaneRunSinks::AddRun(execution::RunRecord& record)
{
    bar_.m_tExecution->AddRun(record);
    bar_.m_tTrace->MarkRunStart(&record);
    bar_.UpdateCommandStates();
}

void PaneRunSinks::UpdateRun(execution::RunRecord& record, bool verify)
{
    bar_.m_tExecution->UpdateRun(record, verify);
    bar_.UpdateCommandStates();
}

// The marks and the view's state are the view's business.
void PaneRunSinks::SetExecutionLine(int line)
{
    if (view_)
        view_->SetExecutionLine(line);
}
void PaneRunSinks::ClearExecutionLine()
{
    if (view_)
        view_->ClearExecutionLine();
}
void PaneRunSinks::ToggleWarningLine(int line)
{
    if (view_)
        view_->ToggleWarningLine(line);
}
void PaneRunSinks::ClearWarningLines()
{
    if (view_)
        view_->ClearWarningLines();
}
void PaneRunSinks::ClearErrorLine()
{
    if (view_)
        view_->ClearErrorLine();
}
void PaneRunSinks::ShowLine(int line)
{
    if (view_)
        view_->ShowLine(line);
}
void PaneRunSinks::SetRunning(bool running)
{
    if (view_)
        view_->SetRunning(running);
}
void PaneRunSinks::SetReadOnly(bool readOnly)
{
    if (view_)
        view_->SetReadOnly(readOnly);
}
void PaneRunSinks::SetLineTimer(bool on)
{
    if (view_)
        view_->SetLineTimer(on);
}
void PaneRunSinks::Paused(int line)
{
    if (view_)
        view_->Paused(line);
}
void PaneRunSinks::EngineEnded(int exitCode)
{
    if (view_)
        view_->EngineEnded(exitCode);
}

std::unique_ptr<shell::IOutputBar> MakeOutputBar(OutputContext context, const shell::Settings* settings)
{
    auto bar = std::make_unique<OutputPaneBar>(std::move(context));
    if (settings != nullptr)
        bar->LoadTraceSettings(*settings);
    return bar;
}

std::unique_ptr<shell::IOutputBar> MakeOutputBar(const shell::Translate& translate, const shell::Settings* settings)
{
    OutputContext context;
    context.translate = translate;
    return MakeOutputBar(std::move(context), settings);
}

}  // namespace zov::output

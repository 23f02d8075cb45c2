// The editor view's block commands, menu texts, macro commands, actions and context menus.

#include "ide/editor/EditorView.h"

#include "ide/editor/model/MacroFolding.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

#include <array>
#include <span>

namespace zov::editor {
namespace {

using namespace shell::command_ids;

constexpr int kBackspaceCommand = 37001;
constexpr int kIndentCommand = 37003;
constexpr int kUnindentCommand = 37004;
constexpr int kOverwriteCommand = 37005;

struct ViewCommand {
    int id;
    const char* text;  // the translation key
    QKeySequence::StandardKey standard;
    const char* keys;  // when no standard key applies
};

constexpr ViewCommand kViewCommands[] = {
    {kBackspaceCommand, "Effacer le caractère précédent", QKeySequence::UnknownKey, "Backspace"},
    {kIndentCommand, "Indenter", QKeySequence::UnknownKey, "Tab"},
    {kUnindentCommand, "Désindenter", QKeySequence::UnknownKey, "Shift+Tab"},
    {kOverwriteCommand, "Refrappe", QKeySequence::UnknownKey, "Ins"},
    {kComment, "Commenter", QKeySequence::UnknownKey, "Alt+/"},
    {kUncomment, "Dé commenter", QKeySequence::UnknownKey, "Alt+:"},
    {kEditCut, "Co&uper", QKeySequence::UnknownKey, "Ctrl+X"},
    {kEditCopy, "&Copier", QKeySequence::UnknownKey, "Ctrl+C"},
    {kEditPaste, "C&oller", QKeySequence::UnknownKey, "Ctrl+V"},
    {kEditSelectAll, "&Sélectionner tout", QKeySequence::UnknownKey, "Ctrl+A"},
    {kEditReplace, "R&emplacer...", QKeySequence::UnknownKey, "Ctrl+H"},
    {kEditUndo, "&Annuler", QKeySequence::UnknownKey, "Ctrl+Z"},
    {kEditRedo, "&Rétablir", QKeySequence::UnknownKey, "Ctrl+Y"},
    {kCreateMacro, "Créer...", QKeySequence::UnknownKey, "Ctrl+M"},
    {kEditConstantOrMacro, "Modifier constante / macro", QKeySequence::UnknownKey, "Ctrl+Alt+M"},
    {kCollapseMacros, "Replier toutes les macros", QKeySequence::UnknownKey, ""},
    {kExpandMacros, "Déplier toutes les macros", QKeySequence::UnknownKey, ""},
    {kToggleBookmark, "Mettre/Enlever un signet", QKeySequence::UnknownKey, ""},
    {kToggleBreakpoint, "Mettre/Enlever un point d'arrêt", QKeySequence::UnknownKey, ""},
};

constexpr int kSeparator = 0;

// The context menus; 0 stands for a separator.
constexpr int kScriptMenu[] = {kEditUndo,  kEditRedo,  kSeparator,      kEditCut,          kEditCopy,
                               kEditPaste, kSeparator, kToggleBookmark, kToggleBreakpoint, kSeparator,
                               kComment,   kUncomment, kSeparator,      kCreateMacro,      kEditConstantOrMacro};
constexpr int kMacroMenu[] = {kEditUndo,  kEditRedo, kSeparator, kEditCut,   kEditCopy,    kEditPaste,
                              kSeparator, kComment,  kUncomment, kSeparator, kCreateMacro, kEditConstantOrMacro};
constexpr int kTextMenu[] = {kEditUndo, kEditRedo,  kSeparator, kEditCut,
                             kEditCopy, kEditPaste, kSeparator, kEditSelectAll};

constexpr int kTextKind = 3;
constexpr int kMacroKind = 2;

QString KeysOf(const ViewCommand& command)
{
    return QKeySequence(QString::fromUtf8(command.keys)).toString(QKeySequence::NativeText);
}

}  // namespace

QString CEditorView::Tr(const char* text) const
{
    return QString::fromStdString(translate_ ? translate_(text) : std::string(text));
}

void CEditorView::SetTranslate(shell::Translate translate)
{
    translate_ = translate ? std::move(translate) : shell::IdentityTranslate();
    UpdateCommandStates();
}

QString CEditorView::WordAtCaret() const
{
    if (GetTextBuffer() == nullptr) {
        return {};
    }
    const TextPosition at = GetCursorPos();
    const QString& line = GetTextBuffer()->GetLine(at.line);
    const int left = WordToLeft(line, at.charIndex);
    return line.mid(left, WordToRight(line, at.charIndex) - left);
}

QString CEditorView::SelectWordAtCaret()
{
    if (GetTextBuffer() == nullptr) {
        return {};
    }
    const TextPosition caret = GetCursorPos();
    const QString& line = GetTextBuffer()->GetLine(caret.line);
    const TextPosition start{WordToLeft(line, caret.charIndex), caret.line};
    const TextPosition end{WordToRight(line, caret.charIndex), caret.line};
    SetAnchor(start);
    SetCursorPos(end);
    SetSelection(start, end);
    return line.mid(start.charIndex, end.charIndex - start.charIndex);
}

bool CEditorView::RunCaretCommand(int id)
{
    const shell::CaretKey* caret = shell::FindCaretKey(id);
    if (caret == nullptr) {
        return false;
    }
    const QKeyCombination key =
        QKeySequence(QString::fromLatin1(caret->keys.data(), static_cast<qsizetype>(caret->keys.size())))[0];
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
    CEditorView::keyPressEvent(&press);
    return true;
}

shell::Prompter& CEditorView::ActivePrompter() const
{
    return prompter_ != nullptr ? *prompter_ : shell::ActivePrompter();
}

void CEditorView::SelectWholeLines(LineRange lines)
{
    const Selection whole = WholeLineSelection(*GetTextBuffer(), lines);
    SetAnchor(whole.start);
    MoveCaretTo(whole.end, true);
}

void CEditorView::Indent()
{
    if (!CanEdit()) {
        return;
    }
    if (const auto lines = BlockLines(GetSelectionStart(), GetSelectionEnd())) {
        if (!IndentLines(*GetTextBuffer(), this, *lines)) {
            QApplication::beep();
        }
        SelectWholeLines(*lines);
        return;
    }
    ReplaceSelection(QStringLiteral("\t"), UndoAction_Typing);
}

void CEditorView::Unindent()
{
    if (!CanEdit()) {
        return;
    }
    if (const auto lines = BlockLines(GetSelectionStart(), GetSelectionEnd())) {
        if (!UnindentLines(*GetTextBuffer(), this, *lines, GetTabSize())) {
            QApplication::beep();
        }
        SelectWholeLines(*lines);
        return;
    }
    // Without a block the caret only goes back to the previous tab stop.
    const TextPosition at = GetCursorPos();
    const int column = CharToColumn(at.line, at.charIndex);
    if (column == 0) {
        return;
    }
    const int tab = std::max(GetTabSize(), 1);
    MoveCaretTo({ColumnToChar(at.line, (column - 1) / tab * tab), at.line}, false);
}

void CEditorView::Comment()
{
    const auto lines = BlockLines(GetSelectionStart(), GetSelectionEnd());
    // A NUL comment mark would be written into the script: no language, no comment.
    if (!CanEdit() || !lines || commentChar_.isNull()) {
        return;
    }
    if (!CommentLines(*GetTextBuffer(), this, *lines, commentChar_)) {
        QApplication::beep();
    }
    SelectWholeLines(*lines);
}

void CEditorView::Uncomment()
{
    const auto lines = BlockLines(GetSelectionStart(), GetSelectionEnd());
    if (!CanEdit() || !lines || commentChar_.isNull()) {
        return;
    }
    if (!UncommentLines(*GetTextBuffer(), this, *lines, commentChar_)) {
        QApplication::beep();
    }
    SelectWholeLines(*lines);
}

QString CEditorView::UndoMenuText() const
{
    QString name;
    const bool named = GetTextBuffer() != nullptr && GetTextBuffer()->CanUndo() &&
                       GetTextBuffer()->GetUndoText(name) >= 0 && !name.isEmpty();
    const QString keys = QKeySequence(QStringLiteral("Ctrl+Z")).toString(QKeySequence::NativeText);
    if (!named) {
        return Tr("&Annuler") + u'\t' + keys;
    }
    return Tr("&Annuler %s").replace(QStringLiteral("%s"), name) + u'\t' + keys;
}

QString CEditorView::RedoMenuText() const
{
    QString name;
    const bool named = GetTextBuffer() != nullptr && GetTextBuffer()->CanRedo() && GetTextBuffer()->GetRedoText(name) &&
                       !name.isEmpty();
    const QString keys = QKeySequence(QStringLiteral("Ctrl+Y")).toString(QKeySequence::NativeText);
    if (!named) {
        return Tr("&Rétablir") + u'\t' + keys;
    }
    return Tr("&Rétablir %s").replace(QStringLiteral("%s"), name) + u'\t' + keys;
}

QString CEditorView::ReadOnlyStatusText() const
{
    return GetTextBuffer() != nullptr && GetTextBuffer()->IsReadOnly() ? Tr("Lecture") : QString();
}

bool CEditorView::InsertFunctionCall(int index)
{
    if (!CanEdit()) {
        return false;
    }
    const std::optional<FunctionSkeleton> function =
        services_.functionAt && index >= 0 ? services_.functionAt(index) : std::nullopt;
    if (!function) {
        return false;
    }
    const QString text = FunctionCallText(function->name, function->parameterCount);
    GetTextBuffer()->OpenUndoGroup();
    // In overwrite mode the call takes the place of one character, as a typed one would.
    return TypeInOpenGroup(text, 1);
}

void CEditorView::OnCreateMacro()
{
    if (!CanEdit()) {
        return;
    }
    CollapseAllMacros();
    CreateMacroFromSelection();
}

void CEditorView::CreateMacroFromSelection()
{
    if (!CanEdit() || !IsSelection() || !services_.askMacroName || !services_.applyMacroText) {
        return;
    }
    const std::optional<std::string> name = services_.askMacroName();
    if (!name) {
        return;
    }
    const TextPosition start = GetSelectionStart();
    const TextPosition end = GetSelectionEnd();
    const QString body = GetTextBuffer()->GetText(start, end);
    if (services_.isMacroName && services_.isMacroName(*name)) {
        ActivePrompter().Tell(Tr("Cette macro existe déjà !").toStdString(), shell::PromptIcon::Warning);
        return;
    }
    if (name->empty() || (services_.isNameFree && !services_.isNameFree(*name))) {
        ActivePrompter().Tell(Tr("Ce nom est invalide !").toStdString(), shell::PromptIcon::Warning);
        return;
    }
    // The name replaces the body in one undo step: undoing brings the body back whole.
    if (!ReplaceSelection(QString::fromStdString(*name), UndoAction_Delete)) {
        return;
    }
    services_.applyMacroText(*name, body.toStdString());
}

void CEditorView::CollapseAllMacros()
{
    // Folding resets the views: with nothing to fold the selection stays for the macro commands.
    if (!CanEdit() || !HasMacroBlocks()) {
        return;
    }
    zov::editor::CollapseAllMacros(*GetTextBuffer());
}

void CEditorView::ExpandAllMacros()
{
    if (!CanEdit() || !services_.expandMacro) {
        return;
    }
    // Every line coloured once, so that each call line carries its macro's name.
    std::vector<ColourBlock> blocks;
    for (int line = 0; line < GetLineCount(); ++line) {
        ColourLine(line, blocks);
    }
    zov::editor::ExpandAllMacros(*GetTextBuffer(), services_.expandMacro);
    MoveCaretTo({}, false);
    ScrollToLine(0);
}

void CEditorView::SaveFoldState()
{
    savedFolds_ =
        GetTextBuffer() != nullptr ? zov::editor::SaveFoldState(*GetTextBuffer()) : std::vector<std::uint32_t>{};
}

void CEditorView::RestoreFoldState()
{
    if (CanEdit() && services_.expandMacro) {
        zov::editor::RestoreFoldState(*GetTextBuffer(), savedFolds_, services_.expandMacro);
    }
}

bool CEditorView::HasMacroBlocks() const
{
    return GetTextBuffer() != nullptr && zov::editor::HasMacroBlocks(*GetTextBuffer());
}

void CEditorView::CreateCommands()
{
    for (const ViewCommand& command : kViewCommands) {
        QAction* action = shell::MakeCommand(this, command.id, QString());
        connect(action, &QAction::triggered, this, [this, id = command.id] { ExecuteCommand(id); });
        actions_[command.id] = action;
    }
    actions_[kOverwriteCommand]->setCheckable(true);
    UpdateCommandStates();
}

QAction* CEditorView::CommandAction(int id) const
{
    const auto found = actions_.find(id);
    return found != actions_.end() ? found->second : nullptr;
}

bool CEditorView::ExecuteCommand(int id)
{
    if (id >= kFunctionCommandFirst && id <= kFunctionCommandLast) {
        return InsertFunctionCall(id - kFunctionCommandFirst);
    }
    switch (id) {
    case kBackspaceCommand:
        DeleteBackward();
        break;
    case kIndentCommand:
        Indent();
        break;
    case kUnindentCommand:
        Unindent();
        break;
    case kOverwriteCommand:
        SetOverwriteMode(!overwrite_);
        break;
    case kComment:
        Comment();
        break;
    case kUncomment:
        Uncomment();
        break;
    case kEditCut:
        Cut();
        break;
    case kEditCopy:
        Copy();
        break;
    case kEditPaste:
        Paste();
        break;
    case kEditSelectAll:
        SelectAll();
        break;
    case kEditReplace:
        commands_.Replace();
        break;
    case kEditUndo:
        Undo();
        break;
    case kEditRedo:
        Redo();
        break;
    case kCreateMacro:
        OnCreateMacro();
        break;
    case kEditConstantOrMacro:
        if (services_.editConstantOrMacro) {
            services_.editConstantOrMacro(WordAtCaret().toStdString());
        }
        break;
    case kCollapseMacros:
        CollapseAllMacros();
        break;
    case kExpandMacros:
        ExpandAllMacros();
        break;
    case kToggleBookmark:
        ToggleBookmark();
        break;
    case kToggleBreakpoint:
        ToggleBreakpoint();
        break;
    default:
        return false;
    }
    UpdateCommandStates();
    return true;
}

void CEditorView::UpdateCommandStates()
{
    if (actions_.empty()) {
        return;
    }
    const bool editable = CanEdit();
    const bool selection = IsSelection();
    const bool text = documentKind_ == kTextKind;
    for (const ViewCommand& command : kViewCommands) {
        const QString keys = KeysOf(command);
        actions_[command.id]->setText(keys.isEmpty() ? Tr(command.text) : Tr(command.text) + u'\t' + keys);
    }
    actions_[kEditUndo]->setText(UndoMenuText());
    actions_[kEditRedo]->setText(RedoMenuText());
    actions_[kEditUndo]->setEnabled(GetTextBuffer() != nullptr && GetTextBuffer()->CanUndo());
    actions_[kEditRedo]->setEnabled(GetTextBuffer() != nullptr && GetTextBuffer()->CanRedo());
    actions_[kEditCut]->setEnabled(editable && selection);
    actions_[kEditCopy]->setEnabled(selection);
    actions_[kEditPaste]->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
    actions_[kOverwriteCommand]->setChecked(overwrite_);
    actions_[kCreateMacro]->setEnabled(!text && editable && selection);
    actions_[kEditConstantOrMacro]->setEnabled(!text && services_.isMacroOrConstant &&
                                               services_.isMacroOrConstant(WordAtCaret().toStdString()));
    actions_[kCollapseMacros]->setEnabled(editable);
    actions_[kExpandMacros]->setEnabled(editable);
}

int CEditorView::ContextMenuId() const
{
    return documentKind_ == kTextKind ? 175 : documentKind_ == kMacroKind ? 176 : 158;
}

void CEditorView::FillContextMenu(QMenu& menu)
{
    UpdateCommandStates();
    menu.setObjectName(QStringLiteral("menu%1").arg(ContextMenuId()));
    std::span<const int> rows = kScriptMenu;
    if (documentKind_ == kTextKind) {
        rows = kTextMenu;
    } else if (documentKind_ == kMacroKind) {
        rows = kMacroMenu;
    }
    for (const int id : rows) {
        if (id == kSeparator) {
            menu.addSeparator();
        } else {
            menu.addAction(actions_.at(id));
        }
    }
}

void CEditorView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    FillContextMenu(menu);
    menu.exec(event->globalPos());
    event->accept();
}

void CEditorView::ResetView()
{
    overwrite_ = false;
    autoIndent_ = true;
    dropCaretShown_ = false;
    CTextView::ResetView();
}

bool CEditorView::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab indent and unindent here: they never move the focus out of the text.
    return false;
}

}  // namespace zov::editor

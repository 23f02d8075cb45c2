#include "ide/editor/FindDialogs.h"

#include "ide/editor/EditorView.h"
#include "ide/editor/model/TextSearch.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/UiLanguage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zov::editor {

using shell::SetControlId;

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}

QPushButton* MakeButton(QWidget& parent, int id, const char* text)
{
    auto* button = new QPushButton(QString::fromUtf8(text), &parent);
    SetControlId(*button, id);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* MakeCheck(QWidget& parent, int id, const char* text)
{
    auto* check = new QCheckBox(QString::fromUtf8(text), &parent);
    SetControlId(*check, id);
    return check;
}

QLineEdit* MakeEdit(QWidget& parent, int id)
{
    auto* edit = new QLineEdit(&parent);
    SetControlId(*edit, id);
    return edit;
}

unsigned SearchFlags(bool matchCase, bool wholeWord, bool upward)
{
    return (matchCase ? unsigned(Find_MatchCase) : 0u) | (wholeWord ? unsigned(Find_WholeWord) : 0u) |
           (upward ? unsigned(Find_Up) : 0u);
}

// Where a position after a replaced range lands once the range [from, to) holds text ending at
// `end`; positions before the range do not move.
TextPosition AfterReplacement(TextPosition position, TextPosition to, TextPosition end)
{
    if (position < to) {
        return position;
    }
    if (position.line == to.line) {
        return {end.charIndex + position.charIndex - to.charIndex, end.line};
    }
    return {position.charIndex, position.line + end.line - to.line};
}

}  // namespace

void HighlightText(CTextView& view, TextPosition position, int length)
{
    const TextPosition end{position.charIndex + length, position.line};
    view.SetAnchor(position);
    view.SetCursorPos(end);
    view.SetSelection(position, end);
    view.EnsureVisible(end);
}

QString NotFoundMessage(const QString& what)
{
    QString text = shell::TranslateLabel(QString::fromUtf8("Ne trouve pas la chaine \"%s\""));
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0) {
        text.replace(at, 2, what);
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// Find

FindDialog::FindDialog(CTextView& view, QWidget* parent, shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent), view_(view), prompter_(prompter)
{
    setObjectName(shell::ControlName(8601));
    setWindowTitle(QStringLiteral("Rechercher"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Recherche :"), this), 0, 0);
    searchText_ = MakeEdit(*this, 8605);
    grid->addWidget(searchText_, 0, 1, 1, 2);
    wholeWord_ = MakeCheck(*this, 8603, "Mot entier uniquement");
    matchCase_ = MakeCheck(*this, 8604, "Respecter la casse");
    grid->addWidget(wholeWord_, 1, 0, 1, 2);
    grid->addWidget(matchCase_, 2, 0, 1, 2);

    auto* directionBox = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionRow = new QHBoxLayout(directionBox);
    up_ = new QRadioButton(QStringLiteral("&Haut"), directionBox);
    down_ = new QRadioButton(QStringLiteral("&Bas"), directionBox);
    SetControlId(*up_, 8611);  // the group's first button carries its id
    auto* directions = new QButtonGroup(this);
    directions->addButton(up_, 0);
    directions->addButton(down_, 1);
    directionRow->addWidget(up_);
    directionRow->addWidget(down_);
    grid->addWidget(directionBox, 1, 2, 2, 1);

    auto* buttons = new QVBoxLayout;
    next_ = MakeButton(*this, kIdOk, "Suivant");
    next_->setDefault(true);
    auto* cancel = MakeButton(*this, kIdCancel, "Annuler");
    buttons->addWidget(next_);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, 3, 1);

    connect(next_, &QPushButton::clicked, this, &FindDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &FindDialog::reject);
    connect(searchText_, &QLineEdit::textChanged, this, &FindDialog::UpdateNext);
}

void FindDialog::OnInitDialog()
{
    (direction == 0 ? up_ : down_)->setChecked(true);
    matchCase_->setChecked(matchCase);
    wholeWord_->setChecked(wholeWord);
    searchText_->setText(searchText);
    searchText_->selectAll();
    UpdateNext();
}

void FindDialog::UpdateNext()
{
    next_->setEnabled(!searchText_->text().isEmpty());
}

void FindDialog::accept()
{
    direction = up_->isChecked() ? 0 : 1;
    matchCase = matchCase_->isChecked();
    wholeWord = wholeWord_->isChecked();
    searchText = searchText_->text();
    if (searchText.isEmpty()) {
        return;
    }
    TextPosition start = searchStart;
    // A match just found is selected with the caret at its end: upwards, start before it.
    if (direction == 0 && view_.IsSelection() && view_.GetSelectionEnd() == start) {
        start = view_.GetSelectionStart();
    }
    TextPosition at;
    const CTextBuffer* buffer = view_.GetTextBuffer();
    if (buffer != nullptr &&
        FindText(*buffer, searchText, start, SearchFlags(matchCase, wholeWord, direction == 0), true, at)) {
        HighlightText(view_, at, static_cast<int>(searchText.size()));
        QDialog::accept();
        return;
    }
    prompter_.Tell(ToUtf8(NotFoundMessage(searchText)));
    searchStart = {};
}

// ---------------------------------------------------------------------------------------------
// Replace

ReplaceDialog::ReplaceDialog(CEditorView& view, QWidget* parent, shell::ShellPrompter& prompter)
    : ThemedDialogBase(parent), view_(view), prompter_(prompter)
{
    setObjectName(shell::ControlName(8602));
    setWindowTitle(QStringLiteral("Remplacer"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Recherche :"), this), 0, 0);
    searchText_ = MakeEdit(*this, 8605);
    grid->addWidget(searchText_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Remplacer par :"), this), 1, 0);
    replaceText_ = MakeEdit(*this, 8606);
    grid->addWidget(replaceText_, 1, 1);
    wholeWord_ = MakeCheck(*this, 8603, "Mot entier uniquement");
    matchCase_ = MakeCheck(*this, 8604, "Respecter la casse");
    grid->addWidget(wholeWord_, 2, 0, 1, 2);
    grid->addWidget(matchCase_, 3, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    next_ = MakeButton(*this, 8610, "Suivant");
    next_->setDefault(true);
    replace_ = MakeButton(*this, 8607, "Remplacer");
    replaceAll_ = MakeButton(*this, 8608, "Remplacer Tout");
    auto* close = MakeButton(*this, kIdCancel, "Fermer");
    for (QPushButton* button : {next_, replace_, replaceAll_, close}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);

    connect(next_, &QPushButton::clicked, this, &ReplaceDialog::OnNext);
    connect(replace_, &QPushButton::clicked, this, &ReplaceDialog::OnReplace);
    connect(replaceAll_, &QPushButton::clicked, this, &ReplaceDialog::OnReplaceAll);
    connect(close, &QPushButton::clicked, this, &ReplaceDialog::reject);
    connect(searchText_, &QLineEdit::textChanged, this, &ReplaceDialog::UpdateNext);
}

void ReplaceDialog::OnInitDialog()
{
    matchCase_->setChecked(matchCase);
    wholeWord_->setChecked(wholeWord);
    searchText_->setText(searchText);
    replaceText_->setText(replaceText);
    found = false;
    UpdateNext();
    if (parentWidget() != nullptr) {
        move(parentWidget()->window()->geometry().center() - rect().center());
    }
}

void ReplaceDialog::UpdateNext()
{
    const bool searchable = !searchText_->text().isEmpty();
    next_->setEnabled(searchable);
    replace_->setEnabled(searchable);
    replaceAll_->setEnabled(searchable);
}

void ReplaceDialog::TakeFields()
{
    matchCase = matchCase_->isChecked();
    wholeWord = wholeWord_->isChecked();
    searchText = searchText_->text();
    replaceText = replaceText_->text();
}

bool ReplaceDialog::Search(bool report)
{
    TextPosition at;
    const CTextBuffer* buffer = view_.GetTextBuffer();
    if (buffer != nullptr && !searchText.isEmpty() &&
        FindText(*buffer, searchText, currentPosition, SearchFlags(matchCase, wholeWord, false), true, at)) {
        currentPosition = at;
        HighlightText(view_, at, static_cast<int>(searchText.size()));
        found = true;
        return true;
    }
    if (report) {
        prompter_.Tell(ToUtf8(NotFoundMessage(searchText)));
    }
    found = false;
    searchStart = {};
    return false;
}

bool ReplaceDialog::ReplaceCurrent(bool merge)
{
    CTextBuffer* buffer = view_.GetTextBuffer();
    if (buffer == nullptr || buffer->IsReadOnly() || !view_.IsSelection()) {
        return false;
    }
    const TextPosition from = view_.GetSelectionStart();
    const TextPosition to = view_.GetSelectionEnd();
    buffer->OpenUndoGroup(merge);
    TextPosition end = from;
    bool done = buffer->DeleteTextUndoable(&view_, from, to, UndoAction_Replace);
    if (done && !replaceText.isEmpty()) {
        done = buffer->InsertTextUndoable(&view_, from, replaceText, &end, UndoAction_Replace);
    }
    buffer->CloseUndoGroup(&view_);
    if (!done) {
        prompter_.Beep();
        return false;
    }
    view_.SetAnchor(from);
    view_.SetCursorPos(end);
    view_.SetSelection(from, end);
    currentPosition = end;
    return true;
}

void ReplaceDialog::OnNext()
{
    TakeFields();
    if (!found) {
        currentPosition = searchStart;
    } else {
        currentPosition.charIndex += static_cast<int>(searchText.size());
    }
    Search(true);
}

void ReplaceDialog::OnReplace()
{
    TakeFields();
    if (!found) {
        OnNext();
        return;
    }
    if (ReplaceCurrent(false)) {
        Search(true);
    }
}

void ReplaceDialog::OnReplaceAll()
{
    TakeFields();
    if (!found) {
        currentPosition = searchStart;
        if (!Search(true)) {
            return;
        }
    }
    const CTextBuffer& buffer = *view_.GetTextBuffer();
    const unsigned flags = SearchFlags(matchCase, wholeWord, false);
    const int searchLength = static_cast<int>(searchText.size());
    // The search wraps, so a replacement holding the searched text would be found again for
    // ever: once the search has wrapped, it stops where the first replacement begins.
    TextPosition firstReplacement = view_.GetSelectionStart();
    bool wrapped = false;
    bool merge = false;
    TextPosition lastStart = firstReplacement;
    TextPosition lastEnd = lastStart;
    {
        // The scroll ranges are counted once at the end, not after every replacement.
        struct ScrollRangesHeld {
            CTextView& view;
            explicit ScrollRangesHeld(CTextView& v) : view(v) { view.SuspendScrollRangeUpdates(true); }
            ~ScrollRangesHeld() { view.SuspendScrollRangeUpdates(false); }
        } held(view_);
        for (;;) {
            const TextPosition from = view_.GetSelectionStart();
            const TextPosition to = view_.GetSelectionEnd();
            if (!ReplaceCurrent(merge)) {
                break;
            }
            merge = true;
            lastStart = from;
            lastEnd = currentPosition;
            if (wrapped) {
                firstReplacement = AfterReplacement(firstReplacement, to, lastEnd);
            }
            TextPosition at;
            if (!FindText(buffer, searchText, currentPosition, flags, true, at)) {
                break;
            }
            if (at < currentPosition) {
                if (wrapped) {
                    break;
                }
                wrapped = true;
            }
            const TextPosition matchEnd{at.charIndex + searchLength, at.line};
            if (wrapped && firstReplacement < matchEnd) {
                break;
            }
            currentPosition = at;
            view_.SetSelection(at, matchEnd);
        }
    }
    // Nothing is left to replace: the next search starts over from the top.
    found = false;
    searchStart = {};
    view_.SetAnchor(lastStart);
    view_.SetCursorPos(lastEnd);
    view_.SetSelection(lastStart, lastEnd);
    view_.EnsureVisible(lastEnd);
}

void ReplaceDialog::reject()
{
    TakeFields();
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// Go to line

GoToLineDialog::GoToLineDialog(QWidget* parent) : ThemedDialogBase(parent)
{
    setObjectName(shell::ControlName(133));
    setWindowTitle(QStringLiteral("Atteindre"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Ligne :"), this), 0, 0);
    line_ = MakeEdit(*this, 1000);
    grid->addWidget(line_, 0, 1);
    auto* ok = MakeButton(*this, kIdOk, "OK");
    ok->setDefault(true);
    auto* cancel = MakeButton(*this, kIdCancel, "Annuler");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 1, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &GoToLineDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &GoToLineDialog::reject);
}

void GoToLineDialog::OnInitDialog()
{
    line_->setText(QString::number(lineNumber));
    line_->selectAll();
}

void GoToLineDialog::accept()
{
    bool number = false;
    const int value = line_->text().trimmed().toInt(&number);
    if (!number) {
        line_->setFocus();
        line_->selectAll();
        return;
    }
    lineNumber = value;
    QDialog::accept();
}

}  // namespace zov::editor

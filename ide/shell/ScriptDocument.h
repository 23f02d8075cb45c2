#pragma once
// One file edited in a window: its text buffer, its path and kind, its title with the "*" of a
// modified text, and its view. The main frame opens, saves and closes documents.

#include "ide/editor/model/TextBuffer.h"
#include "ide/shell/FrameSeams.h"
#include "ide/shell/core/DocumentRules.h"

#include <QFont>
#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QMdiSubWindow;

namespace zov::shell {

class ScriptDocument;

// The buffer of a document: its modified flag is the document's, shown in the title.
class ScriptTextBuffer final : public editor::CTextBuffer {
public:
    ScriptTextBuffer(ScriptDocument& document, Translate translate);
    void SetModified(bool modified) override;
    bool IsModified() const override;

private:
    ScriptDocument& document_;
};

class ScriptDocument final : public QObject {
    Q_OBJECT
public:
    // A new document titled `newTitle` (already translated), or one loaded from a file.
    ScriptDocument(const QString& newTitle, int fontSize, Translate translate);
    ~ScriptDocument() override;

    // Loads the file; a failure leaves the document empty and returns false.
    bool Load(const std::string& path, const DocumentType& type);
    // The view's text is saved to `path` through a temporary file in its folder; on success the
    // document takes that path and its title. False (nothing changed) when the file could not
    // be written.
    bool SaveTo(const std::string& path);

    ScriptTextBuffer& Buffer() { return buffer_; }
    const std::string& Path() const { return path_; }
    const DocumentType& Type() const { return type_; }
    QString Title() const { return title_; }
    void SetTitle(const QString& title);
    // The name the close-all and close-others commands compare documents by.
    std::string BaseName() const { return std::string(BaseFileName(path_)); }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified);
    const QFont& EditorFont() const { return font_; }

    void AttachView(std::unique_ptr<IScriptView> view);
    IScriptView* View() const { return view_.get(); }
    // The view says so whenever its caret, selection or overwrite mode changed: the frame's
    // status panes and edit commands follow.
    void NotifyViewState() { emit ViewStateChanged(); }
    QMdiSubWindow* Window() const { return window_; }
    void SetWindow(QMdiSubWindow* window) { window_ = window; }

signals:
    void TitleChanged(const QString& title);
    void ViewStateChanged();

private:
    ScriptTextBuffer buffer_;
    std::string path_;
    DocumentType type_;
    QString title_;
    bool modified_ = false;
    QFont font_;
    std::unique_ptr<IScriptView> view_;
    QMdiSubWindow* window_ = nullptr;
};

}  // namespace zov::shell

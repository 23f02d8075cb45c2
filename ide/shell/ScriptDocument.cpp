#include "ide/shell/ScriptDocument.h"

#include <QWidget>

namespace zov::shell {

ScriptTextBuffer::ScriptTextBuffer(ScriptDocument& document, Translate translate)
    : CTextBuffer(std::move(translate)), document_(document)
{}

void ScriptTextBuffer::SetModified(bool modified)
{
    document_.SetModifiedFlag(modified);
}

bool ScriptTextBuffer::IsModified() const
{
    return document_.IsModified();
}

ScriptDocument::ScriptDocument(const QString& newTitle, int fontSize, Translate translate)
    : buffer_(*this, std::move(translate)), title_(newTitle), font_(QStringLiteral("Courier New"))
{
    font_.setStyleHint(QFont::Monospace);
    font_.setPixelSize(fontSize > 0 ? fontSize : 16);
    buffer_.InitNew();
}

ScriptDocument::~ScriptDocument() = default;

bool ScriptDocument::Load(const std::string& path, const DocumentType& type)
{
    if (!buffer_.LoadFromFile(path, editor::LineEnd_Detect))
        return false;
    path_ = path;
    type_ = type;
    SetModifiedFlag(false);
    SetTitle(QString::fromStdString(std::string(BaseFileName(path))));
    if (view_)
        view_->PullTextFromBuffer();
    return true;
}

bool ScriptDocument::SaveTo(const std::string& path)
{
    if (path.empty())
        return false;
    if (view_)
        view_->PushTextToBuffer();
    if (!buffer_.SaveToFile(path, editor::LineEnd_Detect, true))
        return false;
    if (path != path_) {
        path_ = path;
        SetTitle(QString::fromStdString(std::string(BaseFileName(path))));
    }
    SetModifiedFlag(false);
    return true;
}

void ScriptDocument::SetTitle(const QString& title)
{
    const QString marked = QString::fromStdString(TitleWithModified(title.toStdString(), modified_));
    if (marked == title_)
        return;
    title_ = marked;
    emit TitleChanged(title_);
}

void ScriptDocument::SetModifiedFlag(bool modified)
{
    modified_ = modified;
    SetTitle(title_);
}

void ScriptDocument::AttachView(std::unique_ptr<IScriptView> view)
{
    view_ = std::move(view);
    if (view_)
        view_->PullTextFromBuffer();
}

}  // namespace zov::shell

// Helpers of the editor view tests: a shown view over a buffer filled from text.
#pragma once

#include "ide/editor/EditorView.h"
#include "ide/editor/model/TextBuffer.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace zov::editor::test {

class ShownEditor : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }

    // Loads the text (any line ends) and shows the view with the focus.
    void Show(std::string_view text, int width = 480, int height = 240)
    {
        // A view detaches from its buffer when it goes: end the old view before its buffer.
        view_.reset();
        buffer_ = std::make_unique<CTextBuffer>();
        ASSERT_TRUE(buffer_->LoadFromBytes(text));
        view_ = std::make_unique<CEditorView>();
        view_->resize(width, height);
        view_->AttachToBuffer(buffer_.get());
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
        view_->activateWindow();
        view_->setFocus();
    }

    QString Line(int line) const { return buffer_->GetLine(line); }
    TextPosition Caret() const { return view_->GetCursorPos(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view_.get(), key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(view_.get(), text); }

    std::unique_ptr<CTextBuffer> buffer_;
    std::unique_ptr<CEditorView> view_;
};

}  // namespace zov::editor::test

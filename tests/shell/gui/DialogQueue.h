// Test support for code that runs modal dialogs through the prompter: the test queues one handler
// per dialog it expects, and the prompter's Exec hands each dialog to the next one.
#pragma once

#include "ide/shell/ThemedDialog.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <utility>

namespace zov::shell::test {

class DialogQueue {
public:
    using Handler = std::function<void(QDialog&)>;

    void Push(Handler handler) { handlers_.push_back(std::move(handler)); }
    std::size_t Pending() const { return handlers_.size(); }

    // The dialog is initialised as showing it would, then handed to the next handler, which fills
    // its controls and ends it. No handler, or one that leaves it open: cancelled.
    int Run(QDialog& dialog)
    {
        if (auto* themed = qobject_cast<ThemedDialogBase*>(&dialog))
            themed->InitialiseOnce();
        constexpr int kNotEnded = -1;
        dialog.setResult(kNotEnded);
        if (!handlers_.empty()) {
            Handler handler = std::move(handlers_.front());
            handlers_.pop_front();
            handler(dialog);
        }
        if (dialog.result() == kNotEnded)
            dialog.reject();
        return dialog.result();
    }

private:
    std::deque<Handler> handlers_;
};

}  // namespace zov::shell::test

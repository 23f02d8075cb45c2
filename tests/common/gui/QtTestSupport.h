// Helpers for widget tests under GoogleTest: one application object for the whole test program,
// and the answering of modal windows by a timer, so that code that runs a dialog to completion
// is tested through the real dialog.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zov::testing {

// The application is deleted when the test program's tests are over, before static destruction
// (Qt's own globals must still exist while it goes).
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { delete QCoreApplication::instance(); }
};

// For a test program that makes its application object itself.
inline void DeleteApplicationAtEnd()
{
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
}

inline QApplication& EnsureApplication()
{
    static int argc = 1;
    static char name[] = "zov-widget-test";
    static char* argv[] = {name, nullptr};
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* application = new QApplication(argc, argv);
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
    return *application;
}

// Arms a watch that, once a modal window whose object is not `previous` is shown, calls
// `answer` with it (once). The watch polls the event loop every few milliseconds until the
// window appears, and gives up after `deadlineMs` so that a test that never opens its dialog
// fails instead of hanging (a modal window still open then is closed). Returns a flag that tells whether the answer ran.
inline std::shared_ptr<bool> AnswerNextModal(std::function<void(QWidget*)> answer, int deadlineMs = 10000,
                                             QWidget* previous = nullptr)
{
    auto answered = std::make_shared<bool>(false);
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(deadlineMs);
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer), answered, deadline, previous] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != previous && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *answered = true;
            answer(modal);
        } else if (deadline.hasExpired()) {
            // Never hang the test program: close whatever is open, the test then fails on `answered`.
            timer->stop();
            timer->deleteLater();
            if (modal != nullptr) {
                modal->close();
            }
        }
    });
    timer->start(5);
    return answered;
}

}  // namespace zov::testing

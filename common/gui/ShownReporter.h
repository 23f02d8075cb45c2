// Start-up is timed from outside (bench/shell/startup.sh) up to the first painted frame of a
// window, which no outside probe sees on the offscreen platform: installed on the window as an
// event filter, this announces that moment once on stderr ("<program>: first frame shown"), after
// the paint pass that holds it, then deletes itself.
#pragma once

#include <QEvent>
#include <QObject>

#include <cstdio>
#include <string>

namespace zov::gui {

class ShownReporter final : public QObject {
public:
    ShownReporter(const char* program, QObject* parent)
        : QObject(parent), line_(std::string(program) + ": first frame shown\n")
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::fputs(line_.c_str(), stderr);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::string line_;
};

}  // namespace zov::gui

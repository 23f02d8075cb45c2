#pragma once

// Catches every line the engine writes, for the duration of a test.

#include "engine/base/Output.h"

#include <mutex>
#include <string>

namespace zov::test {

class LineCapture {
public:
    LineCapture()
    {
        previous_ = SetLineSink([this](Stream stream, std::string_view text) {
            std::lock_guard<std::mutex> hold(lock_);
            (stream == Stream::Out ? out_ : err_).append(text);
        });
    }
    ~LineCapture() { SetLineSink(std::move(previous_)); }
    LineCapture(const LineCapture&) = delete;
    LineCapture& operator=(const LineCapture&) = delete;

    std::string Out() const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return out_;
    }
    std::string Err() const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return err_;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> hold(lock_);
        out_.clear();
        err_.clear();
    }

private:
    LineSink previous_;
    mutable std::mutex lock_;
    std::string out_;
    std::string err_;
};

}  // namespace zov::test

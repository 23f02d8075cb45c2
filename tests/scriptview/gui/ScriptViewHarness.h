// A script view over a document loaded from a file of a temporary folder, with the recording
// stand-ins of the execution model around it; the engine is the zovrun of the build.
#pragma once

#include "ide/execution/model/RecordingSeams.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/scriptview/ZOVView.h"
#include "ide/shell/ScriptDocument.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/support/FileText.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace zov::scriptview::test {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;

class ScriptViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        char pattern[] = "/tmp/zov-scriptview-XXXXXX";
        root_ = ::mkdtemp(pattern);
        tempDir_ = root_ / "temp dir";
        fs::create_directories(tempDir_);
        host.settings.programFolder = ZOV_BIN_DIR;
        host.settings.enginePath = "";
        host.settings.engine = "zovrun";
        host.settings.tempFolder = tempDir_.string();
        interfaces.source = Write("source.qzi", ";vide\n");
    }
    void TearDown() override
    {
        document_.reset();
        fs::remove_all(root_);
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        const fs::path path = root_ / name;
        zov::test::WriteFile(path, text);
        return path.string();
    }

    // Opens the script in a shown view; the document owns the view.
    CZOVView& Open(const std::string& name, const std::string& text, ScriptViewServices services = {})
    {
        document_.reset();
        document_ = std::make_unique<shell::ScriptDocument>(QStringLiteral("Nouveau"), 16, shell::IdentityTranslate());
        const std::string path = Write(name, text);
        EXPECT_TRUE(document_->Load(path, {shell::DocumentKind::Script, "qzs"}));
        if (services.host == nullptr)
            services.host = &host;
        if (services.interfaces == nullptr)
            services.interfaces = &interfaces;
        if (services.panes == nullptr)
            services.panes = &panes;
        if (services.prompter == nullptr)
            services.prompter = &prompter;
        auto adapter = std::make_unique<ScriptViewAdapter>(*document_, std::move(services));
        view_ = adapter->View();
        document_->AttachView(std::move(adapter));
        view_->Driver().SetSendObserver(execution::LogSends(log));
        view_->resize(480, 320);
        view_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view_));
        view_->setFocus();
        return *view_;
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(view_, key, modifiers); }
    Events Logged(std::string_view prefix) const { return log.Matching(prefix); }
    std::string Title() const { return document_->Title().toStdString(); }
    bool ReadOnly() const { return document_->Buffer().IsReadOnly(); }
    int ExecutionLine() const
    {
        const int line = document_->Buffer().FindUniqueFlagLine(editor::LineFlag_Execution);
        return line < 0 ? 0 : line + 1;
    }
    void SetBreakpoint(int line) { document_->Buffer().ChangeLineFlag(line - 1, editor::LineFlag_Breakpoint, true); }

    // Waits (event loop running) for the view's signal, a few seconds at most.
    static bool WaitFor(QSignalSpy& spy, int count = 1)
    {
        for (int turns = 0; spy.count() < count && turns < 100; ++turns)
            spy.wait(100);
        return spy.count() >= count;
    }

    fs::path root_;
    fs::path tempDir_;
    execution::EventLog log;
    execution::RecordingHost host{log};
    execution::RecordingInterfaces interfaces;
    execution::RecordingSinks panes{log};
    execution::LoggingPrompter prompter{log};
    std::unique_ptr<shell::ScriptDocument> document_;
    CZOVView* view_ = nullptr;
};

}  // namespace zov::scriptview::test

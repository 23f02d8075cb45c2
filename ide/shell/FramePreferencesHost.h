#pragma once
// The main window as the Preferences command sees it: the values the window keeps, its theme,
// its interface set and its views.

#include "ide/shell/core/PreferencesHost.h"

namespace zov::shell {

class MainFrame;

class FramePreferencesHost final : public PreferencesHost {
public:
    explicit FramePreferencesHost(MainFrame& frame) : frame_(frame) {}
    FramePreferences FrameValues() const override;
    void StoreFrameValues(const FramePreferences& values) override;
    void SetTheme(int theme) override;
    bool IsProjectOpen() const override;
    void ReloadDefaultInterface(const std::string& path) override;
    void RefreshScriptViews() override;
    void ReloadTraceColours() override {}
    void RefreshViews() override;
    void ReloadTraceOptions() override {}

private:
    MainFrame& frame_;
};

}  // namespace zov::shell

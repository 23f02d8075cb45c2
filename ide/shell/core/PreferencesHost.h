#pragma once
// What the Preferences command needs from the main frame and the windows it holds: the values
// the frame keeps (theme, pause, time-out, ...), the interface set, the explorer's interface
// lists, the script views and the trace pane. The frame implements it; NullPreferencesHost
// stands in where there is no frame (tests, and until the panes exist).

#include <string>
#include <vector>

namespace zov::shell {

// The frame's styles: the plain one and "Thème 2003".
inline constexpr int kThemeStandard = 0x8001;
inline constexpr int kTheme2003 = 0x8002;

// The values the frame holds between two runs of the command.
struct FramePreferences {
    int theme = kTheme2003;
    int versionControl = 0;  // index: "<Aucun>", "GIT (bientôt)"
    int linePauseMs = 0;     // not in ZOV.ini: the frame's only
    int timeoutFunction = 30;
    bool hideOnExecution = false;
    bool saveTempResult = false;
    bool showExecution = true;
    bool showLineNumber = false;
    // The editor's list of names; a name starting with '#' is switched off.
    std::vector<std::string> editorNames;
};

class PreferencesHost {
public:
    virtual ~PreferencesHost() = default;

    virtual FramePreferences FrameValues() const = 0;
    // Keeps the values; ShowLineNumber goes to every open view, the pause to every engine.
    virtual void StoreFrameValues(const FramePreferences& values) = 0;
    // Switches the frame and its bars to kThemeStandard or kTheme2003 at once.
    virtual void SetTheme(int theme) = 0;

    // A project's interfaces stay in use while it is open.
    virtual bool IsProjectOpen() const = 0;
    // Clears the interface set and removes its inserted interfaces, loads `path`, and refills the
    // explorer's interface lists.
    virtual void ReloadDefaultInterface(const std::string& path) = 0;

    // Every view of every document: macro folding, colours, engine speed, current-line marker.
    virtual void RefreshScriptViews() = 0;
    virtual void ReloadTraceColours() = 0;
    // The frame's views, and the trace pane's options.
    virtual void RefreshViews() = 0;
    virtual void ReloadTraceOptions() = 0;
};

// Keeps the frame's values and does nothing else.
class NullPreferencesHost : public PreferencesHost {
public:
    NullPreferencesHost() = default;
    explicit NullPreferencesHost(FramePreferences values) : values_(std::move(values)) {}

    FramePreferences FrameValues() const override { return values_; }
    void StoreFrameValues(const FramePreferences& values) override { values_ = values; }
    void SetTheme(int theme) override { values_.theme = theme; }
    bool IsProjectOpen() const override { return false; }
    void ReloadDefaultInterface(const std::string&) override {}
    void RefreshScriptViews() override {}
    void ReloadTraceColours() override {}
    void RefreshViews() override {}
    void ReloadTraceOptions() override {}

private:
    FramePreferences values_;
};

}  // namespace zov::shell

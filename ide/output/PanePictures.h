#pragma once

// The output bar's own pictures (toolbar buttons, tabs, the data pane's project flag, the
// summary's OK and failure marks), drawn at 16x16 so that they follow the screen's scale.

#include <QIcon>

namespace zov::output {

enum class PanePictureId {
    Save,
    Delete,
    Freeze,
    LoadScript,
    Results,
    Add,
    RealTime,
    Find,
    Stop,
    Next,
    Previous,
    Traces,
    Errors,
    Runs,
    Variables,
    Data,
    Saved,
    NotSaved,
    ResultOk,
    ResultFailed,
};

QIcon PanePicture(PanePictureId id);

}  // namespace zov::output

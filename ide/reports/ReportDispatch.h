#pragma once
// The writer of one report kind, as the report command and a batch entry choose it by the path.

#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/ReportChoice.h"

#include <string>

namespace zov::reports {

// Writes the report of that kind with the options it takes; false when nothing was written
// (ReportWriterKind::None writes nothing).
bool WriteReportOfKind(CReportWriter& writer, const std::string& path, shell::ReportWriterKind kind,
                       int versionIndex, const shell::ReportOptionValues& options);

}  // namespace zov::reports

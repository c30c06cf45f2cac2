#pragma once
// Opens a finished report with the desktop's program for .xlsx files. Kept apart from the report
// library because it needs Qt Gui (and a running QGuiApplication), which the core does not.

#include "TestReport.h"

namespace zeb {

class CDesktopReportOpener : public IReportOpener {
public:
    bool OpenReport(const QString& path) override;
};

}  // namespace zeb

#pragma once
// Keeps the paths of the reports a test writes instead of handing them to a spreadsheet
// program, so the test can read the report itself.

#include <QStringList>

#include "TestReport.h"

namespace zeb::test {

class RecordingOpener : public IReportOpener {
public:
    bool OpenReport(const QString& path) override {
        opened << path;
        return true;
    }
    QStringList opened;
};

}  // namespace zeb::test

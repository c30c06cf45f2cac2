// The sample documents shipped for new users open on the instrument they are made for, and
// expand into the steps their description promises.

#include <gtest/gtest.h>

#include <QDir>

#include "SettingsDoc.h"
#include "StepCheck.h"
#include "SummaryContent.h"

namespace zeb {
namespace {

struct Example {
    const char* name;
    quint32 machine;
    size_t steps;
    const char* port;
};

TEST(Examples, OpenOnTheirInstrumentAndExpandAsDescribed) {
    const Example examples[] = {
        {"ac-sweep-three-phase", 5, 96, "AC LINE OUTPUT"},
        {"dc-ring-wave", 6, 8, "DC LINE OUTPUT"},
        {"telecom-10-700", 1, 4, "TELECOM LINE OUTPUT"},
    };
    const QDir dir(QStringLiteral(ZEB_EXAMPLES_DIR));
    for (const Example& e : examples) {
        SCOPED_TRACE(e.name);
        const QString path = dir.filePath(QLatin1String(e.name) + QStringLiteral(".zms"));
        CZebM40SettingsDoc doc;
        QString error;
        ASSERT_EQ(doc.LoadFile(path, e.machine, 1, &error), CZebM40SettingsDoc::kLoadOk)
            << error.toStdString();
        EXPECT_EQ(doc.Steps().size(), e.steps);
        EXPECT_EQ(MakeSummary(doc.Record()).rows[kRowOutputPort].value, QLatin1String(e.port));
        // Every step is one the instrument is sent: a sample that stops at its 17th step with
        // a line its configuration lacks teaches a new user the wrong thing.
        for (size_t i = 0; i < doc.Steps().size(); ++i) {
            QString problem;
            EXPECT_TRUE(CheckStepValues(doc.Steps()[i], problem))
                << "step " << i + 1 << ": " << problem.toStdString();
        }
        // Made for one model only: another one refuses it.
        EXPECT_EQ(doc.LoadFile(path, 13, 1), CZebM40SettingsDoc::kLoadOtherMachine);
    }
}

}  // namespace
}  // namespace zeb

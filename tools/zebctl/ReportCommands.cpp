// The test report from the command line: writes the report of a settings document to a given
// file, without opening it. The test environment comes from ZEB.ini, as in the program.

#include <QDateTime>
#include <QFileInfo>

#include <optional>

#include "Cli.h"
#include "DocumentJson.h"
#include "TestReport.h"

namespace zebctl {

namespace {

const char kReportUsage[] = "report <FILE.zms|FILE.json> <OUT.xlsx> [--test-time SECONDS]";

// --test-time is the test moment in seconds since 1970 (UTC); 0 shows as "----". Without it the
// report carries the present moment, as a test started now would.
int Report(QStringList args) {
    QString testTimeText;
    if (!TakeOption(args, QStringLiteral("--test-time"), testTimeText)) {
        return kExitBadInput;
    }
    if (args.size() != 2) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kReportUsage)));
        return kExitBadInput;
    }
    long long testTime = QDateTime::currentSecsSinceEpoch();
    if (!testTimeText.isEmpty() && !ParseInt(testTimeText, testTime)) {
        Err(QStringLiteral("zebctl: --test-time needs whole seconds, not '%1'").arg(testTimeText));
        return kExitBadInput;
    }
    const QString& out = args.at(1);
    // A dangling symbolic link counts too: writing through it would create its target.
    if (QFileInfo::exists(out) || QFileInfo(out).isSymLink()) {
        Err(QStringLiteral("zebctl: %1 already exists; a report never replaces a file").arg(out));
        return kExitBadInput;
    }
    // Results and comments come with the steps of a JSON document; a settings file has none.
    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::LoadDocumentFile(args.at(0), std::nullopt, 0, doc, error)) {
        Err(error);
        return kExitBadInput;
    }
    zeb::CTestProperty property;
    property.LoadFromIni();
    property.m_tmTestDate = testTime;
    if (!zeb::WriteTestReport(property, doc, out, error)) {
        Err(error);
        return kExitBadInput;
    }
    return kExitOk;
}

const ZebctlCommand kReport("report", kReportUsage, [](const QStringList& a) { return Report(a); });

}  // namespace

}  // namespace zebctl

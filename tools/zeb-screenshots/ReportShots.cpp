// The issued test report: its issue window, and a 6-step report as PDF for a look at its
// pages (scripts/screenshots.sh renders them, with the 1000-step one of report_bench).

#include <QTemporaryDir>

#include <cstdio>

#include "IssueReportDlg.h"
#include "ReportIssue.h"
#include "ReportPages.h"
#include "SettingsDoc.h"
#include "Shots.h"
#include "TestProperty.h"

namespace zebshots {

void ReportShots(ShotFolder& shots, const zeb::CTestProperty& environment) {
    zeb::CZebM40SettingsDoc doc;
    MakeDocument(doc, kThreePhase, zeb::kPortAc, AcThreePhaseSweep);
    doc.Steps().resize(std::min<size_t>(doc.Steps().size(), 6));
    for (size_t i = 0; i < doc.Steps().size(); ++i) {
        doc.Steps()[i].m_nResult = i == 3 ? zeb::kResultFail : zeb::kResultPass;
    }
    doc.Steps()[3].m_strComment = QStringLiteral("display went dark, restarted by hand");
    zeb::CTestProperty property = environment;
    property.m_strLabAddress = QStringLiteral("12 Quarry Lane, Northfield NF1 2AB");
    property.m_strCustomerName = QStringLiteral("Widget Makers Ltd");
    property.m_strCustomerAddress = QStringLiteral("4 Harbour Street, Portby");
    property.m_strDateOfReceipt = QStringLiteral("2 March, in its original box");
    property.m_strCriterion = QStringLiteral("B");
    property.m_tmTestDate = 1772442000;
    zeb::IssuedReport report = zeb::MakeIssuedReport(property, doc);
    report.reportNumber = QStringLiteral("NEL-2026-0042");
    report.authorisedBy = QStringLiteral("Dr. A. Signer");
    report.authorisedFunction = QStringLiteral("Head of laboratory");
    report.instrumentReply = QStringLiteral("SIMULATED SURGE GENERATOR");
    report.machineType = QStringLiteral("5");
    report.hwVersion = QStringLiteral("0");
    report.journalName = QStringLiteral("20260302-091500-ac-sweep.zebrun");
    report.journalSha256 =
        QStringLiteral("3f1c9a0d5e2b7c4a8f6e1d0b9a7c5e3f2d1b0a9c8e7f6d5c4b3a2918f7e6d5c4");
    report.documentSha256 =
        QStringLiteral("9e8d7c6b5a4f3e2d1c0b9a8f7e6d5c4b3a291807f6e5d4c3b2a1908f7e6d5c4b");
    zeb::ReportMethodCheck check;
    check.profile = QStringLiteral("lab-basic");
    check.title = QStringLiteral("Lab basic profile");
    check.level = QStringLiteral("3");
    check.voltage = QStringLiteral("2000 V");
    check.findings.push_back({QStringLiteral("phase-angles"),
                              QStringLiteral("warning"),
                              QStringLiteral("lab procedure 4.2"),
                              QStringLiteral("Only two of the four phase angles are tested."),
                              {1, 2, 3}});
    report.check = check;

    QByteArray sha;
    QString error;
    const QString pdf = shots.Path() + QStringLiteral("/issued-6.pdf");
    QFile::remove(pdf);
    if (!zeb::WriteReportPdf(report, pdf, sha, error)) {
        std::fprintf(stderr, "issued-6.pdf: %s\n", qPrintable(error));
    }

    QTemporaryDir folder;
    zeb::CReportIssue issue(report, QStringLiteral("NEL"), folder.path(), QStringLiteral("ac"));
    zeb::CIssueReportDlg dlg(issue);
    shots.Save(dlg, QStringLiteral("dialog-issue-report"));
}

}  // namespace zebshots

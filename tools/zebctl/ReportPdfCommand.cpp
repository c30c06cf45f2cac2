// The issued test report from the command line: a PDF built from a run journal alone, so a
// report can be issued again, on another machine, from the records. Only its number comes from
// this machine (the prefix and the counter of its ZEB.ini); the journal is left unchanged.

#include <QFileInfo>

#include "Cli.h"
#include "IniFile.h"
#include "JournalReport.h"
#include "ReportPages.h"
#include "ReportPdf.h"
#include "RunJournalObserver.h"
#include "SettingsDoc.h"
#include "TestProperty.h"

namespace zebctl {

namespace {

// Issues report at out with this machine's number; prints what an auditor keeps.
bool Issue(zeb::IssuedReport& report, const QString& prefix, const QString& out,
           QByteArray& sha256) {
    QString error;
    QString logoProblem;
    if (!zeb::IssueReportPdf(report, prefix, out, sha256, error, &logoProblem)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return false;
    }
    if (!logoProblem.isEmpty()) {
        Err(QStringLiteral("zebctl: %1").arg(logoProblem));
    }
    Out(QStringLiteral("report_number=%1").arg(report.reportNumber));
    Out(QStringLiteral("journal_sha256=%1").arg(report.journalSha256));
    Out(QStringLiteral("pdf_sha256=%1").arg(QString::fromLatin1(sha256)));
    return true;
}

const char kReportPdfUsage[] =
    "report-pdf <JOURNAL> <OUT.pdf> [--authorised-by NAME] [--statement TEXT]";

int ReportPdf(QStringList args) {
    QString authorisedBy;
    QString statement;
    if (!TakeOption(args, QStringLiteral("--authorised-by"), authorisedBy) ||
        !TakeOption(args, QStringLiteral("--statement"), statement)) {
        return kExitBadInput;
    }
    if (args.size() != 2) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kReportPdfUsage)));
        return kExitBadInput;
    }
    const QString& out = args.at(1);
    // A dangling symbolic link counts too: writing through it would create its target.
    if (QFileInfo::exists(out) || QFileInfo(out).isSymLink()) {
        Err(QStringLiteral("zebctl: %1 already exists; a report never replaces a file").arg(out));
        return kExitBadInput;
    }
    zeb::IssuedReport report;
    QString error;
    if (!zeb::IssuedReportFromJournal(args.at(0), report, error)) {
        Err(QStringLiteral("zebctl: the report cannot be issued from this journal: %1").arg(error));
        return kExitBadInput;
    }
    report.authorisedBy = authorisedBy;
    if (!statement.isEmpty()) {
        report.statement = statement;
    }
    const QString prefix = zeb::ReadIniString(QLatin1String(zeb::ini::kSectionProperty),
                                              QLatin1String(zeb::ini::kKeyReportPrefix), QString());
    QByteArray sha256;
    return Issue(report, prefix, out, sha256) ? kExitOk : kExitBadInput;
}

const ZebctlCommand kReportPdf("report-pdf", kReportPdfUsage,
                               [](const QStringList& a) { return ReportPdf(a); });

}  // namespace

bool IssueRunReportPdf(const zeb::CZebM40SettingsDoc& doc, const zeb::CTestProperty& property,
                       zeb::CRunJournalFile* journal, const QString& path) {
    zeb::IssuedReport report;
    QString error;
    // A journal that missed a line would issue a report without it.
    const bool whole = journal && !journal->Observer().Failed();
    if (!whole || !zeb::IssuedReportFromJournal(journal->Path(), report, error)) {
        if (whole) {
            Err(QStringLiteral("zebctl: the run journal cannot be used for the report: %1")
                    .arg(error));
        }
        report = zeb::IssuedReportWithoutJournal(property, doc);
    }
    QByteArray sha256;
    if (!Issue(report, property.m_strReportPrefix, path, sha256)) {
        return false;
    }
    if (journal && !zeb::JournalIssuedReport(journal->Observer().Journal(), path, sha256,
                                             report.reportNumber)) {
        Err(QStringLiteral("zebctl: the run journal could not record the report: %1")
                .arg(journal->Observer().Journal().LastError()));
    }
    return true;
}

}  // namespace zebctl

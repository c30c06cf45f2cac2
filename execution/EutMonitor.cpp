#include "EutMonitor.h"

#include "ExecData.h"

namespace zeb {

namespace {
QString Comment(const QString& text) {
    return QLatin1String(kMonitorCommentPrefix) + text;
}
}  // namespace

MonitorRequest MonitorRequestForStep(const CExecData& step, int index, int count,
                                     MonitorPhase phase, const QString& documentPath) {
    MonitorRequest r;
    r.step = index + 1;
    r.steps = count;
    r.port = step.GetItemText(kItemPort);
    r.lines = step.GetItemText(kItemLine);
    r.voltageV = step.m_lVolt;
    r.polarity = step.GetItemText(kItemPolarity);
    r.angleDeg = step.GetItemText(kItemAngle);
    r.discharges = step.m_lDisc;
    r.phase = phase;
    r.documentPath = documentPath;
    return r;
}

QString PhaseName(MonitorPhase phase) {
    return phase == MonitorPhase::During ? QStringLiteral("during") : QStringLiteral("after");
}

QString FirstOutputLine(const QByteArray& output, int maxLength) {
    const int end = output.indexOf('\n');
    QString line = QString::fromUtf8(end < 0 ? output : output.left(end));
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control) {
            c = QLatin1Char(' ');
        }
    }
    line = line.trimmed();
    if (line.size() > maxLength) {
        int cut = maxLength;
        if (cut > 0 && line.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        line = line.left(cut).trimmed();
    }
    return line;
}

MonitorVerdict VerdictFromExit(int exitStatus, const QByteArray& output,
                               const QByteArray& errorOutput) {
    MonitorVerdict v;
    v.exitStatus = exitStatus;
    v.output = output.left(MonitorVerdict::kKeptOutputBytes);
    v.errorOutput = errorOutput.left(MonitorVerdict::kKeptOutputBytes);
    if (exitStatus == 0) {
        v.outcome = MonitorOutcome::Pass;
        return v;
    }
    if (exitStatus == 1) {
        v.outcome = MonitorOutcome::Fail;
        const QString reason = FirstOutputLine(output);
        v.comment = Comment(reason.isEmpty() ? QStringLiteral("no reason given") : reason);
        return v;
    }
    // A usage error or a missing tool is usually explained on standard error.
    QString why = FirstOutputLine(errorOutput);
    if (why.isEmpty()) {
        why = FirstOutputLine(output);
    }
    v.outcome = MonitorOutcome::Problem;
    v.comment = Comment(QStringLiteral("exit status %1 is not a verdict").arg(exitStatus));
    if (!why.isEmpty()) {
        v.comment += QStringLiteral(": ") + why;
    }
    return v;
}

}  // namespace zeb

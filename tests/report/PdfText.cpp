#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace zeb::test {

namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

QString PdfText(const QString& path, int page) {
    // In layout mode each caption and its value stay on one line.
    QStringList args{"-layout"};
    if (page > 0) {
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    }
    args << path << "-";
    return RunTool("pdftotext", args).replace(QRegularExpression("\\s+"), " ").trimmed();
}

int PdfPageCount(const QString& path) {
    const QRegularExpressionMatch m =
        QRegularExpression("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption)
            .match(RunTool("pdfinfo", {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList PdfFonts(const QString& path) {
    return RunTool("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2);
}

}  // namespace zeb::test

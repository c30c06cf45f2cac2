#include "ReportPages.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "FileAccess.h"
#include "ReportFlow.h"
#include "ReportNumber.h"
#include "ReportPagesImpl.h"
#include "TestReport.h"

namespace zeb {

namespace {

QString Moment(const QDateTime& moment) {
    return moment.isValid() ? moment.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                            : QStringLiteral("not recorded");
}

}  // namespace

CReportPages::Impl::Impl(const IssuedReport& report, const QPaintDevice& device)
    : r(report), s(device), pageWidth(device.width()), pageHeight(device.height()) {
    headerHeight = s.Mm(20);
    flow = std::make_unique<CReportFlow>(headerHeight + s.Mm(5), pageHeight, 0, pageWidth);
    LoadLogo();
    Build();
    flow->Paginate();
}

void CReportPages::Impl::LoadLogo() {
    const QString path = r.labLogo.trimmed();
    if (path.isEmpty()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        logoProblem = QStringLiteral(
                          "The logo %1 does not exist; the report is issued without "
                          "a logo.")
                          .arg(shown);
        return;
    }
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        auto svg = std::make_unique<QSvgRenderer>(path);
        if (svg->isValid() && !svg->defaultSize().isEmpty()) {
            logoSvg = std::move(svg);
            return;
        }
        logoProblem = QStringLiteral(
                          "The logo %1 is not a drawing that can be read; the report "
                          "is issued without a logo.")
                          .arg(shown);
        return;
    }
    QImageReader reader(path);
    logoImage = reader.read();
    if (logoImage.isNull()) {
        logoProblem = QStringLiteral(
                          "The logo %1 cannot be read (%2); the report is issued "
                          "without a logo.")
                          .arg(shown, reader.errorString());
    }
}

void CReportPages::Impl::Heading(const QString& text) {
    flow->Space(s.Mm(3));
    const double h = WrappedHeight(s, s.heading, text, flow->Width()) + s.Mm(1.5);
    flow->Add(
        h,
        [this, text](QPainter& p, const QRectF& rect) {
            p.setPen(Qt::black);
            DrawWrapped(p, s.heading, rect, text);
            p.setPen(QPen(report_colours::kRule, s.Mm(0.2)));
            p.drawLine(rect.bottomLeft() - QPointF(0, s.Mm(0.5)),
                       rect.bottomRight() - QPointF(0, s.Mm(0.5)));
        },
        true);
}

void CReportPages::Impl::Line(const QString& text, const QFont& font, int alignment) {
    // Each paragraph is a piece of its own, so a long text (an edited statement) flows on to
    // the next page instead of running off this one.
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        const double h = WrappedHeight(s, font, paragraph, flow->Width()) + s.Mm(0.8);
        flow->Add(h, [this, paragraph, font, alignment](QPainter& p, const QRectF& rect) {
            p.setPen(Qt::black);
            DrawWrapped(p, font, rect, paragraph, alignment | Qt::AlignTop);
        });
    }
}

void CReportPages::Impl::Fields(const std::vector<std::pair<QString, QString>>& rows, bool together,
                                const QFont* valueFont) {
    const QFont font = valueFont ? *valueFont : s.body;
    const double labelWidth = s.Mm(48);
    const double valueWidth = flow->Width() - labelWidth;
    std::vector<double> heights;
    for (const auto& [label, value] : rows) {
        heights.push_back(std::max(WrappedHeight(s, s.bold, label, labelWidth - s.Mm(2)),
                                   WrappedHeight(s, font, value, valueWidth)) +
                          s.Mm(0.8));
    }
    auto paintRow = [this, labelWidth, font](QPainter& p, double x, double y, double h,
                                             const QString& label, const QString& value) {
        p.setPen(Qt::black);
        DrawWrapped(p, s.bold, QRectF(x, y, labelWidth - s.Mm(2), h), label);
        DrawWrapped(p, font, QRectF(x + labelWidth, y, flow->Width() - labelWidth, h), value);
    };
    if (together) {
        double total = 0;
        for (double h : heights) {
            total += h;
        }
        flow->Add(
            total,
            [rows, heights, paintRow](QPainter& p, const QRectF& rect) {
                double y = rect.top();
                for (size_t i = 0; i < rows.size(); ++i) {
                    paintRow(p, rect.left(), y, heights[i], rows[i].first, rows[i].second);
                    y += heights[i];
                }
            },
            true);
        return;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        flow->Add(heights[i], [row = rows[i], paintRow](QPainter& p, const QRectF& rect) {
            paintRow(p, rect.left(), rect.top(), rect.height(), row.first, row.second);
        });
    }
}

void CReportPages::Impl::Deviations() {
    Line(QStringLiteral("Deviations from the method:"), s.bold);
    if (!r.check) {
        Line(QLatin1String(kNoProfileChecked), s.body);
        return;
    }
    if (r.check->findings.empty()) {
        Line(QStringLiteral("None"), s.body);
        return;
    }
    for (const ReportDeviation& d : r.check->findings) {
        QStringList steps;
        for (int step : d.steps) {
            steps << QString::number(step);
        }
        QString text =
            QStringLiteral("\u2022 %1 [%2, %3]: %4").arg(d.citation, d.severity, d.rule, d.text);
        if (!steps.isEmpty()) {
            text += QStringLiteral(" (%1 %2)")
                        .arg(steps.size() == 1 ? QStringLiteral("step") : QStringLiteral("steps"),
                             steps.join(QStringLiteral(", ")));
        }
        Line(text, s.body);
    }
}

void CReportPages::Impl::Build() {
    flow->Add(WrappedHeight(s, s.title, QLatin1String(kIssuedReportTitle), flow->Width()) + s.Mm(2),
              [this](QPainter& p, const QRectF& rect) {
                  p.setPen(Qt::black);
                  DrawWrapped(p, s.title, rect, QLatin1String(kIssuedReportTitle));
              });
    Line(QStringLiteral("Report number: %1").arg(r.reportNumber), s.bold);
    if (!r.replacesNumber.isEmpty()) {
        Line(QStringLiteral("Replaces report %1").arg(r.replacesNumber), s.bold);
    }

    Heading(QStringLiteral("1  Customer and equipment under test"));
    std::vector<std::pair<QString, QString>> eut{
        {QStringLiteral("Customer"), r.customerName},
        {QStringLiteral("Customer address"), r.customerAddress},
        {QStringLiteral("EUT model"), r.eutModel},
        {QStringLiteral("Serial number"), r.eutSerial},
        {QStringLiteral("EUT information"), r.eutInfo},
        {QStringLiteral("Operation mode"), r.eutMode},
        {QStringLiteral("Comment"), r.eutComment}};
    // The free fields are the operator's own; one without title and text is not used.
    for (const auto& [title, value] : {std::pair{r.free1Title, r.free1}, {r.free2Title, r.free2}}) {
        if (!title.trimmed().isEmpty() || !value.trimmed().isEmpty()) {
            eut.emplace_back(title, value);
        }
    }
    eut.emplace_back(QStringLiteral("Date of receipt"), r.dateOfReceipt);
    Fields(eut);

    Heading(QStringLiteral("2  Method"));
    std::vector<std::pair<QString, QString>> method{{QStringLiteral("Standard"), r.standard}};
    if (r.check) {
        method.emplace_back(QStringLiteral("Standard profile"),
                            r.check->title.isEmpty()
                                ? r.check->profile
                                : QStringLiteral("%1 (%2)").arg(r.check->title, r.check->profile));
        method.emplace_back(QStringLiteral("Test level"), r.check->level);
        if (!r.check->voltage.isEmpty()) {
            method.emplace_back(QStringLiteral("Test voltage of the level"), r.check->voltage);
        }
    }
    Fields(method);
    Deviations();

    Heading(QStringLiteral("3  Test conditions"));
    std::vector<std::pair<QString, QString>> conditions{
        {QStringLiteral("Test location"), r.testPlace},
        {QStringLiteral("Test started"), Moment(r.testStarted)},
        {QStringLiteral("Test ended"), Moment(r.testEnded)}};
    if (!r.machineModel.isEmpty()) {
        conditions.emplace_back(QStringLiteral("Test generator"), r.machineModel);
    }
    conditions.insert(conditions.end(), r.conditions.begin(), r.conditions.end());
    conditions.emplace_back(QStringLiteral("Temperature"), r.temperature);
    conditions.emplace_back(QStringLiteral("Humidity"), r.humidity);
    conditions.emplace_back(QStringLiteral("Atmospheric pressure"), r.pressure);
    Fields(conditions);

    Heading(QStringLiteral("4  Results"));
    Fields({{QStringLiteral("Overall result"), ReportResultText(r.overall)},
            {QStringLiteral("Steps"), QString::number(r.stepRows.size())}});
    Matrix();
    flow->Space(s.Mm(3));
    StepTable();

    Heading(QStringLiteral("5  Statement of conformity"));
    Line(r.statement, s.bold);
    Line(QStringLiteral("Required performance criterion: %1").arg(CriterionText(r.criterion)),
         s.body);
    Line(QLatin1String(kDecisionRule), s.body);
    Line(QLatin1String(kItemTestedOnly), s.body);

    Heading(QStringLiteral("6  Sign-off"));
    const QString blank = QStringLiteral("______________________________");
    Fields({{QStringLiteral("Tested by"), r.testedBy},
            {QStringLiteral("Authorised by"),
             r.authorisedBy.isEmpty()
                 ? blank
                 : (r.authorisedFunction.isEmpty()
                        ? r.authorisedBy
                        : QStringLiteral("%1, %2").arg(r.authorisedBy, r.authorisedFunction))},
            {QStringLiteral("Signature"), blank},
            {QStringLiteral("Date of issue"), r.issueDate.toString(QStringLiteral("yyyy-MM-dd"))}},
           true);

    Heading(QStringLiteral("7  Traceability"));
    Fields({{QStringLiteral("Program version"), r.programVersion},
            {QStringLiteral("Instrument identification"), r.instrumentReply},
            {QStringLiteral("Machine type"), r.machineType},
            {QStringLiteral("Hardware version"), r.hwVersion},
            {QStringLiteral("Run journal"),
             r.journalName.isEmpty() ? QStringLiteral("none") : r.journalName},
            {QStringLiteral("Journal SHA-256"), r.journalSha256},
            {QStringLiteral("Settings document SHA-256"), r.documentSha256}},
           true, &s.mono);
    flow->Add(
        s.Mm(12),
        [this](QPainter& p, const QRectF& rect) {
            p.setPen(QPen(report_colours::kRule, s.Mm(0.3)));
            p.drawLine(QPointF(rect.left(), rect.top() + s.Mm(3)),
                       QPointF(rect.right(), rect.top() + s.Mm(3)));
            p.setPen(Qt::black);
            DrawWrapped(p, s.bold, rect.adjusted(0, s.Mm(5), 0, 0), QStringLiteral("End of report"),
                        Qt::AlignHCenter | Qt::AlignTop);
        },
        false);
}

CReportPages::CReportPages(const IssuedReport& report, const QPaintDevice& device)
    : m(std::make_unique<Impl>(report, device)) {}

CReportPages::~CReportPages() = default;

int CReportPages::PageCount() const {
    return m->flow->PageCount();
}

QString CReportPages::LogoProblem() const {
    return m->logoProblem;
}

void CReportPages::PaintPage(QPainter& painter, int page) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    m->PaintHeader(painter, page);
    m->flow->PaintPage(painter, page);
    painter.restore();
}

void CReportPages::PaintAll(QPainter& painter, QPagedPaintDevice& device) const {
    for (int page = 0; page < PageCount(); ++page) {
        if (page > 0) {
            device.newPage();
        }
        PaintPage(painter, page);
    }
}

QPageSize ReportPageSize(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

void PrepareReportDevice(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(ReportPageSize(), QPageLayout::Portrait,
                                     QMarginsF(18, 12, 15, 12), QPageLayout::Millimeter));
}

bool RenderReportPdf(const IssuedReport& report, QByteArray& pdf, QString& error,
                     QString* logoProblem) {
    QBuffer buffer(&pdf);
    pdf.clear();
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("ZEB %1").arg(report.programVersion));
    writer.setTitle(
        QStringLiteral("%1 %2").arg(QLatin1String(kIssuedReportTitle), report.reportNumber));
    PrepareReportDevice(writer);
    const CReportPages pages(report, writer);
    if (logoProblem) {
        *logoProblem = pages.LogoProblem();
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("The report's pages could not be drawn.");
        return false;
    }
    pages.PaintAll(painter, writer);
    painter.end();
    buffer.close();
    return true;
}

bool WriteReportPdf(const IssuedReport& report, const QString& path, QByteArray& sha256Hex,
                    QString& error, QString* logoProblem) {
    QByteArray pdf;
    if (!RenderReportPdf(report, pdf, error, logoProblem) ||
        !WriteFileSafely(path, pdf, WriteMode::kCreateNew, error)) {
        return false;
    }
    sha256Hex = QCryptographicHash::hash(pdf, QCryptographicHash::Sha256).toHex();
    return true;
}

bool IssueReportPdf(IssuedReport& report, const QString& prefix, const QString& path,
                    QByteArray& sha256Hex, QString& error, QString* logoProblem) {
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        error = QStringLiteral("%1 already exists; a report never replaces a file.")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QString number = DrawReportNumber(prefix, report.issueDate, error);
    if (number.isEmpty()) {
        return false;
    }
    report.reportNumber = number;
    return WriteReportPdf(report, path, sha256Hex, error, logoProblem);
}

QString IssuedReportPath(const QString& folder, const QString& reportNumber,
                         const QString& documentTitle) {
    const QString base = folder + QLatin1Char('/') +
                         FileNameSafe(QStringLiteral("%1 %2").arg(reportNumber, documentTitle),
                                      QStringLiteral("report"));
    QString path = base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n) {
        path = QStringLiteral("%1 (%2).pdf").arg(base).arg(n);
    }
    return path;
}

}  // namespace zeb

#include "TestReport.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "MessageSeam.h"
#include "ReportLayout.h"
#include "StepColumns.h"

namespace zeb {

namespace {

QString Literal(const QString& text) {
    return QLatin1Char('\'') + text;
}

const char* ResultName(int result) {
    switch (result) {
        case kResultFail:
            return "FAIL";
        case kResultPass:
            return "PASS";
        default:
            return "------";
    }
}

// A caption cell and the record's value cell next to it.
void PutItem(CMsExcelControl& xl, const CSettingData& record, const char* captionCell,
             const char* textCell, DisplayItem item) {
    xl.SetCellString(QLatin1String(captionCell), record.GetItemCaption(item));
    xl.SetCellString(QLatin1String(textCell), Literal(record.GetItemText(item)));
}

void PutPair(CMsExcelControl& xl, const char* captionCell, const QString& caption,
             const char* textCell, const QString& text) {
    xl.SetCellString(QLatin1String(captionCell), caption);
    xl.SetCellString(QLatin1String(textCell), Literal(text));
}

void FillConditionSheet(CMsExcelControl& xl, const CTestProperty& p, const CSettingData& record) {
    PutPair(xl, "B2", QStringLiteral("Company"), "C2", p.m_strCompanyName);
    PutPair(xl, "B3", QStringLiteral("Test location"), "C3", p.m_strTestPlace);
    PutPair(xl, "B5", QStringLiteral("Model"), "C5", p.m_strModel);
    PutPair(xl, "B6", QStringLiteral("Serial"), "C6", p.m_strSerial);
    PutPair(xl, "B7", QStringLiteral("Operator"), "C7", p.m_strOperator);
    PutPair(xl, "B8", QStringLiteral("Standard"), "C8", p.m_strStandard);
    PutPair(xl, "G5", QStringLiteral("Date"), "H5", p.GetTestDateText());  // "'----" while unset
    PutPair(xl, "G6", QStringLiteral("Time"), "H6", p.GetTestTimeText());
    PutPair(xl, "G7", QStringLiteral("Temperature"), "H7", p.m_strTemperature);
    PutPair(xl, "G8", QStringLiteral("Humidity"), "H8", p.m_strHumidity);
    PutPair(xl, "G9", QStringLiteral("Atmospheric"), "H9", p.m_strAtm);
    PutPair(xl, "L5", QStringLiteral("EUT information"), "M5", p.m_strEutInfo);
    PutPair(xl, "L6", QStringLiteral("Operation mode"), "M6", p.m_strEutMode);
    PutPair(xl, "L7", QStringLiteral("Comment"), "M7", p.m_strEutComment);
    // The free fields' captions are the operator's own text, so they are literal too.
    PutPair(xl, "L8", Literal(p.m_strFreeInput1Title), "M8", p.m_strFreeInput1);
    PutPair(xl, "L9", Literal(p.m_strFreeInput2Title), "M9", p.m_strFreeInput2);

    PutItem(xl, record, "B15", "C15", kItemPort);
    PutItem(xl, record, "B16", "C16", kItemDetail);
    PutItem(xl, record, "B17", "C17", kItemCoupling);  // coupling / impedance
    PutItem(xl, record, "B18", "C18", kItemWaveform);
    PutItem(xl, record, "E18", "F18", kItemRing);  // caption empty unless RING
    PutItem(xl, record, "B19", "C19", kItemDischarge);
    PutItem(xl, record, "B20", "C20", kItemInterval);
    PutItem(xl, record, "B21", "C21", kItemVoltage);
    PutItem(xl, record, "B22", "C22", kItemLine);
    PutItem(xl, record, "B23", "C23", kItemPolarity);
    PutItem(xl, record, "B24", "C24", kItemSync);
    PutItem(xl, record, "B25", "C25", kItemAngle);
}

// The step table: the report's step columns from column A, header row 10, step k in row 10 + k.
constexpr int kHeaderRow = 10;

QString Cell(size_t column, int row) {
    return QChar(static_cast<char>('A' + column)) + QString::number(row);
}

void FillContentSheet(CMsExcelControl& xl, const CSettingData& record, const ExecDataList& steps) {
    PutItem(xl, record, "B2", "B3", kItemPort);
    PutItem(xl, record, "C2", "C3", kItemDetail);
    PutItem(xl, record, "D2", "D3", kItemCoupling);
    PutItem(xl, record, "E2", "E3", kItemWaveform);
    PutItem(xl, record, "E5", "E6", kItemRing);
    PutItem(xl, record, "F2", "F3", kItemDischarge);

    // The step number's column has no header; the others are headed by their item's caption.
    const std::vector<StepColumn>& columns = StepColumnsOf(StepList::Report);
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].item != kItemNone) {
            xl.SetCellString(Cell(c, kHeaderRow), record.GetItemCaption(columns[c].item));
        }
    }
    int k = 0;
    for (const CExecData& step : steps) {
        ++k;
        for (size_t c = 0; c < columns.size(); ++c) {
            const QString text = columns[c].item == kItemNone
                                     ? QString::asprintf("%s%4d", "Step", k)
                                     : step.GetItemText(columns[c].item);
            xl.SetCellString(Cell(c, kHeaderRow + k), Literal(text));
        }
    }
    xl.SetCellString(QStringLiteral("H2"), QStringLiteral("Test result"));
    xl.SetCellString(QStringLiteral("H3"),
                     Literal(QLatin1String(ResultName(OverallResult(steps)))));
}

}  // namespace

int OverallResult(const ExecDataList& steps) {
    int overall = kResultPass;
    for (const CExecData& step : steps) {
        if (step.m_nResult == kResultFail) {
            return kResultFail;  // once failed, always failed
        }
        // Any other value than FAIL or PASS shows as "------" in the step row, so it counts
        // as unjudged here as well.
        if (step.m_nResult != kResultPass) {
            overall = kResultNone;
        }
    }
    return overall;
}

bool FillTestReport(CMsExcelControl& xl, const CTestProperty& property,
                    const CZebM40SettingsDoc& doc, QString& error) {
    // Step k goes to row 10 + k. A report that silently lost the steps past the last row of
    // the sheet would look complete; it is refused instead.
    const size_t maxSteps = CMsExcelControl::kMaxRows - kHeaderRow;
    if (doc.Steps().size() > maxSteps) {
        error = QStringLiteral("The test has %1 steps; a worksheet holds at most %2.")
                    .arg(doc.Steps().size())
                    .arg(maxSteps);
        return false;
    }
    while (xl.GetSheetCount() < 3) {
        xl.AddSheet();
    }
    const char* const names[] = {"Condition", "Content", " "};
    for (int i = 0; i < 3; ++i) {
        xl.SelectSheet(i);
        if (!xl.SetSheetName(QLatin1String(names[i]))) {
            error = QStringLiteral("The sheet name \"%1\" was refused.").arg(names[i]);
            return false;
        }
        if (i == 0) {
            FillConditionSheet(xl, property, doc.Record());
        } else if (i == 1) {
            FillContentSheet(xl, doc.Record(), doc.Steps());
        }
    }
    LayOutTestReport(xl, static_cast<int>(doc.Steps().size()));
    return true;
}

bool WriteTestReport(const CTestProperty& property, const CZebM40SettingsDoc& doc,
                     const QString& path, QString& error) {
    CMsExcelControl xl;
    if (!xl.Open()) {
        error = QStringLiteral("Cannot start a new workbook.");
        return false;
    }
    return FillTestReport(xl, property, doc, error) && xl.WriteFile(path, error);
}

QString FileNameSafe(const QString& text, const QString& fallback) {
    QString title = text;
    for (QChar& c : title) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = QLatin1Char('_');
        }
    }
    // A file name holds at most 255 bytes; the date, a " (n)" and the extension still have to
    // fit after the title, whatever script the title is written in.
    constexpr int kMaxTitleBytes = 200;
    while (title.toUtf8().size() > kMaxTitleBytes) {
        title.chop(title.size() >= 2 && title.back().isLowSurrogate() ? 2 : 1);
    }
    title = title.trimmed();
    while (title.startsWith(QLatin1Char('.'))) {
        title.remove(0, 1);  // never a hidden file
    }
    return title.isEmpty() ? fallback : title;
}

QString DocumentTitle(const CZebM40SettingsDoc& doc) {
    const QString fallback = QString::fromLatin1(CZebM40SettingsDoc::kDefaultTitle);
    return FileNameSafe(
        doc.PathName().isEmpty() ? fallback : QFileInfo(doc.PathName()).completeBaseName(),
        fallback);
}

QString DefaultReportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/ZEB Reports");
}

QString NewReportPath(const QString& folder, const CZebM40SettingsDoc& doc, const QDateTime& now) {
    const QString base =
        QStringLiteral("%1/%2 %3")
            .arg(folder, DocumentTitle(doc), now.toString(QStringLiteral("yyyy-MM-dd HHmmss")));
    QString path = base + QStringLiteral(".xlsx");
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QStringLiteral("%1 (%2).xlsx").arg(base).arg(n);
    }
    return path;
}

QString MakeTestReport(const CTestProperty& property, const CZebM40SettingsDoc& doc,
                       IReportOpener& opener, const QString& folder, const QDateTime& now) {
    QString error;
    if (!QDir().mkpath(folder)) {
        error =
            QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(folder));
    }
    const QString path = NewReportPath(folder, doc, now);
    if (error.isEmpty() && WriteTestReport(property, doc, path, error)) {
        if (!opener.OpenReport(path)) {
            ShowMessage(
                QStringLiteral("No program could open the test report. It was saved as:\n%1")
                    .arg(QDir::toNativeSeparators(path)),
                MsgButtons::Ok, MsgIcon::Information);
        }
        return path;
    }
    ShowMessage(QStringLiteral("The test report could not be written.\n%1").arg(error),
                MsgButtons::Ok, MsgIcon::Error);
    return QString();
}

}  // namespace zeb

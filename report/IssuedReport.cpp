#include "IssuedReport.h"

#include <QJsonArray>

#include <algorithm>
#include <map>
#include <tuple>

#include "ConditionRows.h"
#include "SettingsDoc.h"
#include "StepColumns.h"
#include "TestProperty.h"
#include "TestReport.h"
#include "Version.h"

namespace zeb {

const char kIssuedReportTitle[] = "Surge immunity test report";
const char kItemTestedOnly[] = "The results relate only to the item tested.";
const char kDecisionRule[] =
    "Decision rule: the EUT conforms when every test step is judged PASS at the required "
    "performance criterion.";
const char kNoProfileChecked[] = "No standard profile was checked.";

namespace {

bool Unsynchronised(const CExecData& step) {
    return step.GetItemText(kItemAngle).isEmpty();
}

}  // namespace

ResultsMatrix MatrixOf(const ExecDataList& steps) {
    ResultsMatrix m;
    // Rows by voltage, columns by (path in order of appearance, polarity code, angle); an
    // unsynchronised column sorts before every angle.
    std::map<int32_t, int> voltageIndex;
    std::map<QString, int> pathIndex;
    using ColumnKey = std::tuple<int, int32_t, bool, int32_t>;
    std::map<ColumnKey, int> columnIndex;
    for (const CExecData& step : steps) {
        if (voltageIndex.emplace(step.m_lVolt, 0).second) {
            m.voltages << QString();
        }
        const QString path = step.GetItemText(kItemLine);
        const auto inserted = pathIndex.emplace(path, static_cast<int>(m.paths.size()));
        if (inserted.second) {
            m.paths << path;
        }
        const bool unsync = Unsynchronised(step);
        columnIndex.emplace(
            ColumnKey{inserted.first->second, step.m_nPola, !unsync, unsync ? 0 : step.m_lAngle},
            0);
    }
    int row = 0;
    for (auto& [volt, index] : voltageIndex) {
        index = row++;
    }
    int column = 0;
    for (auto& [key, index] : columnIndex) {
        index = column++;
        m.columns.push_back({std::get<0>(key), QString(), QString()});
    }
    m.cells.assign(m.voltages.size(),
                   std::vector<ResultsMatrix::Cell>(m.columns.size(), ResultsMatrix::kNotTested));
    // A cell is PASS only while every one of its steps passed.
    std::vector<std::vector<int>> seen(m.voltages.size(), std::vector<int>(m.columns.size(), 0));
    for (const CExecData& step : steps) {
        const int r = voltageIndex.at(step.m_lVolt);
        const bool unsync = Unsynchronised(step);
        const int c = columnIndex.at(ColumnKey{pathIndex.at(step.GetItemText(kItemLine)),
                                               step.m_nPola, !unsync, unsync ? 0 : step.m_lAngle});
        m.voltages[r] = step.GetItemText(kItemVoltage);
        m.columns[c].polarity = step.GetItemText(kItemPolarity);
        m.columns[c].angle = step.GetItemText(kItemAngle);
        ResultsMatrix::Cell& cell = m.cells[r][c];
        int& state = seen[r][c];  // 0 no step yet, 1 all passed so far, 2 one not judged
        if (step.m_nResult == kResultFail) {
            cell = ResultsMatrix::kFail;
        } else if (cell != ResultsMatrix::kFail) {
            state = (step.m_nResult == kResultPass && state != 2) ? 1 : 2;
            cell = state == 1 ? ResultsMatrix::kPass : ResultsMatrix::kNotTested;
        }
    }
    return m;
}

bool MethodCheckFromJson(const QJsonObject& json, ReportMethodCheck& check, QString& error) {
    ReportMethodCheck read;
    const auto text = [&](const QJsonObject& object, const char* name, QString& value) {
        const QJsonValue v = object.value(QLatin1String(name));
        if (!v.isUndefined() && !v.isString()) {
            error = QStringLiteral("The standard check's field \"%1\" must be a text.")
                        .arg(QLatin1String(name));
            return false;
        }
        value = v.toString();
        return true;
    };
    if (!text(json, "profile", read.profile) || !text(json, "title", read.title) ||
        !text(json, "level", read.level)) {
        return false;
    }
    const QJsonValue voltage = json.value(QLatin1String("voltage"));
    if (voltage.isDouble()) {
        read.voltage = QStringLiteral("%1 V").arg(voltage.toDouble());
    } else if (!voltage.isUndefined() && !voltage.isNull()) {
        error = QStringLiteral("The standard check's voltage must be a number of volts.");
        return false;
    }
    const QJsonValue findings = json.value(QLatin1String("findings"));
    if (!findings.isUndefined() && !findings.isArray()) {
        error = QStringLiteral("The standard check's findings must be a list.");
        return false;
    }
    for (const QJsonValue& f : findings.toArray()) {
        const QJsonObject o = f.toObject();
        ReportDeviation d;
        if (!f.isObject() || !text(o, "rule", d.rule) || !text(o, "severity", d.severity) ||
            !text(o, "citation", d.citation) || !text(o, "text", d.text)) {
            if (error.isEmpty()) {
                error = QStringLiteral("A finding of the standard check is not an object.");
            }
            return false;
        }
        for (const QJsonValue& step : o.value(QLatin1String("steps")).toArray()) {
            if (!step.isDouble()) {
                error = QStringLiteral("The steps of a finding must be numbers.");
                return false;
            }
            d.steps.push_back(step.toInt());
        }
        read.findings.push_back(d);
    }
    check = read;
    return true;
}

QString CriterionText(const QString& criterion) {
    static const std::map<QString, const char*> kMeanings = {
        {QStringLiteral("A"), "normal performance"},
        {QStringLiteral("B"), "temporary loss, self-recovering"},
        {QStringLiteral("C"), "temporary loss, needs the operator"},
        {QStringLiteral("D"), "loss not recoverable"},
    };
    const auto it = kMeanings.find(criterion.trimmed().toUpper());
    if (it == kMeanings.end()) {
        return criterion.trimmed().isEmpty() ? QStringLiteral("(not stated)") : criterion;
    }
    return QStringLiteral("%1 (%2)").arg(it->first, QLatin1String(it->second));
}

namespace {

QString StepNumbers(const std::vector<int>& results, int code) {
    QStringList numbers;
    for (size_t i = 0; i < results.size(); ++i) {
        if (results[i] == code) {
            numbers << QString::number(i + 1);
        }
    }
    if (numbers.size() > 20) {
        const qsizetype more = numbers.size() - 20;
        numbers = numbers.mid(0, 20);
        numbers << QStringLiteral("and %1 more").arg(more);
    }
    return numbers.join(QStringLiteral(", "));
}

}  // namespace

QString ConformityStatement(const IssuedReport& report) {
    const QString criterion = CriterionText(report.criterion);
    const auto count = [&](int code) {
        return std::count(report.stepResults.begin(), report.stepResults.end(), code);
    };
    const qsizetype total = static_cast<qsizetype>(report.stepResults.size());
    const qsizetype failed = count(kResultFail);
    const qsizetype passed = count(kResultPass);
    if (failed > 0) {
        return QStringLiteral(
                   "The EUT does not conform: %1 of %2 test steps failed at the "
                   "required performance criterion %3 (%4 %5).")
            .arg(failed)
            .arg(total)
            .arg(criterion, failed == 1 ? QStringLiteral("step") : QStringLiteral("steps"),
                 StepNumbers(report.stepResults, kResultFail));
    }
    if (total == 0 || passed < total) {
        return QStringLiteral(
                   "No statement of conformity can be made: %1 of %2 test steps were "
                   "not judged at the required performance criterion %3.")
            .arg(total - passed)
            .arg(total)
            .arg(criterion);
    }
    return QStringLiteral(
               "The EUT conforms: all %1 test steps passed at the required "
               "performance criterion %2.")
        .arg(total)
        .arg(criterion);
}

std::vector<std::pair<QString, QString>> ConditionRows(const CSettingData& record) {
    std::vector<std::pair<QString, QString>> rows;
    for (const ConditionRow& row : ConditionRowsOf(record)) {
        if (row.visible) {
            rows.emplace_back(row.caption, row.value);
        }
    }
    return rows;
}

IssuedReport MakeIssuedReport(const CTestProperty& p, const CZebM40SettingsDoc& doc) {
    IssuedReport r;
    r.labName = p.m_strCompanyName;
    r.labAddress = p.m_strLabAddress;
    r.labLogo = p.m_strLabLogo;
    r.customerName = p.m_strCustomerName;
    r.customerAddress = p.m_strCustomerAddress;
    r.dateOfReceipt = p.m_strDateOfReceipt;
    r.eutModel = p.m_strModel;
    r.eutSerial = p.m_strSerial;
    r.eutInfo = p.m_strEutInfo;
    r.eutMode = p.m_strEutMode;
    r.eutComment = p.m_strEutComment;
    r.free1Title = p.m_strFreeInput1Title;
    r.free1 = p.m_strFreeInput1;
    r.free2Title = p.m_strFreeInput2Title;
    r.free2 = p.m_strFreeInput2;
    r.standard = p.m_strStandard;
    r.conditions = ConditionRows(doc.Record());
    r.temperature = p.m_strTemperature;
    r.humidity = p.m_strHumidity;
    r.pressure = p.m_strAtm;
    r.testPlace = p.m_strTestPlace;
    if (p.m_tmTestDate != 0) {
        r.testStarted = QDateTime::fromSecsSinceEpoch(p.m_tmTestDate, Qt::LocalTime);
    }
    for (const StepColumn& column : StepColumnsOf(StepList::Run)) {
        r.stepHeaders << QString::fromLatin1(column.header);
    }
    const ExecDataList& steps = doc.Steps();
    r.stepRows.reserve(steps.size());
    int k = 0;
    for (const CExecData& step : steps) {
        QStringList row;
        ++k;
        for (const StepColumn& column : StepColumnsOf(StepList::Run)) {
            row << (column.item == kItemNone ? QString::number(k) : step.GetItemText(column.item));
        }
        r.stepRows.push_back(row);
        r.stepResults.push_back(step.m_nResult == kResultFail   ? kResultFail
                                : step.m_nResult == kResultPass ? kResultPass
                                                                : kResultNone);
    }
    r.matrix = MatrixOf(steps);
    r.overall = OverallResult(steps);
    r.criterion = p.m_strCriterion;
    r.testedBy = p.m_strOperator;
    r.issueDate = QDate::currentDate();
    r.programVersion = GetVersionString();
    r.statement = ConformityStatement(r);
    return r;
}

}  // namespace zeb

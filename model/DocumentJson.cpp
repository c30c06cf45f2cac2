#include "DocumentJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cmath>
#include <limits>

#include "FileAccess.h"

namespace zeb {

namespace {

// Every structure is described once, by a visit over its fields; the writer and the reader are
// two visitors, so the field names of both directions cannot drift apart. T is the structure or
// its const form.

template <typename V, typename T>
void VisitValue(V& v, T& val) {
    v.Field("m_nValueType", val.m_nValueType);
    v.Field("m_lValue", val.m_lValue);
    v.Field("m_lStart", val.m_lStart);
    v.Field("m_lEnd", val.m_lEnd);
    v.Field("m_lStep", val.m_lStep);
    v.Field("m_nVariableKind", val.m_nVariableKind);
    v.Array("m_abUse", val.m_abUse);
    v.Array("m_abUse2", val.m_abUse2);
    v.Array("m_alValue", val.m_alValue);
}

template <typename V, typename T>
void VisitPort(V& v, T& op) {
    v.Field("m_nOutputDetail", op.m_nOutputDetail);
    v.Array("m_aulInjRetBit", op.m_aulInjRetBit);
    v.Field("m_nCoup", op.m_nCoup);
    v.Field("m_nWaveform", op.m_nWaveform);
    v.Field("m_nRingRegi", op.m_nRingRegi);
    v.Field("m_nSync", op.m_nSync);
    v.Object("m_valAngle", op.m_valAngle, [](V& sub, auto& val) { VisitValue(sub, val); });
    v.Field("m_bVaristorTestMode", op.m_bVaristorTestMode);
}

template <typename V, typename T>
void VisitOutput(V& v, T& out) {
    v.Field("m_nOutputPort", out.m_nOutputPort);
    v.ObjectArray("m_aopOutputPort", out.m_aopOutputPort,
                  [](V& sub, auto& op) { VisitPort(sub, op); });
}

template <typename V, typename T>
void VisitRecord(V& v, T& rec) {
    v.Field("m_ulMachineType", rec.m_ulMachineType);
    v.Field("m_nHWVersion", rec.m_nHWVersion);
    v.Object("m_outOutput", rec.m_outOutput, [](V& sub, auto& out) { VisitOutput(sub, out); });
    v.Object("m_valVolt", rec.m_valVolt, [](V& sub, auto& val) { VisitValue(sub, val); });
    v.Field("m_ulPola", rec.m_ulPola);
    v.Field("m_lDisc", rec.m_lDisc);
    v.Field("m_lRept", rec.m_lRept);
}

template <typename V, typename T>
void VisitStep(V& v, T& step) {
    v.Field("m_ulMachineType", step.m_ulMachineType);
    v.Field("m_nOutputPort", step.m_nOutputPort);
    v.Field("m_nOutputDetail", step.m_nOutputDetail);
    v.Field("m_nInjRet", step.m_nInjRet);
    v.Field("m_nCoup", step.m_nCoup);
    v.Field("m_nWaveform", step.m_nWaveform);
    v.Field("m_nRingRegi", step.m_nRingRegi);
    v.Field("m_bVaristorTestMode", step.m_bVaristorTestMode);
    v.Field("m_nSync", step.m_nSync);
    v.Field("m_lAngle", step.m_lAngle);
    v.Field("m_lVolt", step.m_lVolt);
    v.Field("m_nPola", step.m_nPola);
    v.Field("m_lDisc", step.m_lDisc);
    v.Field("m_lRept", step.m_lRept);
    v.Field("m_nResult", step.m_nResult);
    v.Field("m_strComment", step.m_strComment);
}

class JsonWriter {
public:
    explicit JsonWriter(QJsonObject& obj) : m_obj(obj) {}

    void Field(const char* name, int32_t value) { m_obj.insert(QLatin1String(name), value); }
    void Field(const char* name, uint32_t value) {
        m_obj.insert(QLatin1String(name), static_cast<qint64>(value));
    }
    void Field(const char* name, const QString& value) { m_obj.insert(QLatin1String(name), value); }
    template <typename N>
    void Array(const char* name, const N (&values)[kSlotCount]) {
        QJsonArray arr;
        for (N v : values) {
            arr.append(static_cast<qint64>(v));
        }
        m_obj.insert(QLatin1String(name), arr);
    }
    template <typename T, typename Fn>
    void Object(const char* name, const T& sub, Fn fn) {
        QJsonObject child;
        JsonWriter w(child);
        fn(w, sub);
        m_obj.insert(QLatin1String(name), child);
    }
    template <typename T, typename Fn>
    void ObjectArray(const char* name, const T (&subs)[kSlotCount], Fn fn) {
        QJsonArray arr;
        for (const T& sub : subs) {
            QJsonObject child;
            JsonWriter w(child);
            fn(w, sub);
            arr.append(child);
        }
        m_obj.insert(QLatin1String(name), arr);
    }

private:
    QJsonObject& m_obj;
};

// Reads the fields present in a JSON object into a structure that already holds its defaults.
// The first problem is kept in error (naming the field by its path); the rest is skipped.
class JsonReader {
public:
    JsonReader(const QJsonObject& obj, const QString& path, QString& error)
        : m_obj(obj), m_path(path), m_error(error) {}

    bool Ok() const { return m_error.isEmpty(); }

    void Field(const char* name, int32_t& value) {
        ReadNumber(name, value, std::numeric_limits<int32_t>::min(),
                   std::numeric_limits<int32_t>::max());
    }
    void Field(const char* name, uint32_t& value) {
        ReadNumber(name, value, 0, std::numeric_limits<uint32_t>::max());
    }
    void Field(const char* name, QString& value) {
        const QJsonValue v = Take(name);
        if (v.isUndefined()) {
            return;
        }
        if (!v.isString()) {
            return Refuse(name, QStringLiteral("must be a string"));
        }
        value = v.toString();
    }
    template <typename N>
    void Array(const char* name, N (&values)[kSlotCount]) {
        const QJsonValue v = Take(name);
        if (v.isUndefined()) {
            return;
        }
        const QJsonArray arr = v.toArray();
        if (!v.isArray() || arr.size() != kSlotCount) {
            return Refuse(name, QStringLiteral("must be an array of %1 integers").arg(kSlotCount));
        }
        N parsed[kSlotCount] = {};
        for (int i = 0; i < kSlotCount; ++i) {
            const QString element = QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i);
            if (!ToInteger(arr.at(i), Min<N>(), Max<N>(), parsed[i])) {
                return Refuse(element, RangeText<N>());
            }
        }
        std::copy(std::begin(parsed), std::end(parsed), std::begin(values));
    }
    template <typename T, typename Fn>
    void Object(const char* name, T& sub, Fn fn) {
        const QJsonValue v = Take(name);
        if (v.isUndefined()) {
            return;
        }
        if (!v.isObject()) {
            return Refuse(name, QStringLiteral("must be an object"));
        }
        Visit(v.toObject(), Child(QLatin1String(name)), sub, fn);
    }
    template <typename T, typename Fn>
    void ObjectArray(const char* name, T (&subs)[kSlotCount], Fn fn) {
        const QJsonValue v = Take(name);
        if (v.isUndefined()) {
            return;
        }
        const QJsonArray arr = v.toArray();
        if (!v.isArray() || arr.size() != kSlotCount) {
            return Refuse(name, QStringLiteral("must be an array of %1 objects").arg(kSlotCount));
        }
        for (int i = 0; i < kSlotCount && Ok(); ++i) {
            const QString element = QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i);
            if (!arr.at(i).isObject()) {
                return Refuse(element, QStringLiteral("must be an object"));
            }
            Visit(arr.at(i).toObject(), Child(element), subs[i], fn);
        }
    }

    // Reads obj into target with fn and refuses keys that name no field.
    template <typename T, typename Fn>
    static void Visit(const QJsonObject& obj, const QString& path, T& target, Fn fn,
                      QString& error) {
        JsonReader r(obj, path, error);
        fn(r, target);
        r.RefuseUnknown();
    }

private:
    template <typename T, typename Fn>
    void Visit(const QJsonObject& obj, const QString& path, T& target, Fn fn) {
        if (Ok()) {
            Visit(obj, path, target, fn, m_error);
        }
    }

    template <typename N>
    static constexpr double Min() {
        return static_cast<double>(std::numeric_limits<N>::min());
    }
    template <typename N>
    static constexpr double Max() {
        return static_cast<double>(std::numeric_limits<N>::max());
    }
    template <typename N>
    static QString RangeText() {
        return QStringLiteral("must be an integer from %1 to %2")
            .arg(static_cast<qint64>(std::numeric_limits<N>::min()))
            .arg(static_cast<qint64>(std::numeric_limits<N>::max()));
    }

    template <typename N>
    static bool ToInteger(const QJsonValue& v, double min, double max, N& out) {
        if (!v.isDouble()) {
            return false;
        }
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::floor(d) || d < min || d > max) {
            return false;
        }
        out = static_cast<N>(static_cast<qint64>(d));
        return true;
    }

    template <typename N>
    void ReadNumber(const char* name, N& value, double min, double max) {
        const QJsonValue v = Take(name);
        if (v.isUndefined()) {
            return;
        }
        if (!ToInteger(v, min, max, value)) {
            Refuse(name, RangeText<N>());
        }
    }

    QJsonValue Take(const char* name) {
        const QString key = QLatin1String(name);
        m_known.insert(key);
        return Ok() ? m_obj.value(key) : QJsonValue(QJsonValue::Undefined);
    }

    QString Child(const QString& name) const {
        return m_path.isEmpty() ? name : m_path + QLatin1Char('.') + name;
    }

    void Refuse(const QString& name, const QString& why) {
        if (Ok()) {
            m_error = QStringLiteral("Field \"%1\" %2.").arg(Child(name), why);
        }
    }
    void Refuse(const char* name, const QString& why) { Refuse(QString::fromLatin1(name), why); }

    void RefuseUnknown() {
        for (auto it = m_obj.begin(); it != m_obj.end() && Ok(); ++it) {
            if (!m_known.contains(it.key())) {
                m_error = QStringLiteral("Unknown field \"%1\".").arg(Child(it.key()));
            }
        }
    }

    const QJsonObject& m_obj;
    QString m_path;
    QString& m_error;
    QSet<QString> m_known;
};

// The editor's message for a step list beyond kMaxStepCount.
QString StepLimitText() {
    return QStringLiteral("The number of test step exceeds limit.\nReduce the number of steps.");
}

bool StartsLikeJson(const QByteArray& bytes) {
    for (char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        return c == '{';
    }
    return false;
}

}  // namespace

QJsonObject DocumentToJson(const CZebM40SettingsDoc& doc) {
    QJsonObject record;
    JsonWriter rw(record);
    VisitRecord(rw, doc.Record());
    QJsonArray steps;
    for (const CExecData& step : doc.Steps()) {
        QJsonObject s;
        JsonWriter sw(s);
        VisitStep(sw, step);
        steps.append(s);
    }
    QJsonObject root;
    root.insert(QStringLiteral("record"), record);
    root.insert(QStringLiteral("steps"), steps);
    if (doc.Standard().IsSet()) {
        root.insert(QStringLiteral("standard"), StandardRefToJson(doc.Standard()));
    }
    return root;
}

QByteArray DocumentToJsonText(const CZebM40SettingsDoc& doc) {
    return QJsonDocument(DocumentToJson(doc)).toJson(QJsonDocument::Indented);
}

bool DocumentFromJson(const QJsonObject& json, uint32_t defaultMachine, int32_t defaultHwVersion,
                      CZebM40SettingsDoc& doc, QString& error) {
    error.clear();
    for (auto it = json.begin(); it != json.end(); ++it) {
        if (it.key() != QLatin1String("record") && it.key() != QLatin1String("steps") &&
            it.key() != QLatin1String("standard")) {
            error = QStringLiteral("Unknown field \"%1\".").arg(it.key());
            return false;
        }
    }
    const QJsonValue recordValue = json.value(QLatin1String("record"));
    if (!recordValue.isUndefined() && !recordValue.isObject()) {
        error = QStringLiteral("Field \"record\" must be an object.");
        return false;
    }
    const QJsonObject recordJson = recordValue.toObject();
    StandardRef standard;
    const QJsonValue standardValue = json.value(QLatin1String("standard"));
    if (!standardValue.isUndefined()) {
        QString standardError;
        if (!standardValue.isObject() ||
            !StandardRefFromJson(standardValue.toObject(), standard, standardError)) {
            error = standardValue.isObject()
                        ? QStringLiteral("Field \"standard\": %1").arg(standardError)
                        : QStringLiteral("Field \"standard\" must be an object.");
            return false;
        }
    }

    // The defaults depend on the machine type, so it is settled first.
    CSettingData record;
    record.m_ulMachineType = defaultMachine;
    record.m_nHWVersion = defaultHwVersion;
    QJsonObject machineOnly;
    if (recordJson.contains(QLatin1String("m_ulMachineType"))) {
        machineOnly.insert(QStringLiteral("m_ulMachineType"),
                           recordJson.value(QLatin1String("m_ulMachineType")));
    }
    JsonReader::Visit(
        machineOnly, QStringLiteral("record"), record.m_ulMachineType,
        [](JsonReader& r, uint32_t& mt) { r.Field("m_ulMachineType", mt); }, error);
    if (!error.isEmpty()) {
        return false;
    }
    record.SetDefault();
    JsonReader::Visit(
        recordJson, QStringLiteral("record"), record,
        [](JsonReader& r, CSettingData& rec) { VisitRecord(r, rec); }, error);
    if (!error.isEmpty()) {
        return false;
    }

    ExecDataList steps;
    const QJsonValue stepsValue = json.value(QLatin1String("steps"));
    if (stepsValue.isUndefined()) {
        if (record.StepCount() > kMaxStepCount) {
            error = StepLimitText();
            return false;
        }
        record.ExpandSteps(steps);
    } else {
        if (!stepsValue.isArray()) {
            error = QStringLiteral("Field \"steps\" must be an array of objects.");
            return false;
        }
        const QJsonArray arr = stepsValue.toArray();
        // The editor's step limit holds for a list given step by step as well.
        if (arr.size() > kMaxStepCount) {
            error = StepLimitText();
            return false;
        }
        for (int i = 0; i < arr.size(); ++i) {
            const QString path = QStringLiteral("steps[%1]").arg(i);
            if (!arr.at(i).isObject()) {
                error = QStringLiteral("Field \"%1\" must be an object.").arg(path);
                return false;
            }
            CExecData step;
            JsonReader::Visit(
                arr.at(i).toObject(), path, step,
                [](JsonReader& r, CExecData& s) { VisitStep(r, s); }, error);
            if (!error.isEmpty()) {
                return false;
            }
            // As when a file is read: every step belongs to the record's machine.
            step.m_ulMachineType = record.m_ulMachineType;
            steps.push_back(std::move(step));
        }
    }
    doc.Record() = record;
    doc.Steps() = std::move(steps);
    doc.SetStandard(standard);
    doc.SetCurrentStep(0);
    return true;
}

bool DocumentFromJsonText(const QByteArray& text, uint32_t defaultMachine, int32_t defaultHwVersion,
                          CZebM40SettingsDoc& doc, QString& error) {
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("Malformed JSON at offset %1: %2.")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
        return false;
    }
    if (!json.isObject()) {
        error = QStringLiteral("The JSON text must be an object with \"record\" and \"steps\".");
        return false;
    }
    return DocumentFromJson(json.object(), defaultMachine, defaultHwVersion, doc, error);
}

bool LoadDocumentFile(const QString& path, std::optional<uint32_t> expectedMachine,
                      int32_t hwVersion, CZebM40SettingsDoc& doc, QString& error) {
    QByteArray bytes;
    if (!ReadRegularFile(path, kMaxDocumentFileBytes, bytes, error)) {
        return false;
    }
    if (path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) || StartsLikeJson(bytes)) {
        CZebM40SettingsDoc loaded;
        if (!DocumentFromJsonText(bytes, expectedMachine.value_or(kNoMachineType), hwVersion,
                                  loaded, error)) {
            error = QStringLiteral("%1: %2").arg(path, error);
            return false;
        }
        if (expectedMachine && loaded.Record().m_ulMachineType != *expectedMachine) {
            error = CZebM40SettingsDoc::LoadMessage(CZebM40SettingsDoc::kLoadOtherMachine);
            return false;
        }
        doc.Record() = loaded.Record();
        doc.Steps() = loaded.Steps();
        doc.SetStandard(loaded.Standard());
        doc.SetCurrentStep(0);
        return true;
    }
    if (doc.Load(bytes, expectedMachine, hwVersion, &error) != CZebM40SettingsDoc::kLoadOk) {
        return false;
    }
    doc.ReadStandardOf(path);
    return true;
}

}  // namespace zeb

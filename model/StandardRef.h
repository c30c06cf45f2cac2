#pragma once
// Which test standard a document's plan is made to: the id of a standard profile, the test
// level, and for the level of any voltage ("X") the voltage chosen. A settings file cannot carry
// it without breaking other readers of the format, so it lives beside the file, in
// "<file>.zms.std" (JSON), and in the document's JSON form under the key "standard". What the
// profile and level mean is the standards library's business; here it is only a value that is
// kept, read and written.

#include <QJsonObject>
#include <QString>

#include <cstdint>

namespace zeb {

// Level id of a profile's level without a fixed voltage: the voltage is part of the reference.
inline const QString& AnyVoltageLevel() {
    static const QString x = QStringLiteral("X");
    return x;
}

struct StandardRef {
    QString profile;      // profile id; empty: the document has no standard
    QString level;        // level id, "1".."4" or "X" in the shipped profiles
    int32_t voltage = 0;  // volts, for level "X" only

    bool IsSet() const { return !profile.isEmpty(); }
    bool operator==(const StandardRef& o) const {
        return profile == o.profile && level == o.level && voltage == o.voltage;
    }
    bool operator!=(const StandardRef& o) const { return !(*this == o); }
};

// {"profile": id, "level": "2"} or {"profile": id, "level": "X", "voltage": 3000}.
QJsonObject StandardRefToJson(const StandardRef& ref);
// Reads that form; unknown fields, wrong types, an empty profile or level, and for level "X" a
// voltage outside 1..15000 V are refused with a text naming the field. ref changes only on
// success.
bool StandardRefFromJson(const QJsonObject& json, StandardRef& ref, QString& error);

// "<document path>.std".
QString StandardSidecarPath(const QString& documentPath);

// Reads the sidecar of a document. No sidecar: true with ref left unset. A damaged one (not
// JSON, wrong fields, not a regular file, too large): false with a text naming the file.
bool ReadStandardSidecar(const QString& documentPath, StandardRef& ref, QString& error);
// Makes the sidecar follow the document: written (replacing only a regular file) when ref is
// set, removed when it is not. False with a text naming the file when that fails.
bool WriteStandardSidecar(const QString& documentPath, const StandardRef& ref, QString& error);
// For a new document file: a sidecar is written when ref is set and must not exist (nothing is
// ever replaced); without a standard an existing sidecar is refused as well, since it would
// attach its standard to the new file.
bool CheckSidecarFree(const QString& documentPath, QString& error);
bool WriteNewStandardSidecar(const QString& documentPath, const StandardRef& ref, QString& error);

}  // namespace zeb

#include "StandardRef.h"

#include <QFileInfo>
#include <QJsonDocument>

#include "FileAccess.h"
#include "InstrumentRules.h"

namespace zeb {

namespace {

// A sidecar holds three short fields; anything much larger is not one.
constexpr qint64 kMaxSidecarBytes = 64 * 1024;

QByteArray SidecarBytes(const StandardRef& ref) {
    return QJsonDocument(StandardRefToJson(ref)).toJson();
}

QString Named(const QString& path, const QString& what) {
    return QStringLiteral("The standard file %1 %2").arg(path, what);
}

}  // namespace

QJsonObject StandardRefToJson(const StandardRef& ref) {
    QJsonObject json{{QStringLiteral("profile"), ref.profile},
                     {QStringLiteral("level"), ref.level}};
    if (ref.level == AnyVoltageLevel()) {
        json.insert(QStringLiteral("voltage"), ref.voltage);
    }
    return json;
}

bool StandardRefFromJson(const QJsonObject& json, StandardRef& ref, QString& error) {
    for (auto it = json.begin(); it != json.end(); ++it) {
        if (it.key() != QLatin1String("profile") && it.key() != QLatin1String("level") &&
            it.key() != QLatin1String("voltage")) {
            error = QStringLiteral("Unknown field \"%1\".").arg(it.key());
            return false;
        }
    }
    StandardRef read;
    const QJsonValue profile = json.value(QLatin1String("profile"));
    const QJsonValue level = json.value(QLatin1String("level"));
    if (!profile.isString() || profile.toString().trimmed().isEmpty()) {
        error = QStringLiteral("Field \"profile\" must name a standard profile.");
        return false;
    }
    if (!level.isString() || level.toString().trimmed().isEmpty()) {
        error = QStringLiteral("Field \"level\" must name a test level, such as \"2\" or \"X\".");
        return false;
    }
    read.profile = profile.toString().trimmed();
    read.level = level.toString().trimmed();
    const QJsonValue voltage = json.value(QLatin1String("voltage"));
    if (read.level == AnyVoltageLevel()) {
        const double v = voltage.toDouble(-1);
        if (!voltage.isDouble() || v != static_cast<double>(static_cast<int32_t>(v)) || v < 1 ||
            v > kGeneratorVoltageMax) {
            error = QStringLiteral(
                        "Field \"voltage\" must give the voltage of level X in volts, "
                        "1 to %1.")
                        .arg(kGeneratorVoltageMax);
            return false;
        }
        read.voltage = static_cast<int32_t>(v);
    } else if (!voltage.isUndefined()) {
        error = QStringLiteral("Field \"voltage\" belongs to level X only.");
        return false;
    }
    ref = read;
    return true;
}

QString StandardSidecarPath(const QString& documentPath) {
    return documentPath + QStringLiteral(".std");
}

bool ReadStandardSidecar(const QString& documentPath, StandardRef& ref, QString& error) {
    const QString path = StandardSidecarPath(documentPath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    QByteArray bytes;
    if (!ReadRegularFile(path, kMaxSidecarBytes, bytes, error)) {
        error = Named(path, QStringLiteral("cannot be read: %1").arg(error));
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !json.isObject()) {
        error = Named(path, QStringLiteral("is not a JSON object."));
        return false;
    }
    QString fieldError;
    if (!StandardRefFromJson(json.object(), ref, fieldError)) {
        error = Named(path, QStringLiteral("is damaged: %1").arg(fieldError));
        return false;
    }
    return true;
}

bool WriteStandardSidecar(const QString& documentPath, const StandardRef& ref, QString& error) {
    const QString path = StandardSidecarPath(documentPath);
    if (ref.IsSet()) {
        return WriteFileSafely(path, SidecarBytes(ref), WriteMode::kReplaceRegular, error);
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    // Only a plain file of ours is removed; a link or a folder under that name is left alone.
    if (info.isSymLink() || !info.isFile() || !QFile::remove(path)) {
        error = Named(path, QStringLiteral("cannot be removed; it would give the document a "
                                           "standard it no longer has."));
        return false;
    }
    return true;
}

bool CheckSidecarFree(const QString& documentPath, QString& error) {
    const QString path = StandardSidecarPath(documentPath);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        error = Named(path, QStringLiteral("exists already; it is not replaced."));
        return false;
    }
    return true;
}

bool WriteNewStandardSidecar(const QString& documentPath, const StandardRef& ref, QString& error) {
    if (!ref.IsSet()) {
        return true;
    }
    const QByteArray bytes = QJsonDocument(StandardRefToJson(ref)).toJson();
    return WriteFileSafely(StandardSidecarPath(documentPath), bytes, WriteMode::kCreateNew, error);
}

}  // namespace zeb

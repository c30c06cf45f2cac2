#include "StandardProfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

#include "InstrumentRules.h"
#include "NameTables.h"
#include "StandardRef.h"

namespace zeb {

namespace {

constexpr const char* kKinds[] = {rule::kPolarities, rule::kAngles, rule::kPulses,  rule::kInterval,
                                  rule::kLevels,     rule::kPaths,  rule::kCoupling};

// Port keys of the file and of zebctl, by port code.
constexpr const char* kPortKeys[] = {"ac", "dc", "surge", "telecom"};

bool IsComment(const QString& key) {
    return key.startsWith(QLatin1String("//"));
}

// Every member of obj is one of the names, or a comment.
bool OnlyKnown(const QJsonObject& obj, const std::vector<const char*>& names, const QString& where,
               QString& error) {
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        if (IsComment(it.key())) {
            continue;
        }
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const char* n) { return it.key() == QLatin1String(n); });
        if (!known) {
            error = QStringLiteral("%1 has an unknown member \"%2\".").arg(where, it.key());
            return false;
        }
    }
    return true;
}

bool Text(const QJsonObject& obj, const char* name, const QString& where, QString& out,
          QString& error) {
    const QJsonValue v = obj.value(QLatin1String(name));
    if (!v.isString() || v.toString().trimmed().isEmpty()) {
        error = QStringLiteral("%1 needs \"%2\" as a text that is not empty.")
                    .arg(where, QLatin1String(name));
        return false;
    }
    out = v.toString().trimmed();
    return true;
}

// A whole number within min..max; the message says which range.
bool Whole(const QJsonValue& v, const QString& what, int64_t min, int64_t max, int32_t& out,
           QString& error) {
    const double d = v.toDouble();
    if (!v.isDouble() || d != static_cast<double>(static_cast<int64_t>(d)) || d < min || d > max) {
        error = QStringLiteral("%1 must be a whole number from %2 to %3%4.")
                    .arg(what)
                    .arg(min)
                    .arg(max)
                    .arg(v.isDouble() ? QStringLiteral(", not %1").arg(d) : QString());
        return false;
    }
    out = static_cast<int32_t>(d);
    return true;
}

bool ReadLevel(const QJsonValue& value, int index, ProfileLevel& level, QString& error) {
    const QString where = QStringLiteral("Level %1").arg(index + 1);
    if (!value.isObject()) {
        error = QStringLiteral("%1 must be an object.").arg(where);
        return false;
    }
    const QJsonObject obj = value.toObject();
    if (!OnlyKnown(obj, {"level", "voltage", "lineToLine", "lineToEarth"}, where, error) ||
        !Text(obj, "level", where, level.id, error)) {
        return false;
    }
    const QString named = QStringLiteral("Level %1").arg(level.id);
    const bool one = obj.contains(QLatin1String("voltage"));
    const bool two =
        obj.contains(QLatin1String("lineToLine")) || obj.contains(QLatin1String("lineToEarth"));
    if (one && two) {
        error = QStringLiteral(
                    "%1 gives \"voltage\" and a voltage per path kind; give one or "
                    "the other.")
                    .arg(named);
        return false;
    }
    if (!one && !two) {
        if (level.id != AnyVoltageLevel()) {
            error = QStringLiteral("%1 has no voltage; only level X is of any voltage.").arg(named);
            return false;
        }
        return true;
    }
    if (level.id == AnyVoltageLevel()) {
        error = QStringLiteral("Level X is of any voltage and takes none.");
        return false;
    }
    constexpr int64_t kMaxVolts = 1000000;
    if (one) {
        if (!Whole(obj.value(QLatin1String("voltage")), named + QStringLiteral(" \"voltage\""), 1,
                   kMaxVolts, level.lineToLine, error)) {
            return false;
        }
        level.lineToEarth = level.lineToLine;
        return true;
    }
    return Whole(obj.value(QLatin1String("lineToLine")), named + QStringLiteral(" \"lineToLine\""),
                 1, kMaxVolts, level.lineToLine, error) &&
           Whole(obj.value(QLatin1String("lineToEarth")),
                 named + QStringLiteral(" \"lineToEarth\""), 1, kMaxVolts, level.lineToEarth,
                 error);
}

bool ReadLevels(const QJsonObject& root, std::vector<ProfileLevel>& levels, QString& error) {
    const QJsonValue value = root.value(QLatin1String("levels"));
    if (!value.isArray() || value.toArray().isEmpty()) {
        error = QStringLiteral("The profile needs \"levels\", a list of test levels.");
        return false;
    }
    const QJsonArray arr = value.toArray();
    for (int i = 0; i < arr.size(); ++i) {
        ProfileLevel level;
        if (!ReadLevel(arr.at(i), i, level, error)) {
            return false;
        }
        for (const ProfileLevel& other : levels) {
            if (other.id == level.id) {
                error = QStringLiteral("Level %1 is given twice.").arg(level.id);
                return false;
            }
            // "All lower levels" needs an order: each fixed level is at least the one before.
            if (!other.AnyVoltage() && !level.AnyVoltage() &&
                (level.lineToLine < other.lineToLine || level.lineToEarth < other.lineToEarth)) {
                error = QStringLiteral(
                            "Level %1 is lower than level %2 before it; list the levels "
                            "in ascending order.")
                            .arg(level.id, other.id);
                return false;
            }
        }
        levels.push_back(level);
    }
    return true;
}

bool ReadPorts(const QJsonObject& obj, const QString& where, std::vector<int32_t>& ports,
               QString& error) {
    if (!obj.contains(QLatin1String("ports"))) {
        return true;
    }
    const QJsonValue value = obj.value(QLatin1String("ports"));
    const QJsonArray arr = value.toArray();
    if (!value.isArray() || arr.isEmpty()) {
        error =
            QStringLiteral("%1: \"ports\" must list ports (ac, dc, surge, telecom).").arg(where);
        return false;
    }
    for (const QJsonValue& v : arr) {
        const int32_t port = PortOfKey(v.toString());
        if (port < 0) {
            error = QStringLiteral("%1: \"%2\" is not a port; use ac, dc, surge or telecom.")
                        .arg(where, v.isString() ? v.toString() : QStringLiteral("?"));
            return false;
        }
        ports.push_back(port);
    }
    return true;
}

bool ReadCoupling(const QJsonObject& obj, const char* name, const QString& where, int32_t& code,
                  QString& error) {
    const QString text = obj.value(QLatin1String(name)).toString();
    for (const CodeName& e : names::kCoupling) {
        if (text == QLatin1String(e.name)) {
            code = e.code;
            return true;
        }
    }
    error = QStringLiteral("%1: \"%2\" must name a coupling (STANDARD, 10ohm+9uF or 18uF).")
                .arg(where, QLatin1String(name));
    return false;
}

// The kind's own parameters; every kind takes rule, citation, ports and severity.
bool ReadParameters(const QJsonObject& obj, const QString& where, ProfileRule& r, QString& error) {
    const auto known = [&](std::initializer_list<const char*> extra) {
        std::vector<const char*> names{"rule", "citation", "ports", "severity"};
        names.insert(names.end(), extra.begin(), extra.end());
        return OnlyKnown(obj, names, where, error);
    };
    if (r.kind == QLatin1String(rule::kPulses)) {
        return known({"count"}) &&
               Whole(obj.value(QLatin1String("count")), where + QStringLiteral(": \"count\""), 1,
                     999, r.count, error);
    }
    if (r.kind == QLatin1String(rule::kInterval)) {
        return known({"maximum"}) &&
               Whole(obj.value(QLatin1String("maximum")), where + QStringLiteral(": \"maximum\""),
                     1, kIntervalMax, r.maximum, error);
    }
    if (r.kind == QLatin1String(rule::kAngles)) {
        if (!known({"angles"})) {
            return false;
        }
        const QJsonArray arr = obj.value(QLatin1String("angles")).toArray();
        if (arr.isEmpty()) {
            error = QStringLiteral("%1: \"angles\" must list phase angles in degrees.").arg(where);
            return false;
        }
        for (const QJsonValue& v : arr) {
            int32_t angle = 0;
            if (!Whole(v, where + QStringLiteral(": each angle"), 0, 360, angle, error)) {
                return false;
            }
            r.angles.push_back(angle);
        }
        return true;
    }
    if (r.kind == QLatin1String(rule::kCoupling)) {
        return known({"lineToLine", "lineToEarth"}) &&
               ReadCoupling(obj, "lineToLine", where, r.lineToLineCoup, error) &&
               ReadCoupling(obj, "lineToEarth", where, r.lineToEarthCoup, error);
    }
    return known({});
}

bool ReadRule(const QJsonValue& value, int index, ProfileRule& r, QString& error) {
    QString where = QStringLiteral("Rule %1").arg(index + 1);
    if (!value.isObject()) {
        error = QStringLiteral("%1 must be an object.").arg(where);
        return false;
    }
    const QJsonObject obj = value.toObject();
    if (!Text(obj, "rule", where, r.kind, error)) {
        return false;
    }
    if (std::none_of(std::begin(kKinds), std::end(kKinds),
                     [&](const char* k) { return r.kind == QLatin1String(k); })) {
        error = QStringLiteral(
                    "%1 is of an unknown kind \"%2\"; the kinds are polarities, angles, "
                    "pulses, interval, levels, paths and coupling.")
                    .arg(where, r.kind);
        return false;
    }
    where = QStringLiteral("Rule %1 (%2)").arg(index + 1).arg(r.kind);
    if (!Text(obj, "citation", where, r.citation, error) ||
        !ReadPorts(obj, where, r.ports, error)) {
        return false;
    }
    if (obj.contains(QLatin1String("severity"))) {
        const QString s = obj.value(QLatin1String("severity")).toString();
        if (s != QLatin1String("warning") && s != QLatin1String("note")) {
            error = QStringLiteral("%1: \"severity\" must be warning or note.").arg(where);
            return false;
        }
        r.severity = s == QLatin1String("note") ? Severity::Note : Severity::Warning;
    }
    return ReadParameters(obj, where, r, error);
}

bool ReadRules(const QJsonObject& root, std::vector<ProfileRule>& rules, QString& error) {
    const QJsonValue value = root.value(QLatin1String("rules"));
    if (!value.isArray()) {
        error = QStringLiteral("The profile needs \"rules\", a list of rules.");
        return false;
    }
    const QJsonArray arr = value.toArray();
    for (int i = 0; i < arr.size(); ++i) {
        ProfileRule r;
        if (!ReadRule(arr.at(i), i, r, error)) {
            return false;
        }
        for (int32_t port = kPortAc; port <= kPortTelecom; ++port) {
            for (const ProfileRule& other : rules) {
                if (other.kind == r.kind && other.AppliesTo(port) && r.AppliesTo(port)) {
                    error = QStringLiteral(
                                "Rule %1 (%2) is the second rule of that kind for the "
                                "%3 port.")
                                .arg(i + 1)
                                .arg(r.kind, KeyOfPort(port));
                    return false;
                }
            }
        }
        rules.push_back(r);
    }
    return true;
}

}  // namespace

QString SeverityText(Severity severity) {
    return severity == Severity::Note ? QStringLiteral("note") : QStringLiteral("warning");
}

int32_t PortOfKey(const QString& key) {
    for (int32_t p = 0; p < 4; ++p) {
        if (key == QLatin1String(kPortKeys[p])) {
            return p;
        }
    }
    return -1;
}

QString KeyOfPort(int32_t port) {
    return port >= 0 && port < 4 ? QString::fromLatin1(kPortKeys[port]) : QString();
}

bool ProfileRule::AppliesTo(int32_t port) const {
    if (!ports.empty() && std::find(ports.begin(), ports.end(), port) == ports.end()) {
        return false;
    }
    if (kind == QLatin1String(rule::kAngles)) {
        return port == kPortAc;
    }
    if (kind == QLatin1String(rule::kPaths) || kind == QLatin1String(rule::kCoupling)) {
        return port == kPortAc || port == kPortDc;
    }
    return port >= kPortAc && port <= kPortTelecom;
}

const ProfileLevel* StandardProfile::FindLevel(const QString& id) const {
    for (const ProfileLevel& level : levels) {
        if (level.id == id) {
            return &level;
        }
    }
    return nullptr;
}

const ProfileRule* StandardProfile::RuleFor(const char* kind, int32_t port) const {
    for (const ProfileRule& r : rules) {
        if (r.kind == QLatin1String(kind) && r.AppliesTo(port)) {
            return &r;
        }
    }
    return nullptr;
}

QString StandardProfile::LevelList() const {
    QStringList ids;
    for (const ProfileLevel& level : levels) {
        ids << level.id;
    }
    return ids.join(QLatin1Char(','));
}

bool ProfileFromJson(const QByteArray& text, StandardProfile& profile, QString& error) {
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON (at offset %1: %2).")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
        return false;
    }
    if (!json.isObject()) {
        error = QStringLiteral("not a profile: the JSON text must be an object.");
        return false;
    }
    const QJsonObject root = json.object();
    const QJsonValue format = root.value(QLatin1String("format"));
    if (!format.isDouble() || format.toDouble() != kProfileFormat) {
        error = format.isUndefined()
                    ? QStringLiteral("no format version (\"format\": %1).").arg(kProfileFormat)
                    : QStringLiteral("format version %1 is unknown; this program reads version %2.")
                          .arg(format.isDouble()
                                   ? QString::number(format.toDouble())
                                   : QStringLiteral("\"%1\"").arg(format.toVariant().toString()))
                          .arg(kProfileFormat);
        return false;
    }
    StandardProfile read;
    const QString where = QStringLiteral("The profile");
    if (!OnlyKnown(root, {"format", "id", "title", "source", "levels", "rules"}, where, error) ||
        !Text(root, "id", where, read.id, error) ||
        !Text(root, "title", where, read.title, error) ||
        !Text(root, "source", where, read.source, error)) {
        return false;
    }
    static const QRegularExpression kId(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]*$"));
    if (!kId.match(read.id).hasMatch()) {
        error = QStringLiteral("The id \"%1\" may hold only letters, digits, '.', '-' and '_'.")
                    .arg(read.id);
        return false;
    }
    if (!ReadLevels(root, read.levels, error) || !ReadRules(root, read.rules, error)) {
        return false;
    }
    profile = read;
    return true;
}

}  // namespace zeb

#pragma once
// A test standard as data: its test levels and the rules a plan is checked against, each with
// its parameters and the words of the source it encodes (see README.md for the file format).
// Profiles are read from JSON files; a file with any fault is refused as a whole with a text
// naming the fault, so a half-read profile never checks a plan.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace zeb {

enum class Severity { Warning, Note };
// "warning", "note".
QString SeverityText(Severity severity);

// The rule kinds a profile may use, as named in the file and in every finding.
namespace rule {
inline constexpr char kPolarities[] = "polarities";
inline constexpr char kAngles[] = "angles";
inline constexpr char kPulses[] = "pulses";
inline constexpr char kInterval[] = "interval";
inline constexpr char kLevels[] = "levels";
inline constexpr char kPaths[] = "paths";
inline constexpr char kCoupling[] = "coupling";
}  // namespace rule

struct ProfileLevel {
    QString id;               // "1", "2", ... or "X"
    int32_t lineToLine = 0;   // volts; 0 for level X
    int32_t lineToEarth = 0;  // volts; 0 for level X
    bool AnyVoltage() const { return lineToLine == 0; }
};

struct ProfileRule {
    QString kind;  // one of rule::k...
    Severity severity = Severity::Warning;
    QString citation;
    std::vector<int32_t> ports;   // output port codes; empty: every port the kind applies to
    int32_t count = 0;            // pulses: at least this many per combination
    int32_t maximum = 0;          // interval: longest interval in seconds
    std::vector<int32_t> angles;  // angles: required phase angles in degrees
    int32_t lineToLineCoup = 0;   // coupling: code a line-to-line path needs when not STANDARD
    int32_t lineToEarthCoup = 0;  // coupling: the same for a line-to-earth path

    // Whether the rule checks plans on this output port: its own port list, and the kinds that
    // only make sense on some ports (angles on the AC port, paths and coupling on AC and DC).
    bool AppliesTo(int32_t port) const;
};

struct StandardProfile {
    QString id;
    QString title;
    QString source;
    std::vector<ProfileLevel> levels;  // in ascending order of voltage, as the file lists them
    std::vector<ProfileRule> rules;
    QString file;      // where it was read from
    bool lab = false;  // from the lab's folder rather than the shipped one

    const ProfileLevel* FindLevel(const QString& id) const;
    // The rule of this kind that applies on the port, or nullptr.
    const ProfileRule* RuleFor(const char* kind, int32_t port) const;
    // "1,2,3,4,X".
    QString LevelList() const;
};

// The format version this program reads.
constexpr int kProfileFormat = 1;

// Parses a profile file. Refused, with a text naming the fault: text that is not JSON, another
// format version, missing or empty id, title or source, levels that are missing, repeated, not
// ascending or with a voltage of 0 or less, rules of an unknown kind, without a citation, with
// a parameter missing, of the wrong type or out of range (a count below 1, say), two rules of
// one kind for the same port, and any member the format does not know. Members whose name
// begins with "//" are comments.
bool ProfileFromJson(const QByteArray& text, StandardProfile& profile, QString& error);

// Output port code of "ac", "dc", "surge", "telecom"; -1 for anything else.
int32_t PortOfKey(const QString& key);
QString KeyOfPort(int32_t port);

}  // namespace zeb

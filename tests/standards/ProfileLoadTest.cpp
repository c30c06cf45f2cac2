// Standard profiles: the two shipped ones as they are, the lab's folder replacing a shipped
// profile by id, and every kind of broken file named with its fault while the others load.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "InstrumentRules.h"
#include "ProfileLibrary.h"

namespace zeb {
namespace {

const QString kShipped = QStringLiteral(ZEB_SHIPPED_PROFILES);

QByteArray ShippedBytes() {
    QFile f(kShipped + QStringLiteral("/iec61000-4-5-2005.json"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(ShippedProfiles, HoldTheLevelsAndRulesAsQuoted) {
    const ProfileSet set = LoadProfiles(kShipped, QString());
    EXPECT_TRUE(set.problems.isEmpty()) << set.problems.join('\n').toStdString();
    ASSERT_EQ(set.profiles.size(), 2u);
    const StandardProfile* p = set.Find(QStringLiteral("iec61000-4-5-2005"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->title, QStringLiteral("IEC 61000-4-5:2005, 8.2"));
    EXPECT_EQ(p->LevelList(), QStringLiteral("1,2,3,4,X"));
    const int32_t volts[] = {500, 1000, 2000, 4000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p->levels[i].lineToLine, volts[i]);
        EXPECT_EQ(p->levels[i].lineToEarth, volts[i]);
    }
    EXPECT_TRUE(p->levels[4].AnyVoltage());
    EXPECT_FALSE(p->lab);

    ASSERT_NE(p->RuleFor(rule::kPulses, kPortAc), nullptr);
    EXPECT_EQ(p->RuleFor(rule::kPulses, kPortAc)->count, 5);
    EXPECT_TRUE(
        p->RuleFor(rule::kPulses, kPortDc)
            ->citation.startsWith(QStringLiteral("number of surges ... for d.c. power ports")));
    EXPECT_EQ(p->RuleFor(rule::kAngles, kPortAc)->angles, (std::vector<int32_t>{0, 90, 180, 270}));
    EXPECT_EQ(p->RuleFor(rule::kAngles, kPortTelecom), nullptr);
    EXPECT_EQ(p->RuleFor(rule::kPaths, kPortSurge), nullptr);
    EXPECT_EQ(p->RuleFor(rule::kInterval, kPortSurge)->maximum, 60);
    EXPECT_EQ(p->RuleFor(rule::kCoupling, kPortDc)->lineToLineCoup, kCoupling18uF);
    EXPECT_EQ(p->RuleFor(rule::kCoupling, kPortDc)->lineToEarthCoup, kCoupling10Ohm9uF);

    // The template encodes the same rules, so a lab's copy starts from a working profile.
    const StandardProfile* t = set.Find(QStringLiteral("lab-template"));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->rules.size(), p->rules.size());
    for (size_t i = 0; i < p->rules.size(); ++i) {
        EXPECT_EQ(t->rules[i].kind, p->rules[i].kind);
        EXPECT_EQ(t->rules[i].citation, p->rules[i].citation);
        EXPECT_EQ(t->rules[i].count, p->rules[i].count);
        EXPECT_EQ(t->rules[i].angles, p->rules[i].angles);
    }
}

class ProfileFolders : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_lab.isValid()); }
    void Put(const QString& name, const QByteArray& bytes) {
        QFile f(m_lab.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The shipped 2005 profile with one text replaced.
    QByteArray Edited(const char* from, const char* to) {
        QByteArray bytes = ShippedBytes();
        EXPECT_TRUE(bytes.contains(from)) << from;
        return bytes.replace(from, to);
    }
    QTemporaryDir m_lab;
};

TEST_F(ProfileFolders, ALabProfileWithAShippedIdReplacesItAndANewOneIsAdded) {
    Put("mine.json", Edited("\"count\": 5,\n            \"citation\": \"for a.c.",
                            "\"count\": 3,\n            \"citation\": \"for a.c."));
    Put("other.json", Edited("\"id\": \"iec61000-4-5-2005\"", "\"id\": \"acme-product\""));
    const ProfileSet set = LoadProfiles(kShipped, m_lab.path());
    EXPECT_TRUE(set.problems.isEmpty()) << set.problems.join('\n').toStdString();
    ASSERT_EQ(set.profiles.size(), 3u);
    const StandardProfile* p = set.Find(QStringLiteral("iec61000-4-5-2005"));
    EXPECT_TRUE(p->lab);
    EXPECT_EQ(p->RuleFor(rule::kPulses, kPortAc)->count, 3);
    EXPECT_EQ(set.profiles.front().id, p->id) << "replaced in its place";
    EXPECT_TRUE(set.Find(QStringLiteral("acme-product"))->lab);
}

TEST_F(ProfileFolders, EachBrokenFileIsNamedWithItsFaultAndTheOthersStillLoad) {
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* fault;
    };
    const Case cases[] = {
        {"a-not-json.json", "{\"id\": \"x\",", "not JSON"},
        {"b-version.json", Edited("\"format\": 1", "\"format\": 2"), "format version 2 is unknown"},
        {"c-kind.json", Edited("\"rule\": \"interval\"", "\"rule\": \"intervals\""),
         "unknown kind \"intervals\""},
        {"d-negative.json", Edited("\"count\": 5", "\"count\": -5"),
         "\"count\" must be a whole number from 1 to 999, not -5"},
        {"e-no-citation.json", Edited("\"citation\": \"time between", "\"quote\": \"time between"),
         "needs \"citation\""},
        {"f-twice.json",
         Edited("\"rule\": \"polarities\",\n            \"ports\": [\"ac\"]",
                "\"rule\": \"polarities\",\n            \"ports\": [\"ac\", \"dc\"]"),
         "second rule of that kind for the dc port"},
        {"g-descending.json", Edited("\"voltage\": 4000", "\"voltage\": 400"), "ascending order"},
        {"h-x-voltage.json", Edited("{\"level\": \"X\"}", "{\"level\": \"X\", \"voltage\": 1}"),
         "takes none"},
        {"i-array.json", "[]", "must be an object"},
    };
    for (const Case& c : cases) {
        Put(c.file, c.bytes);
    }
    Put("z-good.json", Edited("\"id\": \"iec61000-4-5-2005\"", "\"id\": \"still-here\""));
    const ProfileSet set = LoadProfiles(kShipped, m_lab.path());
    ASSERT_EQ(set.problems.size(), std::size(cases)) << set.problems.join('\n').toStdString();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString& problem = set.problems.at(static_cast<int>(i));
        EXPECT_TRUE(problem.startsWith(m_lab.filePath(cases[i].file) + ": "))
            << problem.toStdString();
        EXPECT_TRUE(problem.contains(QLatin1String(cases[i].fault))) << problem.toStdString();
    }
    EXPECT_NE(set.Find(QStringLiteral("still-here")), nullptr);
    EXPECT_EQ(set.profiles.size(), 3u);
}

TEST_F(ProfileFolders, MissingFoldersAndARepeatedIdInOneFolder) {
    // A lab without a folder of its own has nothing to report; a missing shipped folder does.
    ProfileSet set = LoadProfiles(kShipped, m_lab.filePath("absent"));
    EXPECT_TRUE(set.problems.isEmpty());
    set = LoadProfiles(m_lab.filePath("absent"), QString());
    ASSERT_EQ(set.problems.size(), 1);
    EXPECT_TRUE(set.problems.front().contains(QStringLiteral("does not exist")));

    Put("one.json", ShippedBytes());
    Put("two.json", ShippedBytes());
    set = LoadProfiles(QString(), m_lab.path());
    ASSERT_EQ(set.problems.size(), 1);
    EXPECT_TRUE(set.problems.front().startsWith(m_lab.filePath("two.json")));
    EXPECT_TRUE(set.problems.front().contains(m_lab.filePath("one.json")));
    EXPECT_EQ(set.profiles.size(), 1u);
}

}  // namespace
}  // namespace zeb

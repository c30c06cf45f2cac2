// The monitor settings in ZEB.ini: defaults on a clean account, the round trip, and what
// becomes of stored values a person edited by hand.
#include <gtest/gtest.h>

#include "IniFile.h"
#include "MonitorSettings.h"
#include "TempConfigHome.h"

namespace zeb {
namespace {

void Store(const char* key, const char* value) {
    WriteIniString(QLatin1String(monitorini::kSection), QLatin1String(key),
                   QString::fromUtf8(value));
}

TEST(MonitorSettingsTest, CleanAccountHasNoMonitorAndTheDefaults) {
    test::TempConfigHome home;
    const EutMonitorSettings s = LoadMonitorSettings();
    EXPECT_EQ(s, EutMonitorSettings());
    // The after-step switch is on by default but judges nothing until a command is set.
    EXPECT_FALSE(s.JudgesAfterStep());
    EutMonitorSettings withCommand = s;
    withCommand.command = QStringLiteral("ping-host eut");
    EXPECT_TRUE(withCommand.JudgesAfterStep());
    EXPECT_FALSE(withCommand.ChecksDuringStep());
}

TEST(MonitorSettingsTest, RoundTripsEveryFieldInASectionOfItsOwn) {
    test::TempConfigHome home;
    Store("INI_KEY_UNRELATED", "x");
    WriteIniString(QStringLiteral("INI_SECTION_PROPERTY"), QStringLiteral("INI_KEY_TEST_PLACE"),
                   QStringLiteral("Room 2"));
    EutMonitorSettings s;
    s.command = QStringLiteral("serial-heartbeat /dev/ttyUSB1 '^alive [0-9]+ = ok$' 5");
    s.timeLimitS = 600;
    s.judgeAfterStep = false;
    s.checkDuringStep = true;
    s.everyS = 1;
    s.stopOnFail = true;
    StoreMonitorSettings(s);
    EXPECT_EQ(LoadMonitorSettings(), s);
    // Other sections and keys are left alone.
    EXPECT_EQ(ReadIniString(QStringLiteral("INI_SECTION_PROPERTY"),
                            QStringLiteral("INI_KEY_TEST_PLACE"), QString()),
              QStringLiteral("Room 2"));
    EXPECT_EQ(ReadIniString(QLatin1String(monitorini::kSection),
                            QStringLiteral("INI_KEY_UNRELATED"), QString()),
              QStringLiteral("x"));
    // Switching the monitor off again stores an empty command.
    s.command.clear();
    StoreMonitorSettings(s);
    EXPECT_FALSE(LoadMonitorSettings().Enabled());
}

TEST(MonitorSettingsTest, HandEditedValuesFallBackOrAreClamped) {
    test::TempConfigHome home;
    const struct {
        const char* stored;
        int seconds;  // what a number reads back as; 0 where the default is kept
    } numbers[] = {{"0", 1},   {"-5", 1},  {"601", 600},
                   {"45", 45}, {" 7 ", 7}, {"abc", 0},
                   {"", 0},    {"3.5", 0}, {"99999999999999999999", 0}};
    for (const auto& n : numbers) {
        Store(monitorini::kTimeLimit, n.stored);
        Store(monitorini::kEvery, n.stored);
        const EutMonitorSettings s = LoadMonitorSettings();
        EXPECT_EQ(s.timeLimitS, n.seconds ? n.seconds : EutMonitorSettings::kDefaultTimeLimit)
            << n.stored;
        EXPECT_EQ(s.everyS, n.seconds ? n.seconds : EutMonitorSettings::kDefaultEvery) << n.stored;
    }
    const struct {
        const char* stored;
        bool afterStep;
        bool stopOnFail;
    } switches[] = {{"1", true, true},
                    {"0", false, false},
                    {"yes", true, false},
                    {"2", true, false},
                    {"", true, false}};
    for (const auto& w : switches) {
        Store(monitorini::kJudgeAfter, w.stored);
        Store(monitorini::kStopOnFail, w.stored);
        const EutMonitorSettings s = LoadMonitorSettings();
        EXPECT_EQ(s.judgeAfterStep, w.afterStep) << w.stored;
        EXPECT_EQ(s.stopOnFail, w.stopOnFail) << w.stored;
    }
}

TEST(MonitorSettingsTest, StoringClampsTheNumbers) {
    test::TempConfigHome home;
    EutMonitorSettings s;
    s.command = QStringLiteral("true");
    s.timeLimitS = 0;
    s.everyS = 100000;
    StoreMonitorSettings(s);
    const EutMonitorSettings back = LoadMonitorSettings();
    EXPECT_EQ(back.timeLimitS, 1);
    EXPECT_EQ(back.everyS, 600);
}

}  // namespace
}  // namespace zeb

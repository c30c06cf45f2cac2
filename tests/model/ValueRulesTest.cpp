// Fixed-point fields: what the operator types, what is stored and what is shown again.

#include <gtest/gtest.h>

#include <limits>

#include "ValueRules.h"

namespace zeb {
namespace {

VALUE_LIMIT Volts() {
    return {QStringLiteral("[kV]"), 3, 1, 0, 15000, 100};
}
VALUE_LIMIT Degrees() {
    return {QStringLiteral("[deg]"), 0, 0, 0, 360, 1};
}

TEST(ValueRules, ParseTruncatesAndSaturates) {
    EXPECT_EQ(ParseFixed("0.55", 3), 550);
    EXPECT_EQ(ParseFixed("2.3", 3), 2300);
    EXPECT_EQ(ParseFixed("12.34", 0), 12);
    EXPECT_EQ(ParseFixed("1.23456", 3), 1234);
    EXPECT_EQ(ParseFixed(".5", 3), 500);
    EXPECT_EQ(ParseFixed("7abc", 0), 7);
    EXPECT_EQ(ParseFixed("", 3), 0);
    EXPECT_EQ(ParseFixed("abc", 0), 0);
    EXPECT_EQ(ParseFixed("-1.5", 3), -1500);
    // Pasted digits far beyond 32 bits saturate instead of wrapping.
    EXPECT_EQ(ParseFixed("99999999999999999999999", 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseFixed("3000000", 3), std::numeric_limits<int32_t>::max());
}

TEST(ValueRules, FormatRoundsTheLastShownDigit) {
    EXPECT_EQ(FormatFixed(550, 3, 1), "0.6");
    EXPECT_EQ(FormatFixed(500, 3, 1), "0.5");
    // Shown as the summary view and the report show it, so the editor never disagrees with them.
    EXPECT_EQ(FormatFixed(350, 3, 1), "0.3");
    EXPECT_EQ(FormatFixed(350, 3, 1), QString::number(350 / 1000.0, 'f', 1));
    EXPECT_EQ(FormatFixed(0, 3, 1), "0.0");
    EXPECT_EQ(FormatFixed(15000, 3, 1), "15.0");
    EXPECT_EQ(FormatFixed(60, 0, 0), "60");
    EXPECT_EQ(FormatFixed(5, 0, 2), "5.00");
}

TEST(ValueRules, EditedVoltageIsStoredAsShown) {
    const VALUE_LIMIT v = Volts();
    EXPECT_EQ(BoundedAfterEdit("0.55", v.m_lMin, v.m_lMax, v), 600);
    EXPECT_EQ(BoundedAfterEdit("16", v.m_lMin, v.m_lMax, v), 15000);
    EXPECT_EQ(FormatFixed(15000, v), "15.0");
    EXPECT_EQ(BoundedAfterEdit("0.04", v.m_lMin, v.m_lMax, v), 0);
    EXPECT_EQ(BoundedAfterEdit("99999999999", v.m_lMin, v.m_lMax, v), 15000);
    // Non-numeric text is 0, which the clamp lifts to the minimum.
    const VALUE_LIMIT count{QStringLiteral("[Times]"), 0, 0, 1, 999, 1};
    EXPECT_EQ(BoundedAfterEdit("", count.m_lMin, count.m_lMax, count), 1);
    EXPECT_EQ(BoundedAfterEdit("12.34", count.m_lMin, count.m_lMax, count), 12);
}

TEST(ValueRules, SpinMovesByTheIncrementWithinBounds) {
    const VALUE_LIMIT v = Volts();
    EXPECT_EQ(BoundedAfterSpin("1.0", true, v.m_lMin, v.m_lMax, v), 1100);
    EXPECT_EQ(BoundedAfterSpin("1.0", false, v.m_lMin, v.m_lMax, v), 900);
    EXPECT_EQ(BoundedAfterSpin("15.0", true, v.m_lMin, v.m_lMax, v), 15000);
    EXPECT_EQ(BoundedAfterSpin("0.0", false, v.m_lMin, v.m_lMax, v), 0);
    const VALUE_LIMIT a = Degrees();
    EXPECT_EQ(BoundedAfterSpin("2147483647", true, a.m_lMin, a.m_lMax, a), 360);
}

TEST(ValueRules, FilterKeepsDigitsAndTheRightPoint) {
    // "1.2.3" typed from left to right: the newest point wins.
    FilteredInput f = FilterNumericInput("1.2.", 4);
    EXPECT_EQ(f.text, "12.");
    EXPECT_EQ(f.caret, 3);
    EXPECT_EQ(FilterNumericInput(f.text + "3", 4).text, "12.3");
    EXPECT_FALSE(FilterNumericInput("12.3", 4).changed);

    // Pasted with the caret at the end: no point was just typed, so the first one stays.
    f = FilterNumericInput("12a.3.4", 7);
    EXPECT_EQ(f.text, "12.34");
    EXPECT_EQ(f.caret, 5);

    // A rejected letter typed in the middle puts the caret back where it was.
    f = FilterNumericInput("1x23", 2);
    EXPECT_EQ(f.text, "123");
    EXPECT_EQ(f.caret, 1);
    EXPECT_EQ(FilterNumericInput("-5", 2).text, "5");

    // A point typed behind an older one: the older point goes, but the caret stays where the
    // typing left it ("1.2|3" and a point typed ends "12.3|", not "12.|3").
    f = FilterNumericInput("1.2.3", 4);
    EXPECT_EQ(f.text, "12.3");
    EXPECT_EQ(f.caret, 4);
    // Typed in front of the older point: the caret keeps its place as well.
    f = FilterNumericInput("1.2.3", 2);
    EXPECT_EQ(f.text, "1.23");
    EXPECT_EQ(f.caret, 2);
    // A rejected first character leaves the caret at the start.
    f = FilterNumericInput("x5", 1);
    EXPECT_EQ(f.text, "5");
    EXPECT_EQ(f.caret, 0);
}

TEST(ValueRules, SweepFieldsKeepStartEndAndStepInOrder) {
    const VALUE_LIMIT v = Volts();
    VALUE s;
    s.m_nValueType = kValueSweep;
    s.m_lStart = 1000;
    s.m_lEnd = 3000;
    s.m_lStep = 500;

    EXPECT_EQ(SweepAfterEdit(s, SweepField::End, "0.5", v), 1000);  // below start: start
    s.m_lEnd = 3000;
    EXPECT_EQ(SweepAfterEdit(s, SweepField::Start, "4", v), 3000);  // above end: end
    s.m_lStart = 1000;
    EXPECT_EQ(SweepAfterEdit(s, SweepField::Step, "0", v), 100);  // never below the increment
    EXPECT_EQ(SweepAfterEdit(s, SweepField::Step, "20", v), 15000);

    // Spins: the start stops at the end, the end stops at the start going down and keeps its
    // value when a click up would pass the maximum.
    s = VALUE{};
    s.m_lStart = 2900;
    s.m_lEnd = 3000;
    EXPECT_EQ(SweepAfterSpin(s, SweepField::Start, "3.0", true, v), 3000);
    s.m_lStart = 3000;
    EXPECT_EQ(SweepAfterSpin(s, SweepField::End, "3.0", false, v), 3000);
    s.m_lEnd = 14950;
    EXPECT_EQ(SweepAfterSpin(s, SweepField::End, "14.95", true, v), 14950);
    EXPECT_EQ(SweepAfterSpin(s, SweepField::End, "14.8", true, v), 14900);
    s.m_lStart = 0;
    s.m_lStep = 100;
    EXPECT_EQ(SweepAfterSpin(s, SweepField::Step, "0.1", false, v), 100);
    EXPECT_EQ(SweepAfterSpin(s, SweepField::Step, "0.1", true, v), 200);
}

TEST(ValueRules, PageForTypeAndKind) {
    EXPECT_EQ(PageFor(kValueFixed, 1), ValuePage::Fixed);
    EXPECT_EQ(PageFor(kValueSweep, 0), ValuePage::Sweep);
    EXPECT_EQ(PageFor(kValueVariable, 0), ValuePage::List);
    EXPECT_EQ(PageFor(kValueVariable, 1), ValuePage::NormalCommon);
    EXPECT_EQ(PageFor(kValueVariable, 2), ValuePage::None);
    EXPECT_EQ(PageFor(3, 0), ValuePage::None);
    EXPECT_EQ(PageFor(-1, 0), ValuePage::None);
}

}  // namespace
}  // namespace zeb

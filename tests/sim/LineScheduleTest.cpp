#include <gtest/gtest.h>

#include "LineSchedule.h"

namespace zebsim {
namespace {

constexpr std::int64_t kByte = LineSchedule::kByteTimeUs;

TEST(LineSchedule, UnpacedBytesAreDueAtOnce) {
    LineSchedule line(false);
    EXPECT_EQ(line.Arrival(5000), 5000);
    line.Push("abc", 5000, 0);
    EXPECT_EQ(line.TakeDue(5000), QByteArray("abc"));
    EXPECT_TRUE(line.Empty());
}

TEST(LineSchedule, PacedBytesTakeTheirTimeInBothDirections) {
    LineSchedule line(true);
    // Three bytes read together arrive one byte time apart.
    EXPECT_EQ(line.Arrival(0), kByte);
    EXPECT_EQ(line.Arrival(0), 2 * kByte);
    EXPECT_EQ(line.Arrival(100 * kByte), 101 * kByte);

    line.Push("xyz", 0, 0);
    EXPECT_EQ(line.NextDueUs(), kByte);
    EXPECT_TRUE(line.TakeDue(kByte - 1).isEmpty());
    EXPECT_EQ(line.TakeDue(2 * kByte), QByteArray("xy"));
    EXPECT_EQ(line.TakeDue(3 * kByte), QByteArray("z"));
}

TEST(LineSchedule, DelayAndQueueingKeepOrder) {
    LineSchedule line(false);
    line.Push("a", 0, 0);
    line.Push("b", 0, 700);
    line.Push("c", 0, 0);  // behind the delayed byte, never ahead of it
    EXPECT_EQ(line.TakeDue(699999), QByteArray("a"));
    EXPECT_EQ(line.TakeDue(700000), QByteArray("bc"));
}

TEST(LineSchedule, DropForgetsUnsentBytesAndTheirDelay) {
    LineSchedule line(true);
    line.Push("a", 0, 0);
    line.TakeDue(kByte);
    line.Push("late", kByte, 700);
    line.Drop();
    EXPECT_TRUE(line.Empty());
    line.Push("n", 2 * kByte, 0);
    EXPECT_EQ(line.NextDueUs(), 3 * kByte);

    // Stale bytes are pushed unpaced: all there at once.
    line.Push("sss", 10 * kByte, 0, false);
    EXPECT_EQ(line.TakeDue(10 * kByte), QByteArray("nsss"));
}

}  // namespace
}  // namespace zebsim

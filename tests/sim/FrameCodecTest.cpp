#include <gtest/gtest.h>

#include "FrameCodec.h"

namespace zebsim {
namespace {

using Result = FrameAssembler::Result;

Result FeedAll(FrameAssembler& assembler, const QByteArray& bytes) {
    Result result = Result::Pending;
    for (char byte : bytes) {
        result = assembler.Feed(byte);
    }
    return result;
}

TEST(FrameCodec, EncodesTheStartCommandByteExact) {
    EXPECT_EQ(EncodeFrame("CA"), QByteArray("\x02\x43\x41\x03\x01", 5));
    // An empty text still carries ETX and its check.
    EXPECT_EQ(EncodeFrame(""), QByteArray("\x02\x03\x03", 3));
}

TEST(FrameCodec, AssemblerAcceptsOwnFramesAndRejectsBadChecks) {
    FrameAssembler assembler;
    const QByteArray frame = EncodeFrame("PD415");
    EXPECT_EQ(FeedAll(assembler, frame.mid(1)), Result::Complete);
    EXPECT_EQ(assembler.Text(), QByteArray("PD415"));

    QByteArray bad = frame.mid(1);
    bad[bad.size() - 1] = static_cast<char>(bad.at(bad.size() - 1) ^ 0x01);
    assembler.Reset();
    EXPECT_EQ(FeedAll(assembler, bad), Result::BadCheck);
}

TEST(FrameCodec, CheckByteMayTakeAnyValueIncludingControlCharacters) {
    // "A" ^ ETX = 0x42; find a text whose check is ETX itself and one whose check is ENQ.
    FrameAssembler assembler;
    const QByteArray text("\x06", 1);  // 0x06 ^ 0x03 = 0x05, the ENQ value
    ASSERT_EQ(BlockCheck(text), kEnq);
    EXPECT_EQ(FeedAll(assembler, EncodeFrame(text).mid(1)), Result::Complete);
    assembler.Reset();
    ASSERT_EQ(BlockCheck(QByteArray()), kEtx);
    EXPECT_EQ(FeedAll(assembler, EncodeFrame(QByteArray()).mid(1)), Result::Complete);
}

TEST(FrameCodec, LongestTextIsAcceptedOneMoreOverflows) {
    FrameAssembler assembler;
    const QByteArray longest(kMaxFrameText, 'X');
    EXPECT_EQ(FeedAll(assembler, EncodeFrame(longest).mid(1)), Result::Complete);
    EXPECT_EQ(assembler.Text().size(), kMaxFrameText);

    assembler.Reset();
    EXPECT_EQ(FeedAll(assembler, QByteArray(kMaxFrameText + 1, 'X')), Result::Overflow);
}

}  // namespace
}  // namespace zebsim

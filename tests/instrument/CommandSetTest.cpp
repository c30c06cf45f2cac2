// Queries of the command set: reply decoding, cleared out values, error messages.

#include <gtest/gtest.h>

#include "FakeInstrument.h"
#include "InstrumentStatus.h"
#include "LinkMessages.h"
#include "ReplyDecoders.h"
#include "ZebM40Cntl.h"

namespace zeb::test {
namespace {

TEST(ReplyDecodersTest, DecimalReadsLikeTheInstrumentWritesIt) {
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QF12")), 12);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QE  -7s")), -7);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QO+3")), 3);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QO")), 0);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("Q")), 0);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QOx5")), 0);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QO-")), 0);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QO99999999999999999999")), 2147483647);
    EXPECT_EQ(DecodeDecimal(QStringLiteral("QO-99999999999999999999")), -2147483647 - 1);
}

TEST(ReplyDecodersTest, NibblesAreLowFirstAndOnlyLowBitsCount) {
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QB12"), 2), 0x21u);
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QP8000"), 4), 0x0008u);
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QB?:"), 2), 0xAFu);
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QB1"), 2), 0x1u);
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QB123"), 2), 0x21u);
    EXPECT_EQ(DecodeNibbles(QStringLiteral("QB"), 2), 0u);
    EXPECT_EQ(DecodeNibbles(QString(), 4), 0u);
    EXPECT_EQ(DecodeText(QStringLiteral("QF")), QString());
    EXPECT_EQ(DecodeText(QStringLiteral("QF 3")), QStringLiteral(" 3"));
}

TEST(InstrumentStatusTest, ErrorMessageTable) {
    EXPECT_EQ(ErrorMessageFor(0), QString());
    EXPECT_EQ(ErrorMessageFor(3), ErrorMessageFor(4));
    EXPECT_EQ(ErrorMessageFor(6), QStringLiteral("Line Input Error\n Input mains is inactive."));
    EXPECT_EQ(ErrorMessageFor(12), QStringLiteral("EMERGENCY STOP is canceled.\nReboot the "
                                                  "Surge simulator with power switch."));
    EXPECT_EQ(ErrorMessageFor(13), QStringLiteral("Unknown Error"));
    EXPECT_EQ(ErrorMessageFor(-1), QStringLiteral("Unknown Error"));
    EXPECT_EQ(status::kLineOnRefusedMask, 0x1A);
}

// Operators and their procedures know these texts as they are, slips included; a tidy-up that
// "corrects" them breaks that.
TEST(LinkMessagesTest, TextsKeepTheirLongStandingWording) {
    EXPECT_EQ(linkmsg::TestStopped(), QStringLiteral("Test is stoped."));
    EXPECT_EQ(linkmsg::Limiter6kV(),
              QStringLiteral("6kV limiter is enabled.\nChange setup voltage or reset the limter."));
    // Without blanks around the slash here, with them in the settings check.
    EXPECT_EQ(linkmsg::LostDuringRun(), QStringLiteral("Could not connect to the ZEB-M40/ZEB-M50."
                                                       "\nPlease see detail on ZEB screen."));
    EXPECT_EQ(linkmsg::CouldNotConnect(),
              QStringLiteral("Could not connect to the ZEB-M40 / ZEB-M50."));
    EXPECT_EQ(linkmsg::OtherMachineType(QStringLiteral("ZEB-4170")),
              QStringLiteral("Could not open the file..\nThis file for ZEB-4170."));
}

class CommandSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        line = bus.Add(QStringLiteral("/dev/m40"));
        inst.replies.insert(QStringLiteral("QA"), QStringLiteral("QABRAKMOOR, ZEB-M4-1"));
        inst.Serve(*line);
        ASSERT_TRUE(cntl.ConnectPort(1));
    }
    void Reply(const char* query, const char* reply) {
        inst.replies[QString::fromLatin1(query)] = QString::fromLatin1(reply);
    }
    // From now on the instrument answers nothing at all.
    void Silence() { line->responder = nullptr; }

    FakeBus bus;
    std::shared_ptr<FakeLine> line;
    FakeInstrument inst;
    CZebM40Cntl cntl{bus.Access()};
};

TEST_F(CommandSetTest, QueriesDecodeTheirReplies) {
    Reply("QB", "QB12");
    Reply("QP", "QP8000");
    Reply("QF", "QF3");
    Reply("QE", "QE 10");
    Reply("QO", "QO2");
    Reply("QI", "QI4");
    quint8 status = 0;
    quint16 protect = 0;
    QString count, interval;
    int port = -1, lineType = -1;
    EXPECT_TRUE(cntl.GetStatus(status));
    EXPECT_EQ(status, 0x21);
    EXPECT_TRUE(cntl.GetProtectStatus(protect));
    EXPECT_EQ(protect, protect::kLimiter6kV);
    EXPECT_TRUE(cntl.GetDischargeCount(count));
    EXPECT_EQ(count, QStringLiteral("3"));
    EXPECT_TRUE(cntl.GetIntervalCount(interval));
    EXPECT_EQ(interval, QStringLiteral(" 10"));
    EXPECT_TRUE(cntl.GetOutputPort(port));
    EXPECT_EQ(port, 2);
    EXPECT_TRUE(cntl.GetLineType(lineType));
    EXPECT_EQ(lineType, 4);
}

TEST_F(CommandSetTest, ErrorCodesBecomeMessages) {
    QString message = QStringLiteral("old");
    const std::pair<const char*, QString> cases[] = {
        {"QQ0", QString()},
        {"QQ12", ErrorMessageFor(12)},
        {"QQ13", QStringLiteral("Unknown Error")},
        {"QQ-1", QStringLiteral("Unknown Error")},
        {"QQ", QString()},
    };
    for (const auto& [reply, want] : cases) {
        Reply("QQ", reply);
        EXPECT_TRUE(cntl.GetErrorMessage(message)) << reply;
        EXPECT_EQ(message, want) << reply;
    }
}

TEST_F(CommandSetTest, CommandsAndFailedQueriesLeaveNothingBehind) {
    EXPECT_TRUE(cntl.StartTest());
    EXPECT_TRUE(cntl.PauseResume());
    EXPECT_TRUE(cntl.StopTest());
    EXPECT_TRUE(cntl.ClearSettings());
    EXPECT_TRUE(cntl.LineOn());
    EXPECT_TRUE(cntl.LineOff());
    EXPECT_TRUE(cntl.MakeSafe());
    EXPECT_EQ(inst.log.mid(1), (QStringList{"CA", "CA", "CB", "PQ0", "CC", "CD", "CB", "CD"}));

    // A command the instrument does not acknowledge is told apart from a link that is gone;
    // making safe still tries the line after a stop that failed.
    inst.refused.insert(QStringLiteral("CB"));
    inst.log.clear();
    EXPECT_EQ(cntl.MakeSafe().status, CmdStatus::Timeout);
    EXPECT_EQ(inst.log, (QStringList{"CB", "CD"}));
    EXPECT_EQ(cntl.LineOff().status, CmdStatus::Ok);

    Silence();
    quint8 status = 0xFF;
    quint16 protect = 0xFFFF;
    QString count = QStringLiteral("9"), message = QStringLiteral("x");
    int port = 7;
    EXPECT_EQ(cntl.StartTest().status, CmdStatus::Timeout);
    EXPECT_TRUE(cntl.StartTest().LinkFailed());
    EXPECT_FALSE(cntl.GetStatus(status));
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(cntl.GetProtectStatus(protect));
    EXPECT_EQ(protect, 0);
    EXPECT_FALSE(cntl.GetDischargeCount(count));
    EXPECT_TRUE(count.isEmpty());
    EXPECT_FALSE(cntl.GetOutputPort(port));
    EXPECT_EQ(port, 0);
    EXPECT_FALSE(cntl.GetErrorMessage(message));
    EXPECT_TRUE(message.isEmpty());
}

}  // namespace
}  // namespace zeb::test

// Byte-exact conversations of the framing layer against a scripted line.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "FakeTransport.h"
#include "RsBasicProtocol.h"

namespace zeb::test {
namespace {

const QString kDev = QStringLiteral("/dev/fake0");

class RsProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        line = bus.Add(kDev);
        protocol = std::make_unique<CRsBasicProtocol>(bus.Access());
        ASSERT_TRUE(protocol->Port().OpenPort(1));
    }

    FakeBus bus;
    std::shared_ptr<FakeLine> line;
    std::unique_ptr<CRsBasicProtocol> protocol;
};

TEST_F(RsProtocolTest, CommandGoesOutAsFramedTextAfterAcknowledgedEnq) {
    const QByteArray frame = Bytes({0x02, 0x43, 0x41, 0x03, 0x01});
    line->Expect(kEnqByte, kAckByte);
    line->Expect(frame, kAckByte);
    EXPECT_TRUE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(line->written, kEnqByte + frame);
    EXPECT_EQ(line->mismatchedWrites, 0);
}

TEST_F(RsProtocolTest, CommandWithoutFinalAckFails) {
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CB"), Bytes({0x15}));
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CB")));
}

TEST_F(RsProtocolTest, EnqNotAcknowledgedSendsNoFrame) {
    line->Expect(kEnqByte, Bytes({0x15}));
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(line->written, kEnqByte);

    line->written.clear();
    line->Expect(kEnqByte, QByteArray());  // silence: fails after the byte time limit
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_GE(clock.elapsed(), 490);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(line->written, kEnqByte);
}

TEST_F(RsProtocolTest, QueryReturnsReplyAndAcknowledgesIt) {
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), wire::Frame("QB12"));
    line->Expect(kAckByte, {});
    ASSERT_TRUE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_EQ(protocol->GetReply(), QStringLiteral("QB12"));
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("QB") + kAckByte);
    EXPECT_EQ(line->mismatchedWrites, 0);
}

TEST_F(RsProtocolTest, BadReplyFramesFailWithoutAck) {
    // Wrong BCC: the reply is not acknowledged and the previous reply text does not survive.
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), wire::Frame("QB"));
    line->Expect(kAckByte, {});
    ASSERT_TRUE(protocol->SendQuery(QStringLiteral("QB")));

    QByteArray corrupt = wire::Frame("QB12");
    corrupt[corrupt.size() - 1] = static_cast<char>(corrupt.at(corrupt.size() - 1) ^ 0x40);
    line->written.clear();
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), corrupt);
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_TRUE(protocol->GetReply().isEmpty());
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("QB"));

    // First byte not STX: fails at once, without waiting for the rest.
    line->written.clear();
    line->incoming.clear();
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), "X" + wire::Frame("QB12"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_LT(clock.elapsed(), 400);
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("QB"));
}

TEST_F(RsProtocolTest, ReplyLengthLimitIs254TextBytes) {
    const QByteArray longest(254, 'A');
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QA"), wire::Frame(longest));
    line->Expect(kAckByte, {});
    ASSERT_TRUE(protocol->SendQuery(QStringLiteral("QA")));
    EXPECT_EQ(protocol->GetReply().size(), 254);

    // 255 text bytes (ETX and BCC behind them): the frame is refused at the 255th byte.
    QByteArray tooLong = Bytes({0x02}) + QByteArray(255, 'A') + Bytes({0x03, 0x00});
    line->incoming.clear();
    line->written.clear();
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QA"), tooLong);
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QA")));
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("QA"));
}

TEST_F(RsProtocolTest, StaleInputIsDiscardedBeforeEnq) {
    line->incoming = "QB12" + wire::Frame("junk");
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CB"), kAckByte);
    EXPECT_TRUE(protocol->SendCommand(QStringLiteral("CB")));
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("CB"));
    EXPECT_TRUE(line->incoming.isEmpty());
}

TEST_F(RsProtocolTest, InputStillArrivingAfter500msFailsBeforeEnq) {
    // Noise that dies down within the limit is flushed and the exchange goes ahead.
    line->ChatterFor(200);
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CB"), kAckByte);
    EXPECT_TRUE(protocol->SendCommand(QStringLiteral("CB")));
    EXPECT_EQ(line->written, kEnqByte + wire::Frame("CB"));

    // A line that keeps talking gets no enquiry mixed into it.
    line->written.clear();
    line->ChatterFor(5000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_GE(clock.elapsed(), 490);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(line->written.isEmpty());
    EXPECT_TRUE(protocol->GetReply().isEmpty());
    EXPECT_EQ(protocol->Port().PortNo(), 1);  // a noisy line is no reason to give up the port
}

TEST_F(RsProtocolTest, OverlongCommandIsCutTo251Bytes) {
    const QString text(300, QLatin1Char('P'));
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame(QByteArray(251, 'P')), kAckByte);
    EXPECT_TRUE(protocol->SendCommand(text));
    EXPECT_EQ(line->mismatchedWrites, 0);
    EXPECT_EQ(line->written.size(), 1 + 251 + 3);
}

TEST_F(RsProtocolTest, VanishedDeviceClosesThePort) {
    line->Expect(kEnqByte, {});
    line->vanished = true;
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(protocol->Port().PortNo(), 0);
    EXPECT_FALSE(line->isOpen);
}

TEST(RsPortTest, ExchangesFailWithNoPortOpen) {
    FakeBus bus;
    auto line = bus.Add(kDev);
    CRsBasicProtocol protocol(bus.Access());
    EXPECT_FALSE(protocol.SendCommand(QStringLiteral("CA")));
    EXPECT_FALSE(protocol.SendQuery(QStringLiteral("QA")));
    EXPECT_TRUE(protocol.GetReply().isEmpty());
    EXPECT_TRUE(line->written.isEmpty());
}

TEST(RsPortTest, OpenPortRefusesNumbersOutsideTheRange) {
    FakeBus bus;
    for (int i = 0; i < 130; ++i) {
        bus.Add(QStringLiteral("/dev/fake%1").arg(i));
    }
    CRsPort port(bus.Access());
    EXPECT_FALSE(port.OpenPort(0));
    EXPECT_EQ(port.PortNo(), 0);
    EXPECT_FALSE(port.OpenPort(129));
    EXPECT_EQ(port.PortNo(), 0);
    EXPECT_TRUE(port.OpenPort(128));
    EXPECT_TRUE(port.OpenPort(2));  // the first one is closed on the way
    EXPECT_FALSE(bus.Line(QStringLiteral("/dev/fake127"))->isOpen);
    EXPECT_EQ(port.DeviceName(), QStringLiteral("/dev/fake1"));
    port.ClosePort();
    port.ClosePort();  // harmless twice
    EXPECT_EQ(port.PortNo(), 0);
    std::vector<int> ports;
    EXPECT_EQ(port.ListPorts(ports), 127);  // the scan never visits COM128
    EXPECT_EQ(ports.back(), 127);
}

TEST(RsPortTest, ListPortsTakesBusyPortsAndSkipsMissingOnes) {
    FakeBus bus;
    bus.Add(QStringLiteral("/dev/a"));
    bus.Add(QStringLiteral("/dev/b"))->present = false;
    bus.Add(QStringLiteral("/dev/c"))->busy = true;
    bus.Add(QStringLiteral("/dev/d"));
    CRsPort port(bus.Access());
    std::vector<int> ports;
    EXPECT_EQ(port.ListPorts(ports), 3);
    EXPECT_EQ(ports, (std::vector<int>{1, 3, 4}));
    EXPECT_FALSE(bus.Line(QStringLiteral("/dev/a"))->isOpen);  // probed and closed again
    EXPECT_FALSE(port.OpenPort(3));
}

}  // namespace
}  // namespace zeb::test

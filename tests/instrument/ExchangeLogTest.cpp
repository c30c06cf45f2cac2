// The communication log: what the framing layer reports for each way an exchange can end, and
// the bounded log with its text form.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ExchangeLog.h"
#include "FakeTransport.h"
#include "RsBasicProtocol.h"

namespace zeb::test {
namespace {

const QString kDev = QStringLiteral("/dev/fake0");

class ExchangeReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        line = bus.Add(kDev);
        protocol = std::make_unique<CRsBasicProtocol>(bus.Access());
        ASSERT_TRUE(protocol->Port().OpenPort(1));
        protocol->SetObserver(&log);
    }

    const ExchangeRecord& Last() const { return log.At(log.Count() - 1); }

    FakeBus bus;
    std::shared_ptr<FakeLine> line;
    std::unique_ptr<CRsBasicProtocol> protocol;
    CExchangeLog log;
};

TEST_F(ExchangeReportTest, AcknowledgedExchangesCarryCommandReplyAndTime) {
    const QDateTime before = QDateTime::currentDateTime();
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CA"), kAckByte);
    ASSERT_TRUE(protocol->SendCommand(QStringLiteral("CA")));
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), wire::Frame("QB12"));
    line->Expect(kAckByte, {});
    ASSERT_TRUE(protocol->SendQuery(QStringLiteral("QB")));

    ASSERT_EQ(log.Count(), 2);
    EXPECT_EQ(log.At(0).command, "CA");
    EXPECT_FALSE(log.At(0).query);
    EXPECT_TRUE(log.At(0).reply.isEmpty());
    EXPECT_EQ(log.At(0).outcome, ExchangeOutcome::Acknowledged);
    EXPECT_GE(log.At(0).time, before);
    EXPECT_LE(log.At(0).time, QDateTime::currentDateTime());
    EXPECT_EQ(log.At(1).command, "QB");
    EXPECT_TRUE(log.At(1).query);
    EXPECT_EQ(log.At(1).reply, "QB12");
    EXPECT_EQ(log.At(1).outcome, ExchangeOutcome::Acknowledged);
    // The caller's view of the exchange is unchanged by the observer.
    EXPECT_EQ(protocol->GetReply(), "QB12");
    EXPECT_EQ(line->mismatchedWrites, 0);
}

TEST_F(ExchangeReportTest, RefusalsShowWhatTheInstrumentSentInstead) {
    line->Expect(kEnqByte, Bytes({0x15}));  // NAK-like byte instead of ACK to the ENQ
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::NoAck);
    EXPECT_EQ(Last().reply, QString(QChar(0x15)));

    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CB"), "?");  // the command itself not acknowledged
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CB")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::NoAck);
    EXPECT_EQ(Last().reply, "?");

    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), "X" + wire::Frame("QB12"));  // garbage before STX
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::NoAck);
    EXPECT_EQ(Last().reply, "X");
    EXPECT_TRUE(protocol->GetReply().isEmpty());
}

TEST_F(ExchangeReportTest, BrokenReplyFrameIsBadBccWithItsText) {
    QByteArray corrupt = wire::Frame("QB12");
    corrupt[corrupt.size() - 1] = static_cast<char>(corrupt.at(corrupt.size() - 1) ^ 0x40);
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("QB"), corrupt);
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::BadBcc);
    EXPECT_EQ(Last().reply, "QB12");              // shown in the log ...
    EXPECT_TRUE(protocol->GetReply().isEmpty());  // ... never handed to the caller
}

TEST_F(ExchangeReportTest, SilenceIsATimeOutAndAVanishedDeviceALostLink) {
    line->Expect(kEnqByte, {});
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QR")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::Timeout);
    EXPECT_GE(Last().durationMs, 490);

    line->Expect(kEnqByte, {});
    line->vanished = true;
    EXPECT_FALSE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::LinkLost);

    // With the port closed nothing goes out, and the log still says why nothing happened.
    EXPECT_FALSE(protocol->SendQuery(QStringLiteral("QB")));
    EXPECT_EQ(Last().outcome, ExchangeOutcome::LinkLost);
    EXPECT_EQ(Last().command, "QB");
    EXPECT_EQ(log.Count(), 3);
}

TEST_F(ExchangeReportTest, NothingIsReportedOnceTheObserverIsDetached) {
    protocol->SetObserver(nullptr);
    line->Expect(kEnqByte, kAckByte);
    line->Expect(wire::Frame("CA"), kAckByte);
    EXPECT_TRUE(protocol->SendCommand(QStringLiteral("CA")));
    EXPECT_EQ(log.Count(), 0);
}

ExchangeRecord Record(const QString& command, ExchangeOutcome outcome = ExchangeOutcome::Timeout) {
    ExchangeRecord r;
    r.time = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89));
    r.command = command;
    r.outcome = outcome;
    return r;
}

TEST(ExchangeLogTest, KeepsOnlyTheNewestExchangesUpToItsCapacity) {
    CExchangeLog log(3);
    int told = 0;
    log.SetListener([&](const ExchangeRecord&) { ++told; });
    for (int i = 1; i <= 5; ++i) {
        log.OnExchange(Record(QString::number(i)));
    }
    ASSERT_EQ(log.Count(), 3);
    EXPECT_EQ(log.At(0).command, "3");
    EXPECT_EQ(log.At(2).command, "5");
    EXPECT_EQ(log.Dropped(), 2);
    EXPECT_EQ(told, 5);

    log.Clear();
    EXPECT_EQ(log.Count(), 0);
    EXPECT_EQ(log.Dropped(), 0);
    EXPECT_TRUE(log.TextLines().isEmpty());

    EXPECT_EQ(CExchangeLog().Capacity(), 10000);
    CExchangeLog tiny(0);
    tiny.OnExchange(Record("a"));
    tiny.OnExchange(Record("b"));
    ASSERT_EQ(tiny.Count(), 1);
    EXPECT_EQ(tiny.At(0).command, "b");
}

TEST(ExchangeLogTest, TextLineIsOneTabSeparatedLineWhateverTheBytes) {
    ExchangeRecord r = Record("QB", ExchangeOutcome::Acknowledged);
    r.reply = "QB12";
    EXPECT_EQ(ExchangeLine(r), "2026-03-04 05:06:07.089\tQB\tQB12\tacknowledged");

    r.outcome = ExchangeOutcome::BadBcc;
    r.reply = QString("a\tb\r\nc\\") + QChar(0x7F) + QChar(0xE9);
    EXPECT_EQ(ExchangeLine(r),
              QString("2026-03-04 05:06:07.089\tQB\ta\\x09b\\x0d\\x0ac\\x5c\\x7f") + QChar(0xE9) +
                  "\tbad BCC");

    EXPECT_EQ(OutcomeText(ExchangeOutcome::NoAck), "no ACK");
    EXPECT_EQ(OutcomeText(ExchangeOutcome::Timeout), "time-out");
    EXPECT_EQ(OutcomeText(ExchangeOutcome::LinkLost), "link lost");
}

TEST(ExchangeLogTest, SavesItsLinesAndLeavesTheOldFileOnFailure) {
    QTemporaryDir dir;
    CExchangeLog log;
    log.OnExchange(Record("CA", ExchangeOutcome::Acknowledged));
    log.OnExchange(Record("QB"));
    const QString path = dir.filePath("link.txt");
    QString error;
    ASSERT_TRUE(log.SaveAsText(path, error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), log.TextLines().join('\n') + '\n');
    file.close();

    EXPECT_FALSE(log.SaveAsText(dir.filePath("missing/link.txt"), error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    log.Clear();
    const bool saved = log.SaveAsText(path, error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!saved) {  // root may write anyway; otherwise the earlier log must be intact
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count('\n'), 2);
    }
}

}  // namespace
}  // namespace zeb::test

#include <gtest/gtest.h>

#include "EngineDriver.h"

namespace zebsim {
namespace {

using test::EngineDriver;

const QByteArray kEnqByte(1, kEnq);
const QByteArray kAckByte(1, kAck);

TEST(ProtocolEngine, CommandExchangeIsAcknowledgedTwiceAndLogged) {
    EngineDriver pc;
    EXPECT_EQ(pc.Send(kEnqByte), kAckByte);
    EXPECT_EQ(pc.Send(QByteArray("\x02\x43\x41\x03\x01", 5)), kAckByte);
    EXPECT_TRUE(pc.Engine().Idle());
    EXPECT_EQ(pc.Engine().CommandLog(), QStringList{"CA"});
}

TEST(ProtocolEngine, QueryIsAnsweredWithFrameAndWaitsForTheAck) {
    EngineDriver pc;
    pc.Send(kEnqByte);
    EXPECT_EQ(pc.Send(EncodeFrame("QR")), EncodeFrame("QR5"));
    EXPECT_FALSE(pc.Engine().Idle());
    EXPECT_TRUE(pc.Send(kAckByte).isEmpty());
    EXPECT_TRUE(pc.Engine().Idle());
}

TEST(ProtocolEngine, BadFramesAreNotAcknowledgedAndLinkRecovers) {
    EngineDriver pc;
    QByteArray frame = EncodeFrame("CC");
    frame[frame.size() - 1] = static_cast<char>(frame.back() ^ 0x10);
    pc.Send(kEnqByte);
    EXPECT_TRUE(pc.Send(frame).isEmpty());
    EXPECT_TRUE(pc.Engine().CommandLog().isEmpty());
    EXPECT_FALSE(pc.Engine().Instrument().LineOn());

    // Over-long text without ETX is dropped as well.
    pc.Send(kEnqByte);
    EXPECT_TRUE(pc.Send(kStx + QByteArray(kMaxFrameText + 5, 'P')).isEmpty());

    EXPECT_TRUE(pc.Command("CC"));
    EXPECT_TRUE(pc.Engine().Instrument().LineOn());
}

TEST(ProtocolEngine, BytesOutsideAnExchangeAreIgnored) {
    EngineDriver pc;
    // Noise and a whole frame sent without an enquiry first: nothing is answered or done.
    EXPECT_TRUE(pc.Send(QByteArray("xyz\x06\x03", 5) + EncodeFrame("CC")).isEmpty());
    EXPECT_TRUE(pc.Engine().CommandLog().isEmpty());
    // Noise between ACK and STX is skipped.
    EXPECT_EQ(pc.Send(kEnqByte), kAckByte);
    EXPECT_EQ(pc.Send("zz" + EncodeFrame("CC")), kAckByte);
    EXPECT_EQ(pc.Engine().CommandLog(), QStringList{"CC"});
}

TEST(ProtocolEngine, NewEnquiryOrLongSilenceAbandonsAnOpenExchange) {
    EngineDriver pc;
    pc.Send(kEnqByte);
    pc.Send(QByteArray("\x02QB", 3));  // the PC gives up in the middle of its frame
    EXPECT_EQ(pc.Send(kEnqByte), kAckByte);
    EXPECT_EQ(pc.Send(EncodeFrame("CD")), kAckByte);

    // A half frame followed by a long pause: the tail that finally comes is not taken as text.
    pc.Send(kEnqByte);
    pc.Send(QByteArray("\x02P", 2));
    pc.Advance(ProtocolEngine::kExchangeTimeoutMs + 1);
    EXPECT_TRUE(pc.Send(QByteArray("C1\x03", 3) + BlockCheck("PC1")).isEmpty());
    EXPECT_EQ(pc.Engine().CommandLog(), QStringList{"CD"});

    // The reply was never acknowledged; the next enquiry starts afresh.
    pc.Send(kEnqByte);
    pc.Send(EncodeFrame("QB"));
    EXPECT_EQ(pc.Query("QQ"), QByteArray("QQ0"));
}

TEST(ProtocolEngine, UnknownWellFormedTextsAreAccepted) {
    EngineDriver pc;
    EXPECT_TRUE(pc.Command("ZZ9"));
    EXPECT_TRUE(pc.Command(""));
    EXPECT_EQ(pc.Query("QZ"), QByteArray("QZ"));  // an unknown query echoes its mnemonic only
    EXPECT_EQ(pc.Engine().CommandLog(), (QStringList{"ZZ9", "", "QZ"}));
}

TEST(ProtocolEngine, IdentityAndMachineTypeReplies) {
    struct Case {
        Identity identity;
        const char* contains;
        const char* excludes;
    };
    const Case cases[] = {
        {Identity::FirstHardware, "BRAKMOOR, ZEB-M4", "BRAKMOOR, ZEB-M4-1"},
        {Identity::LaterHardware, "BRAKMOOR, ZEB-M4-1", "BRAKMOOR, ZEB-M5"},
        {Identity::Series50, "BRAKMOOR, ZEB-M5", "BRAKMOOR, ZEB-M4"},
        {Identity::Unrecognised, "", "BRAKMOOR, ZEB-M"},
    };
    for (const Case& c : cases) {
        SimOptions options;
        options.identity = c.identity;
        EngineDriver pc(options);
        const QByteArray reply = pc.Query("QA");
        EXPECT_TRUE(reply.startsWith("QA")) << reply.constData();
        EXPECT_TRUE(reply.contains(c.contains)) << reply.constData();
        EXPECT_FALSE(reply.contains(c.excludes)) << reply.constData();
    }

    SimOptions options;
    options.identityText = "SOMETHING ELSE";
    options.machineType = 12;
    EngineDriver pc(options);
    EXPECT_EQ(pc.Query("QA"), QByteArray("QASOMETHING ELSE"));
    EXPECT_EQ(pc.Query("QR"), QByteArray("QR<"));  // 12 travels as 0x30 + 12
}

TEST(ProtocolEngine, StatusProtectionAndCountersOnTheWire) {
    SimOptions options;
    options.limiter6kV = true;
    EngineDriver pc(options);
    EXPECT_EQ(pc.Query("QP"), QByteArray("QP8000"));
    EXPECT_TRUE(pc.Command("CC"));
    pc.Engine().Instrument().RaiseError(11, pc.Now());
    // Line on (0x10) and error (0x20): low nibble first.
    EXPECT_EQ(pc.Query("QB"), QByteArray("QB03"));
    EXPECT_EQ(pc.Query("QQ"), QByteArray("QQ11"));
    EXPECT_TRUE(pc.Command("PQ0"));
    EXPECT_EQ(pc.Query("QQ"), QByteArray("QQ0"));

    for (const char* command : {"PE3", "PF2", "PI4", "PN00", "PO0", "CA"}) {
        ASSERT_TRUE(pc.Command(command));
    }
    pc.Advance(InstrumentState::kPrepareMs + 1000);
    EXPECT_EQ(pc.Query("QB"), QByteArray("QB21"));  // running with the line on
    EXPECT_EQ(pc.Query("QE"), QByteArray("QE2"));
    EXPECT_EQ(pc.Query("QF"), QByteArray("QF0"));
    EXPECT_EQ(pc.Query("QO"), QByteArray("QO0"));
    EXPECT_EQ(pc.Query("QI"), QByteArray("QI4"));
}

// --- faults ---------------------------------------------------------------------------------

TEST(ProtocolEngineFaults, NoAckSwallowsOneEnquiryOnly) {
    EngineDriver pc;
    pc.Engine().InjectFault(Fault::NoAck);
    EXPECT_TRUE(pc.Send(kEnqByte).isEmpty());
    // The PC's frame after an unanswered enquiry is not taken either.
    EXPECT_TRUE(pc.Send(EncodeFrame("CC")).isEmpty());
    EXPECT_FALSE(pc.Engine().Instrument().LineOn());
    EXPECT_TRUE(pc.Command("CC"));
}

TEST(ProtocolEngineFaults, WrongCheckAndGarbageSpoilTheNextReplyFrameOnly) {
    EngineDriver pc;
    pc.Engine().InjectFault(Fault::WrongBcc);
    // A command exchange has no reply frame and is not affected.
    EXPECT_TRUE(pc.Command("CC"));
    EXPECT_EQ(pc.Query("QR"), QByteArray("<fail>"));
    EXPECT_EQ(pc.Query("QR"), QByteArray("QR5"));

    pc.Engine().InjectFault(Fault::GarbageBeforeStx);
    pc.Send(kEnqByte);
    const QByteArray reply = pc.Send(EncodeFrame("QR"));
    ASSERT_FALSE(reply.isEmpty());
    EXPECT_NE(reply.at(0), kStx);
    EXPECT_EQ(reply.mid(1), EncodeFrame("QR5"));
    EXPECT_EQ(pc.Query("QR"), QByteArray("QR5"));
}

TEST(ProtocolEngineFaults, SlowByteHoldsBackPartOfOneAnswer) {
    EngineDriver pc;
    pc.Engine().InjectFault(Fault::SlowByte);
    pc.Send(kEnqByte);
    EXPECT_EQ(pc.LastDelayMs(), 0);  // the enquiry itself is answered at once
    EXPECT_EQ(pc.Send(EncodeFrame("QR")), EncodeFrame("QR5"));
    EXPECT_GT(pc.LastDelayMs(), 500);
    pc.Send(kAckByte);

    EXPECT_EQ(pc.Query("QR"), QByteArray("QR5"));
    EXPECT_EQ(pc.LastDelayMs(), 0);

    // For a command it is the final ACK that comes late.
    pc.Engine().InjectFault(Fault::SlowByte);
    pc.Send(kEnqByte);
    EXPECT_EQ(pc.Send(EncodeFrame("CB")), kAckByte);
    EXPECT_GT(pc.LastDelayMs(), 500);
}

TEST(ProtocolEngineFaults, SilenceLastsUntilCleared) {
    EngineDriver pc;
    pc.Engine().InjectFault(Fault::Silence);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(pc.Command("CC"));
    }
    EXPECT_FALSE(pc.Engine().Instrument().LineOn());
    pc.Engine().ClearFaults();
    EXPECT_TRUE(pc.Command("CC"));
}

TEST(ProtocolEngineFaults, StaleBytesWaitForTheOpenExchangeToEnd) {
    EngineDriver pc;
    pc.Send(kEnqByte);
    pc.Engine().InjectFault(Fault::StaleBytes);
    EXPECT_TRUE(pc.Engine().TakeStaleBytes().isEmpty());  // not in the middle of an exchange
    pc.Send(EncodeFrame("CB"));
    const QByteArray stale = pc.Engine().TakeStaleBytes();
    EXPECT_FALSE(stale.isEmpty());
    EXPECT_TRUE(pc.Engine().TakeStaleBytes().isEmpty());  // once
    EXPECT_EQ(pc.Query("QR"), QByteArray("QR5"));

    // Right after a reply frame, before its ACK has come in, they may go too.
    pc.Send(kEnqByte);
    pc.Send(EncodeFrame("QR"));
    pc.Engine().InjectFault(Fault::StaleBytes);
    EXPECT_FALSE(pc.Engine().TakeStaleBytes().isEmpty());
}

TEST(ProtocolEngineFaults, ClearFaultsDropsPendingOneShots) {
    EngineDriver pc;
    for (Fault fault : {Fault::NoAck, Fault::WrongBcc, Fault::GarbageBeforeStx, Fault::SlowByte,
                        Fault::StaleBytes}) {
        pc.Engine().InjectFault(fault);
    }
    pc.Engine().ClearFaults();
    EXPECT_EQ(pc.Query("QR"), QByteArray("QR5"));
    EXPECT_EQ(pc.LastDelayMs(), 0);
    EXPECT_TRUE(pc.Engine().TakeStaleBytes().isEmpty());
}

}  // namespace
}  // namespace zebsim

// Parameter blocks of test steps and the settings check, through the fake instrument.

#include <gtest/gtest.h>

#include "FakeInstrument.h"
#include "LinkMessages.h"
#include "ScriptedMessageSink.h"
#include "SettingData.h"
#include "StepCommands.h"
#include "ZebM40Cntl.h"

namespace zeb::test {
namespace {

constexpr uint32_t kMainUnit = 5;
constexpr uint32_t kWithUnit = 0x400F;

CExecData AcStep(uint32_t machine) {
    CExecData s;
    s.m_ulMachineType = machine;
    s.m_nOutputPort = kPortAc;
    s.m_lVolt = 500;
    s.m_nPola = 1;
    s.m_lRept = 10;
    s.m_lDisc = 5;
    s.m_lAngle = 0;
    s.m_nWaveform = 0;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 12;
    s.m_nCoup = 0;
    s.m_nSync = 0;
    return s;
}

QStringList Block(const CExecData& step) {
    QStringList commands;
    EXPECT_TRUE(StepParameterCommands(step, commands));
    return commands;
}

TEST(StepCommandsTest, AcStepOnMainUnitAndWithCouplingUnit) {
    EXPECT_EQ(Block(AcStep(kMainUnit)), (QStringList{"PC1", "PD50", "PE10", "PF5", "PG0", "PH0",
                                                     "PI1", "PK3", "PN00", "PO0"}));
    EXPECT_EQ(Block(AcStep(kWithUnit)),
              (QStringList{"PC1", "PD50", "PE10", "PF5", "PG0", "PH0", "PK3", "PN00", "PO0"}));
    CExecData s = AcStep(kWithUnit);
    s.m_nInjRet = 17;  // L1+L2+L3 - N is not a line-to-PE pair
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("40"));
    s.m_nInjRet = 0;
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("40"));
    s.m_nInjRet = 11;  // the line-to-PE range is 12 to 19
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("40"));
    s.m_nInjRet = 19;
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("00"));
    s.m_nCoup = 2;
    s.m_nSync = 1;
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("70"));
}

TEST(StepCommandsTest, LineCodeTablesAndVoltageUnits) {
    // Line-to-PE pairs are listed after the others but coded within each injection line.
    EXPECT_EQ(AcLineCode(3), 4);
    EXPECT_EQ(AcLineCode(12), 3);
    EXPECT_EQ(AcLineCode(15), 15);
    EXPECT_EQ(AcLineCode(19), 19);
    EXPECT_EQ(AcLineCode(20), -1);
    EXPECT_EQ(AcLineCode(-1), -1);
    EXPECT_EQ(DcLineCode(1), 2);
    EXPECT_EQ(DcLineCode(2), 1);
    EXPECT_EQ(DcLineCode(4), -1);

    CExecData s = AcStep(kMainUnit);
    s.m_lVolt = 4155;
    s.m_nPola = 0;
    s.m_lAngle = -90;
    EXPECT_EQ(Block(s).mid(0, 5), (QStringList{"PC0", "PD415", "PE10", "PF5", "PG-90"}));
}

TEST(StepCommandsTest, DcTelecomAndSurgePorts) {
    CExecData dc = AcStep(kMainUnit);
    dc.m_nOutputPort = kPortDc;
    dc.m_nOutputDetail = 0;
    dc.m_nInjRet = 1;
    dc.m_nCoup = 1;
    dc.m_nSync = 1;  // no sync bit on DC
    EXPECT_EQ(Block(dc).mid(6), (QStringList{"PJ0", "PL2", "PN20", "PO1"}));
    dc.m_ulMachineType = kWithUnit;
    dc.m_nCoup = 0;
    EXPECT_EQ(Block(dc).mid(6), (QStringList{"PL2", "PN40", "PO1"}));
    dc.m_nInjRet = 3;
    EXPECT_EQ(Block(dc).mid(6), (QStringList{"PL3", "PN00", "PO1"}));

    CExecData tel = AcStep(kMainUnit);
    tel.m_nOutputPort = kPortTelecom;
    tel.m_nInjRet = 7;
    tel.m_nCoup = 2;
    tel.m_nOutputDetail = 1;
    tel.m_nSync = 1;
    EXPECT_EQ(Block(tel).mid(6), (QStringList{"PM7", "PN07", "PO3"}));
    tel.m_ulMachineType = kWithUnit;
    tel.m_nCoup = 1;
    tel.m_nOutputDetail = 0;
    EXPECT_EQ(Block(tel).mid(6), (QStringList{"PN02", "PO3"}));
    // The telecom port clears bits 0 to 2 of the first character only; the ring bit stays.
    tel.m_nWaveform = 2;
    tel.m_nRingRegi = 1;
    EXPECT_EQ(ModeCharacters(tel), QStringLiteral("82"));

    CExecData surge = AcStep(kMainUnit);
    surge.m_nOutputPort = kPortSurge;
    surge.m_nInjRet = 99;  // no line code is sent, so any value is harmless
    surge.m_nCoup = 2;
    surge.m_nSync = 1;
    EXPECT_EQ(Block(surge).mid(6), (QStringList{"PN00", "PO2"}));
    surge.m_nWaveform = 2;
    surge.m_nRingRegi = 1;
    EXPECT_EQ(Block(surge).mid(5), (QStringList{"PH2", "PN80", "PO2"}));
    surge.m_nRingRegi = 0;
    EXPECT_EQ(Block(surge).mid(6), (QStringList{"PN00", "PO2"}));
}

TEST(StepCommandsTest, AcSyncAndCouplingExample) {
    CExecData s = AcStep(kMainUnit);
    s.m_nCoup = 1;
    s.m_nSync = 1;
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("30"));
    s.m_nCoup = 5;  // unknown coupling sets no bits
    EXPECT_EQ(ModeCharacters(s), QStringLiteral("10"));
}

class StepSendTest : public ::testing::Test {
protected:
    void SetUp() override {
        line = bus.Add(QStringLiteral("/dev/m40"));
        inst.replies.insert(QStringLiteral("QA"), QStringLiteral("QABRAKMOOR, ZEB-M4"));
        inst.replies.insert(QStringLiteral("QR"), QStringLiteral("QR5"));
        inst.Serve(*line);
        ASSERT_TRUE(cntl.ConnectPort(1));
        inst.log.clear();
    }

    FakeBus bus;
    std::shared_ptr<FakeLine> line;
    FakeInstrument inst;
    CZebM40Cntl cntl{bus.Access()};
};

TEST_F(StepSendTest, BlockGoesOutAfterQaByteForByte) {
    line->written.clear();
    QStringList block;
    ASSERT_TRUE(cntl.SendStep(AcStep(kMainUnit), &block));
    EXPECT_EQ(block, inst.log.mid(1));
    EXPECT_EQ(inst.log, (QStringList{"QA", "PC1", "PD50", "PE10", "PF5", "PG0", "PH0", "PI1", "PK3",
                                     "PN00", "PO0"}));
    QByteArray want = kEnqByte + wire::Frame("QA") + kAckByte;
    for (const QString& c : inst.log.mid(1)) {
        want += kEnqByte + wire::Frame(c.toLatin1());
    }
    EXPECT_EQ(line->written, want);
}

TEST_F(StepSendTest, RefusedCommandStopsTheBlock) {
    inst.refused.insert(QStringLiteral("PE10"));
    EXPECT_FALSE(cntl.SendStep(AcStep(kMainUnit)));
    EXPECT_EQ(inst.log, (QStringList{"QA", "PC1", "PD50", "PE10"}));
}

TEST_F(StepSendTest, InvalidLineIndexOrDeadLinkSendsNoParameter) {
    CExecData s = AcStep(kMainUnit);
    s.m_nInjRet = 20;
    EXPECT_EQ(cntl.SendStep(s).status, CmdStatus::Refused);
    s.m_nOutputPort = kPortDc;
    s.m_nInjRet = 4;
    EXPECT_EQ(cntl.SendStep(s).status, CmdStatus::Refused);
    EXPECT_TRUE(inst.log.isEmpty());

    inst.replies.remove(QStringLiteral("QA"));
    inst.refused.insert(QStringLiteral("QA"));
    const CmdResult dead = cntl.SendStep(AcStep(kMainUnit));
    EXPECT_TRUE(dead.LinkFailed());
    EXPECT_EQ(inst.log, QStringList{"QA"});
}

TEST_F(StepSendTest, CheckSettingsAgainstTheInstrument) {
    ScriptedMessageSink sink;  // the check itself never shows anything
    const QString otherType =
        QStringLiteral("Could not open the file..\nThis file for ZEB-M40C3-ED3 / ZEB-M50C3.");
    const QString cannotExec = QStringLiteral("Could not exec. this test settings.");
    CSettingData record;
    record.m_ulMachineType = 5;
    SettingsCheck check = cntl.CheckSettings(record);
    EXPECT_TRUE(check.fits);
    EXPECT_TRUE(check.messages.isEmpty());

    record.m_ulMachineType = 13;
    check = cntl.CheckSettings(record);
    EXPECT_FALSE(check.fits);
    EXPECT_EQ(check.messages, QStringList{otherType});

    // Three-phase with PE needs hardware version 1; this instrument is version 0.
    record.m_ulMachineType = 5;
    record.m_outOutput.m_nOutputPort = kPortAc;
    record.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = 6;
    check = cntl.CheckSettings(record);
    EXPECT_FALSE(check.fits);
    EXPECT_EQ(check.messages, QStringList{cannotExec});
    // Both faults at once: both are told, the type first.
    record.m_ulMachineType = 13;
    EXPECT_EQ(cntl.CheckSettings(record).messages, (QStringList{otherType, cannotExec}));
    record.m_ulMachineType = 5;
    record.m_outOutput.m_nOutputPort = kPortDc;
    EXPECT_TRUE(cntl.CheckSettings(record));

    // "QR" unanswered: the type 5 is assumed.
    inst.replies.remove(QStringLiteral("QR"));
    inst.refused.insert(QStringLiteral("QR"));
    EXPECT_TRUE(cntl.CheckSettings(record));

    // The instrument stops answering: told once, the test may still go ahead.
    line->responder = nullptr;
    check = cntl.CheckSettings(record);
    EXPECT_TRUE(check.fits);
    EXPECT_EQ(check.messages, QStringList{"Could not connect to the ZEB-M40 / ZEB-M50."});
    EXPECT_TRUE(sink.Shown().empty());
}

TEST_F(StepSendTest, CouplingUnitRecordIsCheckedByTheGeneratorsModelNibble) {
    // "QR" reports only the generator's nibble; the coupling-unit bits cannot be reported, so a
    // coupling-unit record fits a generator whose nibble equals the record's low four bits.
    CSettingData record;
    record.m_ulMachineType = 0x400F;
    inst.replies.insert(QStringLiteral("QR"), QStringLiteral("QR?"));  // nibble 15
    EXPECT_TRUE(cntl.CheckSettings(record));
    record.m_ulMachineType = 0x400B;
    EXPECT_EQ(cntl.CheckSettings(record).messages,
              QStringList{"Could not open the file..\nThis file for ZEB-4170."});
    // A generator of another nibble is still refused.
    record.m_ulMachineType = 0x400F;
    inst.replies.insert(QStringLiteral("QR"), QStringLiteral("QR5"));
    EXPECT_EQ(cntl.CheckSettings(record).messages,
              QStringList{"Could not open the file..\nThis file for ZEB-4170+CDN."});
    // Without a coupling unit the whole code is compared: 0x15 is not 5.
    record.m_ulMachineType = 0x15;
    EXPECT_FALSE(cntl.CheckSettings(record));
}

TEST_F(StepSendTest, HardwareVersionOneMayRunThreePhaseWithPe) {
    // A second-series instrument identifies as hardware version 1.
    inst.replies.insert(QStringLiteral("QA"), QStringLiteral("QABRAKMOOR, ZEB-M5"));
    ASSERT_TRUE(cntl.ConnectPort(1));
    ASSERT_EQ(cntl.InstHWVersion(), 1);
    CSettingData record;
    record.m_ulMachineType = 5;
    record.m_outOutput.m_nOutputPort = kPortAc;
    record.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = 6;
    const SettingsCheck check = cntl.CheckSettings(record);
    EXPECT_TRUE(check.fits);
    EXPECT_TRUE(check.messages.isEmpty());
}

TEST_F(StepSendTest, StepOutsideWhatTheInstrumentAcceptsIsNeverSent) {
    CExecData s = AcStep(kMainUnit);
    s.m_lVolt = 2147483647;
    QStringList block{QStringLiteral("stale")};
    const CmdResult refused = cntl.SendStep(s, &block);
    EXPECT_EQ(refused.status, CmdStatus::Refused);
    EXPECT_EQ(refused.text,
              QStringLiteral("The voltage of the test step, 2147483.6 kV, is outside 0.0 kV to "
                             "15.0 kV.\nThe test step is not sent to the instrument."));
    EXPECT_TRUE(block.isEmpty());
    s = AcStep(kMainUnit);
    s.m_lDisc = -5;
    EXPECT_FALSE(cntl.SendStep(s));
    EXPECT_TRUE(inst.log.isEmpty());  // not even the "QA" that starts a block
    EXPECT_TRUE(cntl.SendStep(AcStep(kMainUnit)));
}

TEST(CheckSettingsTest, NoPortMeansNoCheck) {
    ScriptedMessageSink sink;
    FakeBus bus;
    CZebM40Cntl cntl(bus.Access());
    CSettingData record;
    record.m_ulMachineType = 13;
    const SettingsCheck check = cntl.CheckSettings(record);
    EXPECT_TRUE(check.fits);
    EXPECT_TRUE(check.messages.isEmpty());
}

}  // namespace
}  // namespace zeb::test

// Machine models, identification and the connection scan.

#include <gtest/gtest.h>

#include "FakeInstrument.h"
#include "PortTable.h"
#include "ReplyDecoders.h"
#include "ZebM40Cntl.h"

namespace zeb::test {
namespace {

TEST(MachineModelsTest, ModelNamesAndFallback) {
    QString name;
    for (quint32 code : {3u, 7u, 11u, 15u, 16u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(GetModelName(code, name)) << code;
        EXPECT_EQ(name, QStringLiteral("ZEB-M40?? / ZEB-M50??"));
    }
    EXPECT_TRUE(GetModelName(16395, name));
    EXPECT_EQ(name, QStringLiteral("ZEB-4170"));
    EXPECT_TRUE(GetModelName(13, name));
    EXPECT_EQ(name, QStringLiteral("ZEB-M40C3-ED3 / ZEB-M50C3"));
    EXPECT_TRUE(GetModelName(0, name));
    EXPECT_EQ(name, QStringLiteral("ZEB-M40A1A"));
}

TEST(MachineModelsTest, SelectionListRowsArePaddedTo28) {
    const auto rows = MachineSelectionList();
    ASSERT_EQ(rows.size(), 8u);
    const quint32 codes[] = {0, 8, 4, 12, 1, 9, 5, 13};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].text.size(), 28);
        EXPECT_EQ(rows[i].code, codes[i]);
    }
    EXPECT_EQ(rows[5].text, QStringLiteral("ZEB-M40C1-ED3  / ZEB-M50C1  "));
    EXPECT_EQ(rows[0].text.trimmed(), QStringLiteral("ZEB-M40A1A"));
}

TEST(MachineModelsTest, IdentificationIsContainmentLongestFirst) {
    EXPECT_EQ(IdentCodeOf(QStringLiteral("QAxx BRAKMOOR, ZEB-M4-1 V2.0")), 0x102);
    EXPECT_EQ(IdentCodeOf(QStringLiteral("QABRAKMOOR, ZEB-M4 V1")), 0x101);
    EXPECT_EQ(IdentCodeOf(QStringLiteral("BRAKMOOR, ZEB-M5")), 0x202);
    EXPECT_EQ(IdentCodeOf(QStringLiteral("QABRAKMOOR,ZEB-M4")), 0);
    EXPECT_EQ(IdentCodeOf(QStringLiteral("QAbrakmoor, zeb-m4")), 0);
    EXPECT_EQ(HardwareVersionOf(0x101), 0);
    EXPECT_EQ(HardwareVersionOf(0x102), 1);
    EXPECT_EQ(HardwareVersionOf(0x202), 1);
}

TEST(PortTableTest, DevicesOrderedByKindThenNumber) {
    const QStringList in = {"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS10", "/dev/rfcomm0",
                            "/dev/ttyS2",   "/dev/ttyUSB0", "/dev/ttyS0"};
    const QStringList want = {"/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS10", "/dev/ttyUSB0",
                              "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/rfcomm0"};
    EXPECT_EQ(OrderSerialDevices(in), want);
    EXPECT_EQ(ParsePortList(QStringLiteral("/dev/pts/3::/dev/pts/1")),
              (QStringList{"/dev/pts/3", "/dev/pts/1"}));
    // The scan stops at COM127, but COM128 still has its device for opening by number.
    QStringList many;
    for (int i = 1; i <= 130; ++i) {
        many << QStringLiteral("/dev/p%1").arg(i);
    }
    const QStringList table = ParsePortList(many.join(QLatin1Char(':')));
    ASSERT_EQ(table.size(), 128);
    EXPECT_EQ(table.last(), QStringLiteral("/dev/p128"));
}

// Controller over fake ports, each with its own small instrument.
class ControllerTest : public ::testing::Test {
protected:
    FakeInstrument& AddInstrument(const QString& device, const QString& identity) {
        auto line = bus.Add(device);
        instruments.push_back(std::make_unique<FakeInstrument>());
        FakeInstrument& inst = *instruments.back();
        inst.replies.insert(QStringLiteral("QA"), identity);
        inst.replies.insert(QStringLiteral("QR"), QStringLiteral("QR5"));
        inst.Serve(*line);
        return inst;
    }

    FakeBus bus;
    std::vector<std::unique_ptr<FakeInstrument>> instruments;
};

TEST_F(ControllerTest, ConnectSkipsSilentAndUnknownPortsAndTakesTheLowestInstrument) {
    bus.Add(QStringLiteral("/dev/silent"));  // no responder: times out
    AddInstrument(QStringLiteral("/dev/modem"), QStringLiteral("QAOTHER MAKER, MODEM"));
    AddInstrument(QStringLiteral("/dev/m50"), QStringLiteral("QABRAKMOOR, ZEB-M5 V3"));
    AddInstrument(QStringLiteral("/dev/m40"), QStringLiteral("QABRAKMOOR, ZEB-M4 V1"));
    CZebM40Cntl cntl(bus.Access());
    EXPECT_FALSE(cntl.IsConnected());
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.PortNo(), 3);
    EXPECT_EQ(cntl.IdentCode(), 0x202);
    EXPECT_EQ(cntl.InstHWVersion(), 1);
    EXPECT_FALSE(bus.Line(QStringLiteral("/dev/modem"))->isOpen);
    EXPECT_FALSE(bus.Line(QStringLiteral("/dev/silent"))->isOpen);
    EXPECT_EQ(bus.Line(QStringLiteral("/dev/m40"))->opens, 1);  // probed only, never asked
    EXPECT_TRUE(bus.Line(QStringLiteral("/dev/m40"))->written.isEmpty());
}

// Only devices the scan tried and could not open may be named to the operator: not a missing
// one, not one past the instrument, and nothing from an earlier scan.
TEST_F(ControllerTest, ScanNamesOnlyTheDevicesItCouldNotOpen) {
    bus.Add(QStringLiteral("/dev/ttyS0"))->busy = true;
    bus.Add(QStringLiteral("/dev/ttyS1"))->present = false;
    AddInstrument(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("QABRAKMOOR, ZEB-M4-1"));
    bus.Add(QStringLiteral("/dev/ttyUSB1"))->busy = true;
    CZebM40Cntl cntl(bus.Access());
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.UnopenedDevices(), QStringList{QStringLiteral("/dev/ttyS0")});
    EXPECT_FALSE(cntl.ConnectPort(4));
    EXPECT_EQ(cntl.UnopenedDevices(), QStringList{QStringLiteral("/dev/ttyUSB1")});
    EXPECT_FALSE(cntl.ConnectPort(2));
    EXPECT_TRUE(cntl.UnopenedDevices().isEmpty());
}

TEST_F(ControllerTest, ConnectWithoutInstrumentLeavesNothingOpen) {
    AddInstrument(QStringLiteral("/dev/modem"), QStringLiteral("QAOTHER"));
    CZebM40Cntl cntl(bus.Access());
    EXPECT_FALSE(cntl.Connect());
    EXPECT_FALSE(cntl.IsConnected());
    EXPECT_EQ(cntl.IdentCode(), 0);
}

TEST_F(ControllerTest, FirstHardwareHasVersionZeroAndReconnectResets) {
    AddInstrument(QStringLiteral("/dev/m40"), QStringLiteral("QABRAKMOOR, ZEB-M4"));
    CZebM40Cntl cntl(bus.Access());
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.IdentCode(), 0x101);
    EXPECT_EQ(cntl.InstHWVersion(), 0);
    // An unrecognised answer later keeps the last identification code.
    instruments[0]->replies[QStringLiteral("QA")] = QStringLiteral("QA?");
    QString reply;
    EXPECT_EQ(cntl.Identify(reply), 0);
    EXPECT_EQ(reply, QStringLiteral("QA?"));
    EXPECT_EQ(cntl.IdentCode(), 0x101);
    EXPECT_FALSE(cntl.Connect());
    EXPECT_EQ(cntl.IdentCode(), 0);
}

TEST_F(ControllerTest, MachineTypeIsLowNibbleAfterEcho) {
    FakeInstrument& inst =
        AddInstrument(QStringLiteral("/dev/m40"), QStringLiteral("QABRAKMOOR, ZEB-M4-1"));
    CZebM40Cntl cntl(bus.Access());
    ASSERT_TRUE(cntl.ConnectPort(1));
    quint32 type = 99;
    const std::pair<const char*, quint32> cases[] = {{"QR5", 5}, {"QR", 0}, {"QRD", 4}, {"Q", 0}};
    for (const auto& [reply, want] : cases) {
        inst.replies[QStringLiteral("QR")] = QString::fromLatin1(reply);
        EXPECT_TRUE(cntl.GetMachineType(type));
        EXPECT_EQ(type, want) << reply;
    }
    inst.replies.remove(QStringLiteral("QR"));
    inst.refused.insert(QStringLiteral("QR"));
    EXPECT_FALSE(cntl.GetMachineType(type));
    EXPECT_EQ(type, 0u);
}

}  // namespace
}  // namespace zeb::test

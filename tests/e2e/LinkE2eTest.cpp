// The serial link end to end: QSerialPort over pseudo-terminals served by the simulator.

#include <gtest/gtest.h>

#include <QThread>

#include "QtSerialTransport.h"
#include "SimFixture.h"

namespace zeb::test {
namespace {

using zebsim::Fault;
using zebsim::Identity;
using zebsim::SimOptions;

SimOptions WithIdentity(Identity identity, int machineType = 5) {
    SimOptions o;
    o.identity = identity;
    o.machineType = machineType;
    return o;
}

class LinkE2eTest : public SimFixture {};

TEST_F(LinkE2eTest, LowerPortNumberWinsBetweenTwoInstruments) {
    auto& m50 = AddSim(WithIdentity(Identity::Series50, 13));
    auto& m40 = AddSim(WithIdentity(Identity::FirstHardware, 5));
    CZebM40Cntl cntl(SerialAccess::System());
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.PortNo(), 1);
    EXPECT_EQ(cntl.DeviceName(), m50.DevicePath());
    EXPECT_EQ(cntl.IdentCode(), 0x202);
    EXPECT_EQ(cntl.InstHWVersion(), 1);
    quint32 type = 0;
    ASSERT_TRUE(cntl.GetMachineType(type));
    EXPECT_EQ(type, 13u);
    EXPECT_TRUE(m40.CommandLog().isEmpty());

    UsePorts({&m40, &m50});
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.DeviceName(), m40.DevicePath());
    EXPECT_EQ(cntl.IdentCode(), 0x101);
    EXPECT_EQ(cntl.InstHWVersion(), 0);
}

TEST_F(LinkE2eTest, UnrecognisedIdentityIsSkippedAndItsPortClosed) {
    auto& other = AddSim(WithIdentity(Identity::Unrecognised));
    auto& ours = AddSim(WithIdentity(Identity::LaterHardware));
    CZebM40Cntl cntl(SerialAccess::System());
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.PortNo(), 2);
    EXPECT_EQ(cntl.IdentCode(), 0x102);
    EXPECT_EQ(other.CommandLog(), QStringList{"QA"});
    EXPECT_EQ(ours.CommandLog(), QStringList{"QA"});
    // Closed: the device can be opened again by someone else.
    QtSerialTransport probe;
    EXPECT_EQ(probe.Open(other.DevicePath()), TransportOpen::Opened);
}

TEST_F(LinkE2eTest, EachFaultFailsOneExchangeInTimeAndTheNextSucceeds) {
    auto& sim = AddSim();
    CZebM40Cntl cntl(SerialAccess::System());
    ASSERT_TRUE(cntl.Connect());
    struct Case {
        Fault fault;
        qint64 limitMs;
    };
    // A missing byte costs at most 500 ms; a corrupt frame fails as soon as it is seen.
    const Case cases[] = {{Fault::NoAck, 700},
                          {Fault::WrongBcc, 300},
                          {Fault::GarbageBeforeStx, 300},
                          {Fault::Silence, 700},
                          {Fault::SlowByte, 700}};
    for (const Case& c : cases) {
        sim.InjectFault(c.fault);
        quint8 status = 0xFF;
        bool ok = true;
        const qint64 ms = TimeMs([&] { ok = cntl.GetStatus(status); });
        EXPECT_FALSE(ok) << static_cast<int>(c.fault);
        EXPECT_EQ(status, 0) << static_cast<int>(c.fault);
        EXPECT_LT(ms, c.limitMs) << static_cast<int>(c.fault);
        if (c.fault == Fault::NoAck || c.fault == Fault::Silence || c.fault == Fault::SlowByte) {
            EXPECT_GE(ms, 490) << static_cast<int>(c.fault);
        }
        sim.ClearFaults();
        EXPECT_TRUE(cntl.GetStatus(status)) << "after " << static_cast<int>(c.fault);
        EXPECT_TRUE(cntl.IsConnected());
    }
    // Stale bytes waiting before an exchange are flushed, so the exchange itself succeeds.
    sim.InjectFault(Fault::StaleBytes);
    QThread::msleep(50);
    QString reply;
    EXPECT_EQ(cntl.Identify(reply), 0x102);
    EXPECT_TRUE(reply.startsWith(QLatin1String("QA")));
}

TEST_F(LinkE2eTest, VanishedDeviceClosesThePortAndANewScanFindsAnother) {
    auto& first = AddSim();
    CZebM40Cntl cntl(SerialAccess::System());
    ASSERT_TRUE(cntl.Connect());
    first.Stop();
    quint8 status = 0;
    const qint64 ms = TimeMs([&] { EXPECT_FALSE(cntl.GetStatus(status)); });
    EXPECT_LT(ms, 700);
    EXPECT_FALSE(cntl.IsConnected());
    EXPECT_FALSE(cntl.StartTest());  // no port: fails at once

    AddSim(WithIdentity(Identity::Series50));
    UsePorts({sims.back().get()});
    ASSERT_TRUE(cntl.Connect());
    EXPECT_EQ(cntl.IdentCode(), 0x202);
    EXPECT_TRUE(cntl.GetStatus(status));
}

TEST_F(LinkE2eTest, NoInstrumentMeansNoPortOpen) {
    qputenv("ZEB_SERIAL_PORTS", "/dev/zeb-no-such-device");
    CZebM40Cntl cntl(SerialAccess::System());
    EXPECT_FALSE(cntl.Connect());
    EXPECT_FALSE(cntl.IsConnected());
}

}  // namespace
}  // namespace zeb::test

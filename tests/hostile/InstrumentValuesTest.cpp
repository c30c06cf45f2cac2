// What goes to the instrument: a step is checked value by value before its parameter block is
// sent, and text typed for the line cannot break the framing.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include "DocumentJson.h"
#include "SimFixture.h"
#include "StepCheck.h"
#include "ZebctlProcess.h"

namespace zeb::test {
namespace {

CExecData AcStep(uint32_t machine = 5) {
    CExecData s;
    s.m_ulMachineType = machine;
    s.m_nOutputPort = kPortAc;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 12;
    s.m_lVolt = 500;
    s.m_nPola = 1;
    s.m_lRept = 10;
    s.m_lDisc = 5;
    return s;
}

struct Case {
    const char* what;
    std::function<void(CExecData&)> change;
    bool accepted;
    const char* named;  // part of the message that names the value
};

TEST(StepValues, EveryValueIsCheckedAgainstWhatTheInstrumentAccepts) {
    const Case cases[] = {
        {"largest voltage",
         [](CExecData& s) {
             s.m_lVolt = 15000;
             s.m_lRept = 20;
         },
         true, ""},
        {"voltage overflowing", [](CExecData& s) { s.m_lVolt = 2147483647; }, false,
         "voltage of the test step, 2147483.6 kV, is outside 0.0 kV to 15.0 kV"},
        {"negative voltage", [](CExecData& s) { s.m_lVolt = -10; }, false, "voltage"},
        {"negative discharges", [](CExecData& s) { s.m_lDisc = -5; }, false,
         "number of discharges of the test step, -5, is outside 1 to 999"},
        {"1000 discharges", [](CExecData& s) { s.m_lDisc = 1000; }, false, "discharges"},
        {"999 discharges", [](CExecData& s) { s.m_lDisc = 999; }, true, ""},
        {"negative interval", [](CExecData& s) { s.m_lRept = -1; }, false,
         "interval of the test step, -1 s, is outside 10 s to 999 s"},
        // Above 6 kV the generator needs 20 s between discharges.
        {"short interval at 6.1 kV", [](CExecData& s) { s.m_lVolt = 6100; }, false,
         "outside 20 s to 999 s"},
        {"10/700 at 10 s",
         [](CExecData& s) {
             s.m_nOutputPort = kPortTelecom;
             s.m_nInjRet = 4;
             s.m_nWaveform = 1;
         },
         false, "15 s"},
        {"angle 360", [](CExecData& s) { s.m_lAngle = 360; }, true, ""},
        {"angle 361", [](CExecData& s) { s.m_lAngle = 361; }, false, "phase angle"},
        {"port 7", [](CExecData& s) { s.m_nOutputPort = 7; }, false,
         "output port code of the test step, 7, is not one the instrument knows"},
        {"AC line 20", [](CExecData& s) { s.m_nInjRet = 20; }, false, "INJ - RET line code"},
        {"AC configuration 7", [](CExecData& s) { s.m_nOutputDetail = 7; }, false, "output lines"},
        {"coupling 3", [](CExecData& s) { s.m_nCoup = 3; }, false, "coupling"},
        {"waveform -1", [](CExecData& s) { s.m_nWaveform = -1; }, false, "waveform"},
        {"ring impedance 2",
         [](CExecData& s) {
             s.m_ulMachineType = 6;
             s.m_nWaveform = 2;
             s.m_nRingRegi = 2;
         },
         false, "ring wave impedance"},
        {"polarity 2", [](CExecData& s) { s.m_nPola = 2; }, false, "polarity"},
        {"sync 2", [](CExecData& s) { s.m_nSync = 2; }, false, "sync"},
        {"varistor 5", [](CExecData& s) { s.m_bVaristorTestMode = 5; }, false, "varistor"},
        // Ports the machine does not have: type 5 has all four, a three-phase unit only AC.
        {"telecom on type 5",
         [](CExecData& s) {
             s.m_nOutputPort = kPortTelecom;
             s.m_nInjRet = 4;
             s.m_lRept = 15;
             s.m_nWaveform = 1;
         },
         true, ""},
        {"DC on a three-phase unit",
         [](CExecData& s) {
             s.m_ulMachineType = 0x400F;
             s.m_nOutputPort = kPortDc;
             s.m_nInjRet = 0;
         },
         false, "output port"},
        // The ring wave through a coupling unit may repeat every 5 s.
        {"ring at 5 s through a unit",
         [](CExecData& s) {
             s.m_ulMachineType = 0x400B;
             s.m_nWaveform = 2;
             s.m_lRept = 5;
             s.m_nInjRet = 0;
             s.m_nOutputDetail = 0;
         },
         true, ""},
        {"ring at 5 s on a main unit",
         [](CExecData& s) {
             s.m_ulMachineType = 6;
             s.m_nWaveform = 2;
             s.m_lRept = 5;
         },
         false, "10 s"},
        // Codes the instrument knows, but not on this machine or port: what the editor never
        // offers is refused as well.
        {"ring on a machine without it", [](CExecData& s) { s.m_nWaveform = 2; }, false,
         "The waveform of the test step, RING, is not offered on the AC LINE OUTPUT of this "
         "machine type."},
        {"10/700 on the AC port",
         [](CExecData& s) {
             s.m_nWaveform = 1;
             s.m_lRept = 15;
         },
         false, "waveform of the test step, 10/700"},
        {"three-phase configuration on a single-phase machine",
         [](CExecData& s) {
             s.m_ulMachineType = 1;
             s.m_nOutputDetail = 3;
             s.m_nInjRet = 0;
         },
         false, "output lines of the test step, THREE  PHASE L1, L2, L3, is not offered"},
        {"L1 - L3 on single phase L, N, PE", [](CExecData& s) { s.m_nInjRet = 1; }, false,
         "INJ - RET line of the test step, L1 - L3, is not offered"},
        {"L+N - PE on the telecom unit",
         [](CExecData& s) {
             s.m_ulMachineType = 0x400B;
             s.m_nInjRet = 16;
         },
         true, ""},
        {"L+N - PE on another type", [](CExecData& s) { s.m_nInjRet = 16; }, false, "L+N - PE"},
        {"sync on the DC port",
         [](CExecData& s) {
             s.m_nOutputPort = kPortDc;
             s.m_nInjRet = 2;
             s.m_nSync = 1;
         },
         false, "The sync of the test step, SYNC, is not offered on the DC LINE OUTPUT"},
        {"sync on the AC port", [](CExecData& s) { s.m_nSync = 1; }, true, ""},
        {"STANDARD resistor on a coupling unit's telecom output",
         [](CExecData& s) {
             s.m_ulMachineType = 0x1003;
             s.m_nOutputPort = kPortTelecom;
             s.m_nInjRet = 4;
             s.m_nWaveform = 1;
             s.m_lRept = 15;
         },
         false, "coupling of the test step, STANDARD, is not offered"},
        {"THREE PHASE L1, L2, L3, PE on a three-phase generator",
         [](CExecData& s) {
             s.m_nOutputDetail = 6;
             s.m_nInjRet = 14;
         },
         true, ""},
        // The telecom port of an edition-3 main unit stops at 6 kV.
        {"6.0 kV telecom on edition 3",
         [](CExecData& s) {
             s.m_ulMachineType = 0x9;
             s.m_nOutputPort = kPortTelecom;
             s.m_nInjRet = 4;
             s.m_nWaveform = 1;
             s.m_lRept = 15;
             s.m_lVolt = 6000;
         },
         true, ""},
        {"6.1 kV telecom on edition 3",
         [](CExecData& s) {
             s.m_ulMachineType = 0x9;
             s.m_nOutputPort = kPortTelecom;
             s.m_nInjRet = 4;
             s.m_nWaveform = 1;
             s.m_lRept = 30;
             s.m_lVolt = 6100;
         },
         false, "6.0 kV"},
    };
    for (const Case& c : cases) {
        CExecData step = AcStep();
        c.change(step);
        QString problem;
        EXPECT_EQ(CheckStepValues(step, problem), c.accepted) << c.what;
        EXPECT_TRUE(problem.contains(QLatin1String(c.named)))
            << c.what << ": " << problem.toStdString();
        if (!c.accepted) {
            EXPECT_TRUE(problem.endsWith("The test step is not sent to the instrument."));
        }
    }
}

class StepToTheInstrument : public SimFixture {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Document(const QString& name, const QByteArray& json) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
        return f.fileName();
    }
    std::map<QString, QString> Ports() const {
        return {{"ZEB_SERIAL_PORTS", qEnvironmentVariable("ZEB_SERIAL_PORTS")}};
    }
    QTemporaryDir dir;
};

TEST_F(StepToTheInstrument, StepOutsideTheLimitsIsNotSentAndIsBadInput) {
    auto& sim = AddSim();
    // Line 0 ("L  - N "): the step's default line 1 is not one of the single-phase L, N lines.
    const QString file = Document("wild.json", R"({"record": {"m_ulMachineType": 5}, "steps": [
        {"m_lVolt": 2147483647, "m_nInjRet": 0}, {"m_lDisc": -5, "m_nInjRet": 0},
        {"m_lRept": -1, "m_nInjRet": 0}, {"m_lVolt": 1000, "m_nInjRet": 0}]})");
    for (const char* n : {"1", "2", "3"}) {
        sim.ClearLog();
        const ToolRun r = Zebctl({"step", file, n}, Ports());
        EXPECT_EQ(r.exitCode, 2) << n;
        EXPECT_TRUE(r.err.contains("is outside")) << r.err.toStdString();
        EXPECT_TRUE(sim.CommandLog().isEmpty()) << sim.CommandLog().join(' ').toStdString();
    }
    const ToolRun good = Zebctl({"step", file, "4"}, Ports());
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
    EXPECT_TRUE(sim.CommandLog().contains("PD100"));
}

TEST_F(StepToTheInstrument, FileForAnotherMachineTypeIsBadInput) {
    zebsim::SimOptions options;
    options.machineType = 13;
    auto& sim = AddSim(options);
    const QString file = Document("type5.json", R"({"record": {"m_ulMachineType": 5}})");
    sim.ClearLog();
    const ToolRun r = Zebctl({"step", file, "1"}, Ports());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Could not open the file..")) << r.err.toStdString();
    EXPECT_FALSE(sim.CommandLog().contains("PO0"));
    // The settings file commands refuse it just the same when told the machine type.
    EXPECT_EQ(Zebctl({"dump", file, "--machine", "13"}).exitCode, 2);
}

TEST_F(StepToTheInstrument, LineTextsThatBreakTheFramingAreRefusedBeforeConnecting) {
    auto& sim = AddSim();
    for (const QString& text :
         {QStringLiteral("Q\x05"), QStringLiteral("P\x02Q0"), QStringLiteral("CA\x03"),
          QStringLiteral("PQ\n"), QStringLiteral("PQ\x7F"), QString::fromUtf8("PQ€")}) {
        sim.ClearLog();
        EXPECT_EQ(Zebctl({"send", text}, Ports()).exitCode, 2);
        EXPECT_EQ(Zebctl({"query", text}, Ports()).exitCode, 2);
        EXPECT_TRUE(sim.CommandLog().isEmpty());
    }
    const ToolRun help = Zebctl({"send", "--help"}, Ports());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: zebctl send")) << help.out.toStdString();
    EXPECT_FALSE(sim.CommandLog().contains("--help"));
    EXPECT_EQ(Zebctl({"send", "PQ0"}, Ports()).exitCode, 0);
    EXPECT_EQ(sim.CommandLog().last(), "PQ0");
}

}  // namespace
}  // namespace zeb::test

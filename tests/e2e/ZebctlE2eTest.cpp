// zebctl's link and instrument commands against a simulator, as a script in the lab uses them.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "SimFixture.h"

namespace zeb::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    QStringList out;
    QString err;
};

class ZebctlE2eTest : public SimFixture {
protected:
    ToolRun Zebctl(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEB_SERIAL_PORTS"), qEnvironmentVariable("ZEB_SERIAL_PORTS"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEBCTL_PATH), args);
        ToolRun r;
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput())
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
};

TEST_F(ZebctlE2eTest, ScanStatusQueryAndSend) {
    zebsim::SimOptions options;
    options.identity = zebsim::Identity::Series50;
    options.machineType = 13;
    options.limiter6kV = true;
    auto& sim = AddSim(options);
    qputenv("ZEB_SERIAL_PORTS", ("/dev/zeb-no-such-device:" + sim.DevicePath()).toLocal8Bit());

    const ToolRun ports = Zebctl({"ports"});
    EXPECT_EQ(ports.exitCode, 0);
    EXPECT_EQ(ports.out,
              (QStringList{"COM1\t/dev/zeb-no-such-device", "COM2\t" + sim.DevicePath()}));

    const ToolRun scan = Zebctl({"scan"});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out,
              (QStringList{"port=COM2", "device=" + sim.DevicePath(), "ident=0x202", "hwversion=1",
                           "machinetype=13", "model=ZEB-M40C3-ED3 / ZEB-M50C3"}));

    sim.RaiseError(5);
    const ToolRun status = Zebctl({"--port", "2", "status"});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_EQ(status.out,
              (QStringList{"status=0x20 error", "protect=0x0008", "error=5",
                           "message=Connection error\\nCheck AC/DC LINE OUTPUT terminals."}));

    const ToolRun query = Zebctl({"query", "QR"});
    EXPECT_EQ(query.exitCode, 0);
    EXPECT_EQ(query.out, QStringList{"QR="});  // 13 travels as the character 0x3D
    EXPECT_EQ(Zebctl({"send", "PQ0"}).exitCode, 0);

    // --trace shows each exchange on standard error, faults included; standard output is the
    // same as without it.
    const ToolRun traced = Zebctl({"--trace", "query", "QR"});
    EXPECT_EQ(traced.exitCode, 0);
    EXPECT_EQ(traced.out, QStringList{"QR="});
    EXPECT_TRUE(traced.err.contains(QStringLiteral("\tQA\t")) &&
                traced.err.contains(QStringLiteral("\tacknowledged")))
        << traced.err.toStdString();
    sim.InjectFault(zebsim::Fault::NoAck);
    const ToolRun noAck = Zebctl({"--trace", "--port", "2", "send", "CB"});
    EXPECT_EQ(noAck.exitCode, 1);
    EXPECT_TRUE(noAck.err.contains(QStringLiteral("\tQA\t\ttime-out"))) << noAck.err.toStdString();

    sim.InjectFault(zebsim::Fault::Silence);
    EXPECT_EQ(Zebctl({"scan"}).exitCode, 1);
    EXPECT_EQ(Zebctl({"--port", "1", "send", "CA"}).exitCode, 1);
    EXPECT_EQ(Zebctl({"--port", "x", "status"}).exitCode, 2);
    EXPECT_EQ(Zebctl({"query"}).exitCode, 2);
}

TEST_F(ZebctlE2eTest, StepSendsTheBlockOfTheChosenStep) {
    auto& sim = AddSim();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("two.json"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Two voltages give two steps; the second one is sent.
    f.write(R"({"record": {"m_ulMachineType": 5, "m_valVolt": {"m_nValueType": 2,
        "m_abUse": [1,1,0,0,0,0,0,0,0,0], "m_alValue": [500,1000,0,0,0,0,0,0,0,0]}}})");
    f.close();

    EXPECT_EQ(Zebctl({"step", file, "3"}).exitCode, 2);
    EXPECT_EQ(Zebctl({"step", dir.filePath(QStringLiteral("missing.zms")), "1"}).exitCode, 2);
    sim.ClearLog();
    const ToolRun run = Zebctl({"step", file, "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList log = sim.CommandLog();
    ASSERT_GE(log.size(), 3);
    EXPECT_TRUE(log.contains(QStringLiteral("PD100")));
    EXPECT_FALSE(log.contains(QStringLiteral("PD50")));
    EXPECT_EQ(log.last(), QStringLiteral("PO0"));
}

TEST_F(ZebctlE2eTest, StepOfACouplingUnitDocumentGoesToTheGeneratorOfItsNibble) {
    zebsim::SimOptions options;
    options.machineType = 15;  // the generator behind a ZEB-4170+CDN
    auto& sim = AddSim(options);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("cdn.json"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"record": {"m_ulMachineType": 16399, "m_nHWVersion": 1}})");
    f.close();
    sim.ClearLog();
    const ToolRun run = Zebctl({"step", file, "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(sim.CommandLog().filter(QStringLiteral("PD")).isEmpty());
}

}  // namespace
}  // namespace zeb::test

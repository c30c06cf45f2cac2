#pragma once
// A run sequencer on a fake instrument line: the test sets the status byte and the counters the
// instrument reports, fires the timers by hand and reads back the commands that were sent.

#include <gtest/gtest.h>

#include <QStringList>

#include "FakeInstrument.h"
#include "FakeTimerHost.h"
#include "FakeTransport.h"
#include "InstrumentStatus.h"
#include "RunSequencer.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "ZebM40Cntl.h"

namespace zeb::test {

constexpr quint32 kAcMachine = 5;

// An AC step the instrument accepts: line configuration 1, first injection-return pair.
inline CExecData AcStep(int32_t volts = 1000, int32_t disc = 2, int32_t rept = 10) {
    CExecData s;
    s.m_ulMachineType = kAcMachine;
    s.m_nOutputPort = kPortAc;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 0;
    s.m_lVolt = volts;
    s.m_nPola = 0;
    s.m_lDisc = disc;
    s.m_lRept = rept;
    return s;
}

class SequencerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        line = bus.Add(QStringLiteral("/dev/m40"));
        inst.replies[QStringLiteral("QA")] = QStringLiteral("QABRAKMOOR, ZEB-M4-1");
        inst.replies[QStringLiteral("QR")] = QStringLiteral("QR5");
        inst.replies[QStringLiteral("QQ")] = QStringLiteral("QQ0");
        inst.replies[QStringLiteral("QF")] = QStringLiteral("QF0");
        inst.replies[QStringLiteral("QE")] = QStringLiteral("QE10");
        Status(0);
        inst.Serve(*line);
        ASSERT_TRUE(cntl.ConnectPort(1));
        ASSERT_TRUE(doc.OnNewDocument(kAcMachine, 1));
        doc.Record().m_outOutput.m_nOutputPort = kPortAc;
        doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 0;
        doc.Steps() = {AcStep(1000), AcStep(2000)};
        doc.SetCurrentStep(0);
    }

    // What the instrument reports from now on.
    void Status(quint8 s) {
        inst.replies[QStringLiteral("QB")] =
            QStringLiteral("QB") + QChar('0' + (s & 0x0F)) + QChar('0' + (s >> 4));
    }
    void Counters(int done, int countdown) {
        inst.replies[QStringLiteral("QF")] = QStringLiteral("QF%1").arg(done);
        inst.replies[QStringLiteral("QE")] = QStringLiteral("QE%1").arg(countdown);
    }
    void Silence() { line->responder = nullptr; }
    void Speak() { inst.Serve(*line); }

    // Commands sent since the last call, without the queries; a parameter block (with the
    // "QA" that precedes it) shows as "STEP<volts in 10 V>".
    QStringList Sent() {
        QStringList out;
        for (const QString& t : inst.log) {
            if (t.startsWith(QLatin1Char('Q'))) {
                continue;
            }
            if (t.startsWith(QLatin1String("PD"))) {
                out << QStringLiteral("STEP") + t.mid(2);
            } else if (t.startsWith(QLatin1Char('P')) && t != QLatin1String("PQ0")) {
                continue;  // the rest of the block
            } else {
                out << t;
            }
        }
        inst.log.clear();
        return out;
    }

    // Opens the run and clears the log of the opening exchange.
    void OpenIdle() {
        ASSERT_TRUE(seq.Open());
        Sent();
    }
    // START answered with OK, from the idle state.
    void StartRun() {
        sink.Expect(QStringLiteral("Test starting."));
        seq.OnStart();
    }

    FakeBus bus;
    std::shared_ptr<FakeLine> line;
    FakeInstrument inst;
    CZebM40Cntl cntl{bus.Access()};
    CZebM40SettingsDoc doc;
    FakeTimerHost timers;
    ScriptedMessageSink sink;
    CRunSequencer seq{doc, cntl, timers};
};

}  // namespace zeb::test

// The run session fed seeded random sequences of what can happen during a run: operator actions
// and their answers, status bytes, counters, the monitor's verdicts and problems, commands the
// instrument does not acknowledge and a line that vanishes. After every event the rules that
// protect the EUT and the record must hold:
//   - "CA" only within a test started by START and OK, and never while the run holds;
//   - "CC" only right after OK on "The EUT LINE will turn ON.";
//   - no parameter block goes out while a started step has no result in the journal;
//   - the journal's chain is whole;
//   - what a window last rendered is the projection of the session's state (every change of
//     the panel is told), and it is the panel of the sequencer's facts;
//   - STOP is offered only while a test is under way, START only with the instrument ready
//     (never on a synchronised AC test with the line off), and a coupling unit never shows PAUSE.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>

#include <random>

#include "FakeEutMonitor.h"
#include "InstrumentRules.h"
#include "JournalReader.h"
#include "LinkMessages.h"
#include "MonitorGate.h"
#include "RsBasicProtocol.h"
#include "RunJournalObserver.h"
#include "RunSession.h"
#include "SequencerFixture.h"
#include "TestProperty.h"

namespace zeb::test {
namespace {

using namespace status;

constexpr int kSequences = 60;
constexpr int kEventsPerSequence = 200;

// Answers every question at random and remembers what the last answer allowed.
class RandomOperator : public IMessageSink {
public:
    explicit RandomOperator(std::mt19937& rng) : m_rng(rng) {}
    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon) override {
        if (buttons == MsgButtons::Ok) {
            return MsgAnswer::Ok;
        }
        if (buttons == MsgButtons::YesNoCancel) {
            return MsgAnswer::No;
        }
        const bool ok = std::uniform_int_distribution<int>(0, 3)(m_rng) != 0;
        if (text == linkmsg::ConfirmTestStart()) {
            startOk = ok;
        } else if (text == linkmsg::ConfirmLineOn()) {
            lineOnOk = ok;
        }
        return ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    bool startOk = false;   // the last "Test starting." was answered OK
    bool lineOnOk = false;  // OK on "The EUT LINE will turn ON." during the current event

private:
    std::mt19937& m_rng;
};

class RunSessionModelTest : public SequencerFixture {
protected:
    // The instrument's side of every frame: the rules are checked as each command arrives.
    QByteArray Serve(const QByteArray& data) {
        if (data.size() >= 3 && static_cast<quint8>(data.at(0)) == wire::kStx) {
            const QString text = QString::fromLatin1(data.mid(1, data.size() - 3));
            OnCommand(text);
            if (text == refuse) {
                inst.log << text;
                return QByteArray(1, '\x15');  // no ACK
            }
        }
        return inst.Answer(data);
    }

    void OnCommand(const QString& text) {
        const CRunSequencer& seq = session->Sequencer();
        if (text == QLatin1String("CA")) {
            EXPECT_NE(seq.Phase(), RunPhase::Holding) << Where();
            EXPECT_TRUE(op->startOk && seq.Outcome() == RunOutcome::None)
                << "CA outside a test started with START and OK " << Where();
        } else if (text == QLatin1String("CC")) {
            EXPECT_TRUE(lineOnAsked && op->lineOnOk) << "CC without LINE ON and OK " << Where();
        } else if (text.startsWith(QLatin1String("PD"))) {
            // Step n runs at n * 1000 V ("PD" in 10 V).
            const int step = text.mid(2).toInt() / 100;
            const int open = OpenStepInJournal();
            EXPECT_TRUE(open == 0 || open == step)
                << "step " << step << "'s block went out before step " << open << " had its result "
                << Where();
        }
    }

    // The step (from 1) of a step-start without its step-end (or the test's end) after it; 0
    // when there is none.
    int OpenStepInJournal() const {
        int open = 0;
        for (const QByteArray& line : journal->Lines()) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            const QString name = o.value(QLatin1String("event")).toString();
            if (name == QLatin1String("step-start")) {
                open = o.value(QLatin1String("step")).toInt();
            } else if (name == QLatin1String("step-end") || name == QLatin1String("run-end") ||
                       name == QLatin1String("close")) {
                open = 0;
            }
        }
        return open;
    }

    bool ChainWhole() const {
        QByteArray bytes = journal->Bytes();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return ReadJournal(buffer).IsWhole();
    }

    std::string Where() const {
        return "(seed " + std::to_string(seed) + ", event " + std::to_string(event) + ": " + what +
               ")";
    }

    quint8 RandomStatus() {
        static const quint8 kCommon[] = {0,
                                         kBusy,
                                         kRunning,
                                         kRunning | kBusy,
                                         kRunning | kPaused,
                                         kNormalEnd,
                                         kNormalEnd | kBusy,
                                         kError,
                                         kError | kNormalEnd,
                                         kLineOn,
                                         kRunning | kLineOn,
                                         kNormalEnd | kLineOn};
        if (Pick(20) == 0) {
            return static_cast<quint8>(Pick(256));
        }
        return kCommon[Pick(sizeof kCommon)];
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    // The panel's rules and its wiring, after each event.
    void CheckPanel() {
        const CRunSequencer& seq = session->Sequencer();
        const RunSessionState state = session->State();
        const RunView view = Project(state);
        EXPECT_TRUE(rendered == view) << "the panel changed without telling " << Where();
        RunSessionState fromFacts = state;
        fromFacts.panel = Panel(seq.Facts(), doc);
        EXPECT_TRUE(Project(fromFacts) == view) << Where();
        EXPECT_TRUE(!view.stopEnabled || TestUnderWay(state.phase))
            << "STOP offered outside a test " << Where();
        if (view.startEnabled && view.startAction == StartAction::Start &&
            !TestUnderWay(state.phase)) {
            const RunPhase p = state.phase;
            EXPECT_TRUE(p == RunPhase::Idle || p == RunPhase::Ending)
                << "START offered while the instrument is not ready " << Where();
            EXPECT_TRUE(!seq.SyncNeedsLine() || view.line == LineShown::On)
                << "START offered on a synchronised test with the line off " << Where();
        }
        if (HasCouplingUnit(doc.Record().m_ulMachineType)) {
            EXPECT_NE(view.startAction, StartAction::Pause) << Where();
        }
    }

    void RunSequence() {
        doc.Steps() = {AcStep(1000, 2), AcStep(2000, 3), AcStep(3000, 1)};
        doc.SetCurrentStep(0);
        // Some runs on a coupling unit (which cannot pause), some phase-synchronised.
        doc.Record().m_ulMachineType = Pick(3) == 0 ? kAcMachine | 0x1000 : kAcMachine;
        doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = Pick(3) == 0 ? 1 : 0;
        for (CExecData& s : doc.Steps()) {
            s.m_nResult = kResultNone;
            s.m_strComment.clear();
        }
        Speak();
        line->vanished = false;
        if (!cntl.IsConnected()) {
            ASSERT_TRUE(cntl.ConnectPort(1));
        }
        line->responder = [this](const QByteArray& data) { return Serve(data); };
        Status(0);
        journal = std::make_unique<CMemoryRunJournal>();
        RunSessionSettings settings;
        settings.journal = RunSessionSettings::Journal::None;
        session = std::make_unique<CRunSession>(doc, cntl, property, settings, &timers);
        session->UseJournal(*journal, RunOpenInfo(doc, property, cntl));
        auto fake = std::make_unique<FakeEutMonitor>();
        monitor = fake.get();
        MonitorGateOptions options;
        options.checkDuringStep = Pick(2) == 0;
        options.judgeAfterStep = Pick(4) != 0;
        options.everyMs = 1000;
        options.stopOnFail = Pick(2) == 0;
        session->SetMonitor(std::move(fake), options);
        // As a window would: every change renders the projection.
        rendered = RunView();
        session->SetStateListener([this] { rendered = Project(session->State()); });
        timers.armed = {};
        ASSERT_TRUE(session->Open());
        qint64 nowMs = 0;
        for (event = 0; event < kEventsPerSequence; ++event) {
            op->lineOnOk = false;
            lineOnAsked = false;
            refuse.clear();
            const int roll = Pick(100);
            CRunSequencer& seq = session->Sequencer();
            if (Pick(25) == 0) {
                static const char* kCommands[] = {"CA", "CB", "CC", "CD", "PQ0", "PD100"};
                refuse = QLatin1String(kCommands[Pick(6)]);
            }
            if (roll < 40) {
                Status(RandomStatus());
                Counters(Pick(4), Pick(11));
                const int poll = timers.ArmedPoll();
                what = "poll " + std::to_string(poll);
                if (poll >= 0) {
                    session->OnTimer(poll);
                }
            } else if (roll < 52) {
                what = "START";
                seq.OnStart();
            } else if (roll < 58) {
                what = "STOP";
                seq.OnStop();
            } else if (roll < 61) {
                what = "Esc";
                seq.OnEscape();
            } else if (roll < 65) {
                what = "LINE ON";
                lineOnAsked = true;
                seq.OnLineOn();
            } else if (roll < 68) {
                what = "LINE OFF";
                seq.OnLineOff();
            } else if (roll < 73) {
                what = "row";
                seq.OnRowSelected(Pick(3));
            } else if (roll < 88) {
                what = "verdict";
                if (monitor->Busy()) {
                    const int v = Pick(3);
                    if (v == 0) {
                        monitor->AnswerPass();
                    } else if (v == 1) {
                        monitor->AnswerFail(QStringLiteral("no answer"));
                    } else {
                        monitor->AnswerProblem(QStringLiteral("exit status 3"));
                    }
                }
            } else if (roll < 94) {
                what = "clock";
                nowMs += 400;
                if (CMonitorGate* gate = session->Gate()) {
                    gate->OnDuringTick(nowMs);
                }
            } else if (roll < 96) {
                what = "lamp";
                if (timers.IsArmed(runtimer::kLamp)) {
                    session->OnTimer(runtimer::kLamp);
                }
            } else {
                what = "line vanishes";
                line->vanished = true;
                Status(RandomStatus());
                const int poll = timers.ArmedPoll();
                if (poll >= 0) {
                    session->OnTimer(poll);
                }
                line->vanished = false;
            }
            ++events;
            CheckPanel();
            ASSERT_TRUE(ChainWhole()) << Where();
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
        session->Close();
        EXPECT_EQ(journal->EventNames().last(), "close") << Where();
        EXPECT_TRUE(ChainWhole()) << Where();
        session.reset();
    }

    CTestProperty property;
    std::mt19937 rng;
    std::unique_ptr<RandomOperator> op;
    std::unique_ptr<CMemoryRunJournal> journal;
    std::unique_ptr<CRunSession> session;
    FakeEutMonitor* monitor = nullptr;
    RunView rendered;  // what the state listener last rendered
    QString refuse;    // the command the instrument does not acknowledge during this event
    bool lineOnAsked = false;
    unsigned seed = 0;
    int event = 0;
    int events = 0;
    std::string what;
};

TEST_F(RunSessionModelTest, RandomRunsKeepTheRulesAfterEveryEvent) {
    for (seed = 1; seed <= kSequences; ++seed) {
        rng.seed(seed);
        op = std::make_unique<RandomOperator>(rng);
        ScopedMessageSink scope(op.get());
        RunSequence();
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GE(events, 10000);
}

}  // namespace
}  // namespace zeb::test

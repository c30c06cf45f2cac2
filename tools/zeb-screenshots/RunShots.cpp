// The run dialog idle, while the instrument prepares a discharge, running, paused and without
// an instrument, and the judgement dialog. The dialog's own timers are not let loose: the
// picture is taken after driving the sequencer's ticks by hand until it shows the state wanted.

#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QThread>

#include <cstdio>
#include <functional>

#include "ExecDlg.h"
#include "JudgeDlg.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"
#include "Shots.h"
#include "ZebM40App.h"
#include "ZebM40Cntl.h"

namespace zebshots {

namespace {

// Ticks the run poll (and the lamp) until `reached` holds or 5 s have passed.
bool TickUntil(zeb::CRunSequencer& seq, const std::function<bool()>& reached) {
    QElapsedTimer clock;
    clock.start();
    while (!reached()) {
        if (clock.elapsed() > 5000) {
            std::fprintf(stderr, "the run dialog did not reach the state wanted\n");
            return false;
        }
        QThread::msleep(50);
        seq.OnTimer(zeb::runtimer::kRunPoll);
    }
    return true;
}

// The lamp blinks; ticks it until it is lit for the picture.
void LightLamp(zeb::CRunSequencer& seq) {
    for (int i = 0; i < 2 && !seq.State().lampLit; ++i) {
        seq.OnTimer(zeb::runtimer::kLamp);
    }
}

void JudgedDocument(zeb::CZebM40SettingsDoc& doc) {
    MakeDocument(doc, kThreePhase, zeb::kPortAc, AcThreePhaseSweep);
    auto& steps = doc.Steps();
    steps[0].m_nResult = 2;
    steps[1].m_nResult = 1;
    steps[1].m_strComment =
        QStringLiteral("EUT restarted after the third discharge; it ran without a fault after.");
    steps[2].m_nResult = 2;
    doc.SetCurrentStep(3);
}

void ConnectedRun(ShotFolder& shots, zeb::CZebM40App& app) {
    zeb::CZebM40SettingsDoc doc;
    JudgedDocument(doc);
    app.TestProperty().m_tmTestDate = QDateTime::currentSecsSinceEpoch();
    zeb::CExecDlg dlg(doc, app.Cntl(), app.TestProperty(), zeb::RunSessionSettings::Load());
    if (!dlg.Begin()) {
        std::fprintf(stderr, "the run dialog did not open\n");
        return;
    }
    zeb::CRunSequencer& seq = dlg.Sequencer();
    dlg.show();
    seq.OnTimer(zeb::runtimer::kIdlePoll);
    shots.Save(dlg, QStringLiteral("run-idle"));

    // A phase-synchronised test needs the EUT line on before it starts.
    seq.OnLineOn();
    seq.OnTimer(zeb::runtimer::kIdlePoll);
    seq.OnStart();
    if (TickUntil(seq, [&] { return seq.State().processingVisible; })) {
        LightLamp(seq);
        shots.SaveAsIs(dlg, QStringLiteral("run-processing"));
    }
    if (TickUntil(seq, [&] {
            return !seq.State().processingVisible && seq.State().startEnabled &&
                   seq.State().startAction == zeb::StartAction::Pause;
        })) {
        LightLamp(seq);
        shots.SaveAsIs(dlg, QStringLiteral("run-running"));
    }
    seq.OnStart();  // pauses the running step
    if (TickUntil(seq, [&] { return seq.State().pauseVisible; })) {
        LightLamp(seq);
        shots.SaveAsIs(dlg, QStringLiteral("run-paused"));
    }
    seq.OnStop();
    seq.OnLineOff();
    dlg.hide();
    dlg.End();
}

void DisconnectedRun(ShotFolder& shots, zeb::CZebM40App& app) {
    const QByteArray ports = qgetenv("ZEB_SERIAL_PORTS");
    qputenv("ZEB_SERIAL_PORTS", "");
    zeb::CZebM40Cntl nothing;  // scans an empty port table: no instrument
    qputenv("ZEB_SERIAL_PORTS", ports);

    zeb::CZebM40SettingsDoc doc;
    JudgedDocument(doc);
    zeb::CExecDlg dlg(doc, nothing, app.TestProperty(), zeb::RunSessionSettings::Load());
    if (!dlg.Begin()) {
        std::fprintf(stderr, "the run dialog did not open\n");
        return;
    }
    dlg.show();
    dlg.Sequencer().OnTimer(zeb::runtimer::kIdlePoll);
    shots.Save(dlg, QStringLiteral("run-not-connected"));
    dlg.hide();
    dlg.End();
}

}  // namespace

void RunShots(ShotFolder& shots, zeb::CZebM40App& app) {
    ConnectedRun(shots, app);
    DisconnectedRun(shots, app);

    zeb::CJudgeDlg judge;
    judge.SetStep(3);
    zeb::FillJudgementCombo(judge.JudgementCombo(), 1);
    judge.CommentField()->setPlainText(
        QStringLiteral("Arc between L2 and PE at the third discharge.\nThe EUT restarted by "
                       "itself after 4 s and ran without a fault afterwards."));
    shots.Save(judge, QStringLiteral("dialog-judgement"));
}

}  // namespace zebshots

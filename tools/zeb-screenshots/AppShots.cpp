// The program started against the simulated instrument: the main window with two documents
// and the summary view of every output port.

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdio>

#include "ChildFrame.h"
#include "MainFrame.h"
#include "SettingsDoc.h"
#include "Shots.h"
#include "ZebM40App.h"
#include "ZebM40SettingsView.h"

namespace zebshots {

namespace {

bool WriteDocument(const QString& path, quint32 machineType, int port,
                   void (*adjust)(zeb::CSettingData&)) {
    zeb::CZebM40SettingsDoc doc;
    MakeDocument(doc, machineType, port, adjust);
    QDir().remove(path);
    QString error;
    if (!doc.SaveNewFile(path, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    return true;
}

void RingWave(zeb::CSettingData& r) {
    r.m_outOutput.m_aopOutputPort[zeb::kPortDc].m_nWaveform = 2;
}

// SINGLE PHASE L , N , PE with five voltages, each used NORMAL and COMMON: the longest rows.
void LongVoltageList(zeb::CSettingData& r) {
    r.m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nOutputDetail = 1;
    r.m_valVolt.m_nValueType = zeb::kValueVariable;
    r.m_valVolt.m_nVariableKind = 1;
    for (int i = 0; i < 5; ++i) {
        r.m_valVolt.m_abUse[i] = 1;
        r.m_valVolt.m_abUse2[i] = 1;
        r.m_valVolt.m_alValue[i] = 500 * (i + 1);
    }
}

void SummaryShots(ShotFolder& shots, zeb::CZebM40App& app) {
    struct Sample {
        int port;
        void (*adjust)(zeb::CSettingData&);
        const char* name;
    };
    const Sample samples[] = {
        {zeb::kPortAc, AcThreePhaseSweep, "summary-ac-line-output"},
        {zeb::kPortDc, RingWave, "summary-dc-line-output"},
        {zeb::kPortSurge, nullptr, "summary-surge-output"},
        {zeb::kPortTelecom, TelecomTest, "summary-telecom-line-output"},
        {zeb::kPortAc, LongVoltageList, "summary-long-voltage-list"},
    };
    for (const Sample& s : samples) {
        zeb::CZebM40SettingsDoc doc;
        MakeDocument(doc, s.port == zeb::kPortDc ? kRingLines : kThreePhase, s.port, s.adjust);
        zeb::CZebM40SettingsView view(doc, app.Cntl(), app.TestProperty());
        // Alone, the view has no document window around it: name it the way one would.
        view.setWindowTitle(QStringLiteral("%1.zms").arg(QLatin1String(s.name)));
        view.resize(760, 600);
        view.OnInitialUpdate();
        shots.Save(view, QString::fromLatin1(s.name));
    }
}

}  // namespace

void AppShots(ShotFolder& shots, const QString& workFolder) {
    const QDir work(workFolder);
    const QString acFile = work.filePath(QStringLiteral("AC three-phase sweep.zms"));
    const QString telFile = work.filePath(QStringLiteral("Telecom 10-700.zms"));
    if (!WriteDocument(acFile, kThreePhase, zeb::kPortAc, AcThreePhaseSweep) ||
        !WriteDocument(telFile, kThreePhase, zeb::kPortTelecom, TelecomTest)) {
        return;
    }

    zeb::AppEnvironment env;
    env.lockFolder = workFolder;
    env.recentFilesPath = work.filePath(QStringLiteral("recent.ini"));
    env.openingMs = 0;
    env.showWindows = false;
    env.select = [](quint32& type) {
        type = kThreePhase;
        return 1;
    };
    zeb::AppOptions options;
    options.file = acFile;
    zeb::CZebM40App app(options, env);
    if (!app.InitInstance()) {
        std::fprintf(stderr, "the program did not start\n");
        return;
    }
    zeb::CMainFrame* frame = app.MainFrame();
    frame->resize(1280, 860);
    frame->show();
    // The first document as it opens: its window fitted to the form.
    shots.Save(*frame, QStringLiteral("main-window-one-document"));
    frame->OpenFile(telFile);
    frame->MdiArea()->tileSubWindows();
    shots.Save(*frame, QStringLiteral("main-window-two-documents"));

    SummaryShots(shots, app);
    StandardShots(shots, app);
    DialogShots(shots, app);
    RunShots(shots, app);
    frame->hide();
    app.ExitInstance();
}

}  // namespace zebshots

#pragma once
// Shared pieces of the screenshot renderer: where the pictures go, how a window is rendered,
// and the sample test conditions the windows are shown with.

#include <QDir>
#include <QString>

#include "SettingData.h"

class QWidget;

namespace zeb {
class CTestProperty;
class CZebM40App;
class CZebM40SettingsDoc;
}  // namespace zeb

namespace zebshots {

// Machine types the pictures use: a three-phase model with telecom output (the simulated
// instrument), a single-phase one, an edition-3 one, one with the ring wave on its lines and the
// telecom coupling unit.
constexpr quint32 kThreePhase = 5;
constexpr quint32 kSinglePhase = 1;
constexpr quint32 kEdition3 = 13;
constexpr quint32 kRingLines = 6;  // a "B" model: its line outputs offer the ring wave too

class ShotFolder {
public:
    explicit ShotFolder(const QString& path);
    // Shows the window, lets it lay itself out and writes <name>.png. False when not written.
    bool Save(QWidget& window, const QString& name);
    // Writes what the window shows now, without processing events first (for windows whose
    // timers must not move the state between setting it up and the picture).
    bool SaveAsIs(QWidget& window, const QString& name);
    int Failures() const { return m_failures; }
    QString Path() const { return m_dir.path(); }

private:
    QDir m_dir;
    int m_failures = 0;
};

// Sample test conditions, each a fresh document of its machine type with the given output port.
// `adjust` receives the record before the steps are expanded from it.
void MakeDocument(zeb::CZebM40SettingsDoc& doc, quint32 machineType, int port,
                  void (*adjust)(zeb::CSettingData&) = nullptr);

// AC three-phase: a voltage sweep 0.5 to 2.0 kV, both polarities, four phase angles.
void AcThreePhaseSweep(zeb::CSettingData& r);
// Telecom: 1.0 and 2.0 kV in a variable list, 10/700 waveform.
void TelecomTest(zeb::CSettingData& r);

// The editor on each output page and each value page; needs no instrument.
void EditorShots(ShotFolder& shots);
// Everything that needs the program: the main window, the summary views, the small dialogs
// and the run dialog, with the program started against the simulated instrument. Settings
// files and the lock go to `workFolder`.
void AppShots(ShotFolder& shots, const QString& workFolder);
// Parts of AppShots, given the running program.
void DialogShots(ShotFolder& shots, zeb::CZebM40App& app);
// The issue window of the test report, and issued-6.pdf, a 6-step issued report.
void ReportShots(ShotFolder& shots, const zeb::CTestProperty& environment);
void RunShots(ShotFolder& shots, zeb::CZebM40App& app);
// The summary with a test standard, the question before a run that deviates from it.
void StandardShots(ShotFolder& shots, zeb::CZebM40App& app);

}  // namespace zebshots

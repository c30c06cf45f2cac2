// Test standards: the summary of a plan with findings and of one without, the question before
// a run of a plan that deviates from its standard, and the New from standard dialog.

#include <QComboBox>
#include <QMessageBox>

#include "MessageBoxSink.h"
#include "NewFromStandardDlg.h"
#include "SettingsDoc.h"
#include "Shots.h"
#include "StandardVerdict.h"
#include "ZebM40App.h"
#include "ZebM40SettingsView.h"

#include <QDoubleSpinBox>

namespace zebshots {

namespace {

const zeb::StandardRef kLevel3{QStringLiteral("iec61000-4-5-2005"), QStringLiteral("3"), 0};

// Single phase L, N, PE with every path to earth, synchronised at the four angles, both
// polarities, 0.5 to 2 kV: level 3 without findings.
void MeetsLevel3(zeb::CSettingData& r) {
    zeb::OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[zeb::kPortAc];
    ac.m_nOutputDetail = 1;
    ac.m_aulInjRetBit[1] = (1u << 0) | (1u << 12) | (1u << 13);
    ac.m_nSync = 1;
    r.m_valVolt.m_nValueType = zeb::kValueVariable;
    r.m_valVolt.m_nVariableKind = 0;
    const int32_t volts[] = {500, 1000, 2000};
    for (int i = 0; i < 3; ++i) {
        r.m_valVolt.m_abUse[i] = 1;
        r.m_valVolt.m_alValue[i] = volts[i];
    }
    r.m_ulPola = 3;
}

// The same with 4 pulses, a 90 s interval and no N - PE.
void Deviates(zeb::CSettingData& r) {
    MeetsLevel3(r);
    r.m_outOutput.m_aopOutputPort[zeb::kPortAc].m_aulInjRetBit[1] &= ~(1u << 13);
    r.m_lDisc = 4;
    r.m_lRept = 90;
}

void Summary(ShotFolder& shots, zeb::CZebM40App& app, void (*adjust)(zeb::CSettingData&),
             const char* name) {
    zeb::CZebM40SettingsDoc doc;
    MakeDocument(doc, kThreePhase, zeb::kPortAc, adjust);
    doc.SetStandard(kLevel3);
    zeb::CZebM40SettingsView view(doc, app.Cntl(), app.TestProperty());
    view.setWindowTitle(QStringLiteral("%1.zms").arg(QLatin1String(name)));
    view.resize(760, 640);
    view.OnInitialUpdate();
    shots.Save(view, QString::fromLatin1(name));
}

}  // namespace

void StandardShots(ShotFolder& shots, zeb::CZebM40App& app) {
    Summary(shots, app, Deviates, "summary-standard-findings");
    Summary(shots, app, MeetsLevel3, "summary-standard-meets");

    zeb::CZebM40SettingsDoc doc;
    MakeDocument(doc, kThreePhase, zeb::kPortAc, Deviates);
    doc.SetStandard(kLevel3);
    QMessageBox box;
    zeb::PrepareMessageBox(
        box, zeb::PreRunQuestion(zeb::EvaluateStandard(doc, zeb::InstalledProfiles())),
        zeb::MsgButtons::OkCancel, zeb::MsgIcon::Warning);
    shots.Save(box, QStringLiteral("message-standard-deviations"));

    // File > New from standard... on a three-phase generator with L1, L2, L3, N, PE, and on
    // an edition-3 telecom output asked for more voltage than it has.
    zeb::CNewFromStandardDlg plan(zeb::InstalledProfiles(), kThreePhase, 1);
    plan.ConfigurationCombo()->setCurrentIndex(plan.ConfigurationCombo()->findData(5));
    plan.LevelCombo()->setCurrentIndex(plan.LevelCombo()->findText(QStringLiteral("4")));
    shots.Save(plan, QStringLiteral("dialog-new-from-standard"));
    zeb::CNewFromStandardDlg ed3(zeb::InstalledProfiles(), kEdition3, 1);
    ed3.PortCombo()->setCurrentIndex(ed3.PortCombo()->findData(zeb::kPortTelecom));
    ed3.LevelCombo()->setCurrentIndex(ed3.LevelCombo()->findText(QStringLiteral("X")));
    ed3.VoltageSpin()->setValue(7.0);
    shots.Save(ed3, QStringLiteral("dialog-new-from-standard-refused"));
}

}  // namespace zebshots

// The plan's test standard in the windows: the summary's "Standard" row and its findings list,
// worked out without a window and then shown by the view.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "NewFromStandardDlg.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "ShippedProfiles.h"
#include "StandardVerdict.h"
#include "SummaryContent.h"
#include "TestProperty.h"
#include "ZebM40Cntl.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

const StandardRef kLevel1{QStringLiteral("iec61000-4-5-2005"), QStringLiteral("1"), 0};

// The shipped profile's own title (while a ShippedProfiles is alive).
QString Title() {
    return test::ShippedProfiles::Title(QStringLiteral("iec61000-4-5-2005"));
}

// A new document for a C3 generator, made to follow level 1 on the AC port: both polarities,
// synchronised at the four angles (L - N only, so no path to earth is asked for).
void FollowLevel1(CZebM40SettingsDoc& doc) {
    CSettingData r = doc.Record();
    r.m_ulPola = 3;
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    doc.ApplyRecord(r);
}

TEST(StandardSummary, NamesTheStandardAndListsFindingsOrSaysItIsMet) {
    test::ShippedProfiles profiles;
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    EXPECT_FALSE(MakeStandardSummary(EvaluateStandard(doc, InstalledProfiles())).row.visible);

    doc.SetStandard(kLevel1);
    StandardSummary s = MakeStandardSummary(EvaluateStandard(doc, InstalledProfiles()));
    EXPECT_TRUE(s.row.visible);
    EXPECT_EQ(s.row.caption, QStringLiteral("Standard"));
    EXPECT_EQ(s.row.value, Title() + QStringLiteral(", level 1"));
    ASSERT_EQ(s.lines.size(), 2);  // the new record: positive only, asynchronous
    EXPECT_TRUE(s.lines.at(0).startsWith(QStringLiteral("warning (polarities): ")));
    EXPECT_TRUE(s.lines.at(1).startsWith(QStringLiteral("warning (angles): ")));
    EXPECT_TRUE(s.lines.at(1).endsWith(QStringLiteral(" Step 1."))) << s.lines.at(1).toStdString();
    EXPECT_TRUE(s.citations.at(1).startsWith(QStringLiteral("for a.c. power ports")));
    EXPECT_TRUE(s.deviates);

    FollowLevel1(doc);
    s = MakeStandardSummary(EvaluateStandard(doc, InstalledProfiles()));
    EXPECT_EQ(s.lines,
              QStringList{QStringLiteral("Meets ") + Title() + QStringLiteral(", level 1")});
    EXPECT_FALSE(s.deviates);

    doc.SetStandard({QStringLiteral("iec61000-4-5-2005"), QStringLiteral("X"), 2500});
    EXPECT_EQ(MakeStandardSummary(EvaluateStandard(doc, InstalledProfiles())).row.value,
              Title() + QStringLiteral(", level X (2.5 kV)"));
    doc.SetStandard({QStringLiteral("gone"), QStringLiteral("2"), 0});
    s = MakeStandardSummary(EvaluateStandard(doc, InstalledProfiles()));
    EXPECT_EQ(s.row.value, QStringLiteral("gone, level 2"));
    EXPECT_TRUE(s.lines.at(0).contains(QStringLiteral("not installed")));
}

TEST(StandardSummary, TheViewShowsTheRowAndOneListItemPerFinding) {
    test::ShippedProfiles profiles;
    test::ScriptedMessageSink sink;
    static CZebM40Cntl cntl(SerialAccess{[] { return QStringList(); }, nullptr});
    CTestProperty property;
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    CZebM40SettingsView view(doc, cntl, property);
    view.OnInitialUpdate();
    EXPECT_TRUE(view.StandardValue()->isHidden());
    EXPECT_TRUE(view.FindingsList()->isHidden());

    doc.SetStandard(kLevel1);
    view.OnInitialUpdate();
    EXPECT_FALSE(view.StandardValue()->isHidden());
    EXPECT_EQ(view.StandardValue()->text(), Title() + QStringLiteral(", level 1"));
    EXPECT_EQ(view.StandardValue()->accessibleName(), QStringLiteral("Standard"));
    ASSERT_EQ(view.FindingsList()->count(), 2);
    EXPECT_TRUE(view.FindingsList()->item(0)->toolTip().startsWith(QStringLiteral("for a.c.")));
    EXPECT_FALSE(view.FindingsList()->accessibleName().isEmpty());

    FollowLevel1(doc);
    view.OnInitialUpdate();
    ASSERT_EQ(view.FindingsList()->count(), 1);
    EXPECT_EQ(view.FindingsList()->item(0)->text(),
              QStringLiteral("Meets ") + Title() + QStringLiteral(", level 1"));
}

TEST(NewFromStandardDlg, OffersWhatTheMachineHasAndTicksWhatTheRulesAskFor) {
    test::ShippedProfiles profiles;
    CNewFromStandardDlg dlg(InstalledProfiles(), 5, 1);
    EXPECT_EQ(dlg.ProfileCombo()->currentData().toString(), QStringLiteral("iec61000-4-5-2005"));
    EXPECT_EQ(dlg.PortCombo()->count(), 4);  // a C3 generator: AC, DC, surge and telecom
    EXPECT_EQ(dlg.LevelCombo()->count(), 5);
    EXPECT_FALSE(dlg.VoltageSpin()->isEnabled());
    EXPECT_FALSE(dlg.ProfileCombo()->accessibleName().isEmpty());

    dlg.ConfigurationCombo()->setCurrentIndex(dlg.ConfigurationCombo()->findData(1));
    ASSERT_EQ(dlg.PathBoxes().size(), 4u);  // L - N, N - L, L - PE, N - PE
    EXPECT_EQ(dlg.PathBoxes()[0]->text(), QStringLiteral("L - N"));
    EXPECT_FALSE(dlg.PathBoxes()[1]->isChecked()) << "the same pair the other way round";
    EXPECT_TRUE(dlg.PathBoxes()[2]->isChecked() && dlg.PathBoxes()[3]->isChecked());
    EXPECT_TRUE(dlg.OkButton()->isEnabled());
    EXPECT_EQ(dlg.Plan().record.m_outOutput.m_aopOutputPort[kPortAc].m_aulInjRetBit[1], 0x3001u);
    EXPECT_TRUE(dlg.NoteLabel()->text().endsWith(QStringLiteral("has no findings.")));

    // Taking a required path away is the operator's choice; the check will say so.
    dlg.PathBoxes()[3]->setChecked(false);
    EXPECT_TRUE(dlg.OkButton()->isEnabled());
    EXPECT_TRUE(dlg.NoteLabel()->text().endsWith(QStringLiteral("its check finds: paths.")));
    for (QCheckBox* box : dlg.PathBoxes()) {
        box->setChecked(false);
    }
    EXPECT_FALSE(dlg.OkButton()->isEnabled());

    // Level X takes its voltage; on the edition-3 telecom output 7 kV is beyond the machine.
    CNewFromStandardDlg ed3(InstalledProfiles(), 13, 1);
    ed3.PortCombo()->setCurrentIndex(ed3.PortCombo()->findData(kPortTelecom));
    ed3.LevelCombo()->setCurrentIndex(ed3.LevelCombo()->findText(QStringLiteral("X")));
    EXPECT_TRUE(ed3.VoltageSpin()->isEnabled());
    ed3.VoltageSpin()->setValue(7.0);
    EXPECT_FALSE(ed3.OkButton()->isEnabled());
    EXPECT_TRUE(ed3.NoteLabel()->text().contains(QStringLiteral("at most 6 kV")));
    ed3.VoltageSpin()->setValue(3.0);
    EXPECT_TRUE(ed3.OkButton()->isEnabled());
    EXPECT_EQ(ed3.Standard().voltage, 3000);
}

}  // namespace
}  // namespace zeb

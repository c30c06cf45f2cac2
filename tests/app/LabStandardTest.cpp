// The lab's default test standard: chosen in Setup > Options, stored in ZEB.ini, and given to
// new documents and to settings files that have no standard of their own.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "CurrentMachine.h"
#include "DocManager.h"
#include "LabStandard.h"
#include "PropertyDlg.h"
#include "RecentFiles.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "ShippedProfiles.h"
#include "TempConfigHome.h"
#include "TestProperty.h"

namespace zeb {
namespace {

TEST(LabStandard, OptionsStoreItAndNewAndPlainOpenedDocumentsTakeIt) {
    test::TempConfigHome config;
    test::ShippedProfiles profiles;
    EXPECT_FALSE(LabDefaultStandard().IsSet());

    CTestProperty property;
    {
        CPropertyDlg options(property);
        EXPECT_EQ(options.StandardCombo()->currentText(), QStringLiteral("(none)"));
        EXPECT_FALSE(options.LevelCombo()->isEnabled());
        options.StandardCombo()->setCurrentIndex(
            options.StandardCombo()->findData(QStringLiteral("iec61000-4-5-2005")));
        ASSERT_EQ(options.LevelCombo()->count(), 4);  // 1 to 4: level X is chosen per plan
        options.LevelCombo()->setCurrentIndex(2);
        options.accept();
    }
    const StandardRef lab{QStringLiteral("iec61000-4-5-2005"), QStringLiteral("3"), 0};
    EXPECT_EQ(LabDefaultStandard(), lab);
    {
        CPropertyDlg again(property);
        EXPECT_EQ(again.LevelCombo()->currentText(), QStringLiteral("3"));
    }

    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    CRecentFileList recent(settings);
    CurrentMachine machine{5, 1};
    CDocManager docs(machine, recent);
    EXPECT_EQ(docs.NewDocument()->Standard(), lab);

    // A file of its own standard keeps it; one without takes the lab's; one whose standard
    // file is damaged is told about and stays without.
    CZebM40SettingsDoc own;
    own.OnNewDocument(5, 1);
    const StandardRef x{QStringLiteral("lab-template"), QStringLiteral("X"), 3000};
    own.SetStandard(x);
    ASSERT_TRUE(own.OnSaveDocument(dir.filePath(QStringLiteral("own.zms"))));
    own.SetStandard(StandardRef());
    ASSERT_TRUE(own.OnSaveDocument(dir.filePath(QStringLiteral("plain.zms"))));
    ASSERT_TRUE(own.OnSaveDocument(dir.filePath(QStringLiteral("damaged.zms"))));
    QFile damaged(dir.filePath(QStringLiteral("damaged.zms.std")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{");
    damaged.close();
    EXPECT_EQ(docs.OpenDocument(dir.filePath(QStringLiteral("own.zms")))->Standard(), x);
    EXPECT_EQ(docs.OpenDocument(dir.filePath(QStringLiteral("plain.zms")))->Standard(), lab);
    test::ScriptedMessageSink sink;
    sink.ExpectAny();
    EXPECT_FALSE(
        docs.OpenDocument(dir.filePath(QStringLiteral("damaged.zms")))->Standard().IsSet());

    // "(none)" takes the default away again.
    CPropertyDlg none(property);
    none.StandardCombo()->setCurrentIndex(0);
    none.accept();
    EXPECT_FALSE(LabDefaultStandard().IsSet());
}

}  // namespace
}  // namespace zeb

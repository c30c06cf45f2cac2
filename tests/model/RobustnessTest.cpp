// Damaged settings files: every truncation and every single flipped byte of a valid file is
// handled without a crash or a leak (this suite also runs under the address and undefined
// behaviour sanitizers), every truncation is refused, and a refused file changes nothing.

#include <gtest/gtest.h>

#include "SettingsDoc.h"

namespace zeb {
namespace {

// A small valid file with two steps, so the step section is exercised too.
QByteArray ValidFile() {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    CSettingData rec = doc.Record();
    rec.m_ulPola = 3;
    doc.ApplyRecord(rec);
    return doc.Store();
}

TEST(Robustness, EveryTruncationIsRefused) {
    const QByteArray file = ValidFile();
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    const QByteArray before = doc.Store();
    for (qsizetype n = 0; n < file.size(); ++n) {
        QString error;
        const int code = doc.Load(file.left(n), 5u, 0, &error);
        ASSERT_NE(code, CZebM40SettingsDoc::kLoadOk) << "truncated at " << n;
        ASSERT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(doc.Store(), before);
    EXPECT_EQ(doc.Load(file, 5u, 0), CZebM40SettingsDoc::kLoadOk);
}

TEST(Robustness, EveryFlippedByteIsHandled) {
    const QByteArray file = ValidFile();
    int opened = 0;
    int refused = 0;
    for (qsizetype i = 0; i < file.size(); ++i) {
        QByteArray damaged = file;
        damaged[i] = static_cast<char>(~damaged[i]);
        CZebM40SettingsDoc doc;
        const int code = doc.Load(damaged, std::nullopt, 0);
        if (code == CZebM40SettingsDoc::kLoadOk) {
            ++opened;
            // Whatever was read can be shown and expanded without harm.
            for (CExecData& step : doc.Steps()) {
                for (int item = 1; item <= 15; ++item) {
                    step.GetItemText(item);
                }
            }
            for (int item = 1; item <= 15; ++item) {
                doc.Record().GetItemText(item);
            }
            if (doc.Record().StepCount() <= kMaxStepCount) {
                ExecDataList steps;
                doc.Record().ExpandSteps(steps);
            }
        } else {
            ++refused;
        }
    }
    // A flipped value byte opens with another value; a flipped length or marker does not.
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace zeb

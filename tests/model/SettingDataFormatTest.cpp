// The setting data section: element layout of version 1.0.5.0, round trip, and the reading of
// the five older versions.

#include <gtest/gtest.h>

#include "Archive.h"
#include "ArchiveElements.h"
#include "SettingData.h"
#include "SettingDataFormat.h"

namespace zeb {
namespace {

using test::Downgrade;
using test::Element;

// A record in which (nearly) every stored field holds its own value.
CSettingData Scrambled(uint32_t machineType) {
    CSettingData rec;
    rec.m_ulMachineType = machineType;
    rec.m_nHWVersion = 1;
    int32_t n = 100;
    auto fillValue = [&n](VALUE& v) {
        v.m_nValueType = 2;
        v.m_lValue = n++;
        v.m_lStart = n++;
        v.m_lEnd = n++;
        v.m_lStep = n++;
        v.m_nVariableKind = 1;
        for (int i = 0; i < kSlotCount; ++i) {
            v.m_abUse[i] = i % 2;
            v.m_abUse2[i] = (i / 2) % 2;
            v.m_alValue[i] = n++;
        }
    };
    rec.m_outOutput.m_nOutputPort = 2;
    for (OUTPUT_PORT& op : rec.m_outOutput.m_aopOutputPort) {
        op.m_nOutputDetail = n++;
        for (uint32_t& bits : op.m_aulInjRetBit) {
            bits = 0x80000000u + static_cast<uint32_t>(n++);
        }
        op.m_nCoup = n++;
        op.m_nWaveform = n++;
        op.m_nRingRegi = n++;
        op.m_nSync = n++;
        op.m_bVaristorTestMode = 1;
        fillValue(op.m_valAngle);
    }
    fillValue(rec.m_valVolt);
    rec.m_ulPola = 0x80000003u;
    rec.m_lDisc = n++;
    rec.m_lRept = n++;
    return rec;
}

QByteArray Section(const CSettingData& rec) {
    ArchiveWriter w;
    WriteSettingData(w, rec);
    return w.Bytes();
}

TEST(SectionLayout, Has1152ElementsInTheDocumentedOrder) {
    CSettingData rec;
    rec.m_ulMachineType = 5;
    rec.SetDefault();
    const std::vector<Element> e = test::SplitElements(Section(rec));
    ASSERT_EQ(e.size(), 1152u);
    EXPECT_EQ(e[0].text, QStringLiteral("### START SETTING DATA ###"));
    EXPECT_EQ(e[1].text, QStringLiteral("Setting Data Ver.1.0.5.0"));
    EXPECT_EQ(e[2].text, QStringLiteral("[m_ulMachineType]"));
    EXPECT_EQ(e[3].value, 5);
    EXPECT_EQ(e[4].text, QStringLiteral("[m_nHWVersion]"));
    EXPECT_EQ(e[6].text, QStringLiteral("@ START OUTPUT STRUCTURE @"));
    EXPECT_EQ(e[7].text, QStringLiteral("[m_outOutput.m_nOutputPort]"));
    EXPECT_EQ(e[9].text, QStringLiteral("@@ START OUTPUT_PORT STRUCTURE @@"));
    // Port blocks of 106 elements from element 10.
    EXPECT_EQ(e[10].text, QStringLiteral("@@ OUTPUT_PORT STRUCTURE ARRAY[0 / 9] @@"));
    EXPECT_EQ(e[10 + 3 * 106].text, QStringLiteral("@@ OUTPUT_PORT STRUCTURE ARRAY[3 / 9] @@"));
    EXPECT_EQ(e[10 + 3 * 106 + 1].text, QStringLiteral("[m_outOutput.m_aopOutputPort[3]]"));
    EXPECT_EQ(e[10 + 3 * 106 + 3].text, QStringLiteral("[m_aulInjRetBit[0]]"));
    const size_t k = 10 + 9 * 106;
    EXPECT_EQ(e[k + 21].text, QStringLiteral("[m_aulInjRetBit[9]]"));
    EXPECT_EQ(e[k + 23].text, QStringLiteral("[m_nCoup]"));
    EXPECT_EQ(e[k + 27].text, QStringLiteral("[m_nRingRegi]"));
    EXPECT_EQ(e[k + 29].text, QStringLiteral("[m_bVaristorTestMode]"));
    EXPECT_EQ(e[k + 31].text, QStringLiteral("[m_nSync]"));
    EXPECT_EQ(e[k + 33].text, QStringLiteral("@@@ START ANGLE VALUE STRUCTURE @@@"));
    EXPECT_EQ(e[k + 42].text, QStringLiteral("[m_lStep]"));
    EXPECT_FALSE(e[k + 44].isString);  // the variable kind, without a key line
    EXPECT_EQ(e[k + 45].text, QStringLiteral("[m_abUse[0]]"));
    EXPECT_EQ(e[k + 47].text, QStringLiteral("[m_abUse2[0]]"));
    EXPECT_EQ(e[k + 49].text, QStringLiteral("[m_alValue[0]]"));
    EXPECT_EQ(e[k + 103].text, QStringLiteral("[m_alValue[9]]"));
    EXPECT_EQ(e[k + 105].text, QStringLiteral("@@@ END ANGLE VALUE STRUCTURE @@@"));
    const size_t tail = 10 + 10 * 106;
    EXPECT_EQ(e[tail].text, QStringLiteral("@@ END OUTPUT_PORT STRUCTURE ARRAY @@"));
    EXPECT_EQ(e[tail + 2].text, QStringLiteral("@ START VOLT VALUE STRUCTURE @"));
    EXPECT_EQ(e[1145].text, QStringLiteral("[m_ulPola]"));
    EXPECT_EQ(e[1151].text, QStringLiteral("### END SETTING DATA ###"));
    EXPECT_EQ(e.size() - tail, 82u);
}

TEST(SectionRoundTrip, ReproducesEveryStoredFieldAndLeavesDescriptors) {
    const CSettingData original = Scrambled(0x400F);
    const QByteArray bytes = Section(original);
    ArchiveReader r(bytes);
    CSettingData back;
    back.m_vlVolt.m_lMax = 6000;
    EXPECT_EQ(ReadSettingData(r, back, 0x400F, 0), kSectionOk);
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_EQ(Section(back), bytes);
    EXPECT_EQ(back.m_outOutput.m_aopOutputPort[9].m_aulInjRetBit[9],
              original.m_outOutput.m_aopOutputPort[9].m_aulInjRetBit[9]);
    EXPECT_EQ(back.m_nHWVersion, 1);
    EXPECT_EQ(back.m_vlVolt.m_lMax, 6000);
}

TEST(SectionRead, OtherMachineIsReadCompletelyThenReported) {
    const QByteArray bytes = Section(Scrambled(13));
    ArchiveReader r(bytes);
    CSettingData back;
    EXPECT_EQ(ReadSettingData(r, back, 5, 0), kSectionOtherMachine);
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_EQ(back.m_ulMachineType, 13u);
    EXPECT_EQ(Section(back), bytes);
}

TEST(SectionRead, UnknownVersionReadsNothingFurther) {
    ArchiveWriter w;
    w.WriteString(QStringLiteral("### START SETTING DATA ###"));
    w.WriteString(QStringLiteral("Setting Data Ver.1.0.6.0"));
    w.WriteString(QStringLiteral("[m_ulMachineType]"));
    ArchiveReader r(w.Bytes());
    CSettingData back;
    EXPECT_EQ(ReadSettingData(r, back, 5, 0), kSectionVersionError);
    EXPECT_FALSE(r.Failed());
    EXPECT_GT(r.Remaining(), 0);
}

struct OldVersion {
    int version;
    bool machineStored;
    bool kindStored;
    bool varistorStored;
};

TEST(SectionRead, OlderVersions) {
    const OldVersion versions[] = {
        {1000, false, false, false}, {1010, false, true, false}, {1020, true, true, false},
        {1030, true, true, false},   {1040, true, true, true},
    };
    const CSettingData original = Scrambled(5);
    for (const OldVersion& v : versions) {
        SCOPED_TRACE(v.version);
        const QByteArray bytes = Downgrade(Section(original), v.version);
        ArchiveReader r(bytes);
        CSettingData back;
        back.m_valVolt.m_nVariableKind = 7;  // a version without kinds leaves them alone
        for (OUTPUT_PORT& op : back.m_outOutput.m_aopOutputPort) {
            op.m_valAngle.m_nVariableKind = 7;
            op.m_bVaristorTestMode = 1;
        }
        // Old versions without a machine type are taken as type 5.
        EXPECT_EQ(ReadSettingData(r, back, 5, 1), kSectionOk);
        EXPECT_FALSE(r.Failed());
        EXPECT_EQ(r.Remaining(), 0);
        EXPECT_EQ(back.m_ulMachineType, 5u);
        EXPECT_EQ(back.m_nHWVersion, 1);  // the connected one

        CSettingData expected = original;
        for (OUTPUT_PORT& op : expected.m_outOutput.m_aopOutputPort) {
            if (!v.varistorStored) {
                op.m_bVaristorTestMode = 0;
            }
            if (!v.kindStored) {
                op.m_valAngle.m_nVariableKind = 7;
            }
        }
        if (!v.kindStored) {
            expected.m_valVolt.m_nVariableKind = 7;
        }
        EXPECT_EQ(Section(back), Section(expected));
    }
    // On another machine a file without a machine type is refused; with one it is compared.
    for (int version : {1000, 1010, 1030}) {
        const QByteArray bytes = Downgrade(Section(Scrambled(13)), version);
        ArchiveReader r(bytes);
        CSettingData back;
        EXPECT_EQ(ReadSettingData(r, back, 13, 0),
                  version < 1020 ? kSectionOtherMachine : kSectionOk)
            << version;
    }
}

TEST(SectionRead, EndingEarlyFailsTheReader) {
    const QByteArray bytes = Section(Scrambled(5));
    ArchiveReader r(bytes.left(bytes.size() - 3));
    CSettingData back;
    ReadSettingData(r, back, 5, 0);
    EXPECT_TRUE(r.Failed());
}

}  // namespace
}  // namespace zeb

#include "SettingDataFormat.h"

#include "Archive.h"
#include "SettingData.h"

namespace zeb {

namespace {

// Version lines the reader accepts, oldest first, with their version numbers.
struct SectionVersion {
    const char* line;
    int version;
};
constexpr SectionVersion kVersions[] = {
    {"Setting Data Ver.1.0.0.0", 1000}, {"Setting Data Ver.1.0.1.0", 1010},
    {"Setting Data Ver.1.0.2.0", 1020}, {"Setting Data Ver.1.0.3.0", 1030},
    {"Setting Data Ver.1.0.4.0", 1040}, {"Setting Data Ver.1.0.5.0", 1050},
};
constexpr int kNewest = 1050;
// Files older than 1.0.2.0 were all made for this machine type.
constexpr uint32_t kOldFileMachineType = 5;

QString L1(const char* text) {
    return QString::fromLatin1(text);
}

void Key(ArchiveWriter& ar, const QString& key, int32_t value) {
    ar.WriteString(key);
    ar.WriteInt(value);
}

void WriteValue(ArchiveWriter& ar, const VALUE& val) {
    Key(ar, L1("[m_nValueType]"), val.m_nValueType);
    Key(ar, L1("[m_lValue]"), val.m_lValue);
    Key(ar, L1("[m_lStart]"), val.m_lStart);
    Key(ar, L1("[m_lEnd]"), val.m_lEnd);
    Key(ar, L1("[m_lStep]"), val.m_lStep);
    ar.WriteInt(val.m_nVariableKind);  // the one value without a key line
    for (int i = 0; i < kSlotCount; ++i) {
        Key(ar, QStringLiteral("[m_abUse[%1]]").arg(i), val.m_abUse[i]);
        Key(ar, QStringLiteral("[m_abUse2[%1]]").arg(i), val.m_abUse2[i]);
        Key(ar, QStringLiteral("[m_alValue[%1]]").arg(i), val.m_alValue[i]);
    }
}

void WritePort(ArchiveWriter& ar, int k, const OUTPUT_PORT& op) {
    ar.WriteString(
        QStringLiteral("@@ OUTPUT_PORT STRUCTURE ARRAY[%1 / %2] @@").arg(k).arg(kSlotCount - 1));
    Key(ar, QStringLiteral("[m_outOutput.m_aopOutputPort[%1]]").arg(k), op.m_nOutputDetail);
    for (int j = 0; j < kSlotCount; ++j) {
        ar.WriteString(QStringLiteral("[m_aulInjRetBit[%1]]").arg(j));
        ar.WriteUInt(op.m_aulInjRetBit[j]);
    }
    Key(ar, L1("[m_nCoup]"), op.m_nCoup);
    Key(ar, L1("[m_nWaveform]"), op.m_nWaveform);
    Key(ar, L1("[m_nRingRegi]"), op.m_nRingRegi);
    Key(ar, L1("[m_bVaristorTestMode]"), op.m_bVaristorTestMode);
    Key(ar, L1("[m_nSync]"), op.m_nSync);
    ar.WriteString(L1("@@@ START ANGLE VALUE STRUCTURE @@@"));
    WriteValue(ar, op.m_valAngle);
    ar.WriteString(L1("@@@ END ANGLE VALUE STRUCTURE @@@"));
}

// Key lines and markers are read and thrown away: only their position matters.
bool ReadKey(ArchiveReader& ar, int32_t& value) {
    return ar.SkipString() && ar.ReadInt(value);
}
bool ReadKey(ArchiveReader& ar, uint32_t& value) {
    return ar.SkipString() && ar.ReadUInt(value);
}

void ReadValue(ArchiveReader& ar, VALUE& val, int version) {
    ReadKey(ar, val.m_nValueType);
    ReadKey(ar, val.m_lValue);
    ReadKey(ar, val.m_lStart);
    ReadKey(ar, val.m_lEnd);
    ReadKey(ar, val.m_lStep);
    if (version >= 1010) {
        ar.ReadInt(val.m_nVariableKind);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        ReadKey(ar, val.m_abUse[i]);
        ReadKey(ar, val.m_abUse2[i]);
        ReadKey(ar, val.m_alValue[i]);
    }
}

void ReadPort(ArchiveReader& ar, OUTPUT_PORT& op, int version) {
    ar.SkipString();  // slot marker
    ReadKey(ar, op.m_nOutputDetail);
    for (uint32_t& bits : op.m_aulInjRetBit) {
        ReadKey(ar, bits);
    }
    ReadKey(ar, op.m_nCoup);
    ReadKey(ar, op.m_nWaveform);
    ReadKey(ar, op.m_nRingRegi);
    if (version >= 1040) {
        ReadKey(ar, op.m_bVaristorTestMode);
    } else {
        op.m_bVaristorTestMode = 0;
    }
    ReadKey(ar, op.m_nSync);
    ar.SkipString();
    ReadValue(ar, op.m_valAngle, version);
    ar.SkipString();
}

}  // namespace

void WriteSettingData(ArchiveWriter& ar, const CSettingData& rec) {
    ar.WriteString(L1("### START SETTING DATA ###"));
    ar.WriteString(L1(kVersions[5].line));
    ar.WriteString(L1("[m_ulMachineType]"));
    ar.WriteUInt(rec.m_ulMachineType);
    Key(ar, L1("[m_nHWVersion]"), rec.m_nHWVersion);
    ar.WriteString(L1("@ START OUTPUT STRUCTURE @"));
    Key(ar, L1("[m_outOutput.m_nOutputPort]"), rec.m_outOutput.m_nOutputPort);
    ar.WriteString(L1("@@ START OUTPUT_PORT STRUCTURE @@"));
    for (int k = 0; k < kSlotCount; ++k) {
        WritePort(ar, k, rec.m_outOutput.m_aopOutputPort[k]);
    }
    ar.WriteString(L1("@@ END OUTPUT_PORT STRUCTURE ARRAY @@"));
    ar.WriteString(L1("@ END OUTPUT STRUCTURE @"));
    ar.WriteString(L1("@ START VOLT VALUE STRUCTURE @"));
    WriteValue(ar, rec.m_valVolt);
    ar.WriteString(L1("@ END VOLT VALUE STRUCTURE @"));
    ar.WriteString(L1("[m_ulPola]"));
    ar.WriteUInt(rec.m_ulPola);
    Key(ar, L1("[m_lDisc]"), rec.m_lDisc);
    Key(ar, L1("[m_lRept]"), rec.m_lRept);
    ar.WriteString(L1("### END SETTING DATA ###"));
}

int ReadSettingData(ArchiveReader& ar, CSettingData& rec, uint32_t expectedMachine,
                    int32_t hwVersion) {
    QString line;
    ar.SkipString();  // start marker
    if (!ar.ReadString(line)) {
        return kSectionOk;  // the reader carries the failure
    }
    int version = 0;
    for (const SectionVersion& v : kVersions) {
        if (line == QLatin1String(v.line)) {
            version = v.version;
        }
    }
    if (version == 0) {
        return kSectionVersionError;
    }

    int result = kSectionOk;
    if (version >= 1020) {
        ReadKey(ar, rec.m_ulMachineType);
    } else {
        rec.m_ulMachineType = kOldFileMachineType;
    }
    if (rec.m_ulMachineType != expectedMachine) {
        result = kSectionOtherMachine;  // reported only after the whole file was read
    }
    if (version >= kNewest) {
        ReadKey(ar, rec.m_nHWVersion);
    } else {
        rec.m_nHWVersion = hwVersion;
    }

    ar.SkipString();  // output structure marker
    ReadKey(ar, rec.m_outOutput.m_nOutputPort);
    ar.SkipString();  // port array marker
    for (OUTPUT_PORT& op : rec.m_outOutput.m_aopOutputPort) {
        ReadPort(ar, op, version);
    }
    ar.SkipString();
    ar.SkipString();
    ar.SkipString();  // volt start marker
    ReadValue(ar, rec.m_valVolt, version);
    ar.SkipString();
    ReadKey(ar, rec.m_ulPola);
    ReadKey(ar, rec.m_lDisc);
    ReadKey(ar, rec.m_lRept);
    ar.SkipString();  // end marker
    return result;
}

}  // namespace zeb

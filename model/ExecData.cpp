#include "ExecData.h"

#include "Archive.h"
#include "SettingData.h"

namespace zeb {

namespace {
const char kExecVersion1000[] = "Exec Data Ver.1.0.0.0";
const char kExecVersion1010[] = "Exec Data Ver.1.0.1.0";

void WriteKey(ArchiveWriter& ar, const char* key, int32_t value) {
    ar.WriteString(QString::fromLatin1(key));
    ar.WriteInt(value);
}

// Key lines are not compared: the order of the elements alone decides what is read.
bool ReadKey(ArchiveReader& ar, int32_t& value) {
    return ar.SkipString() && ar.ReadInt(value);
}
}  // namespace

void CExecData::Write(ArchiveWriter& ar) const {
    ar.WriteString(QString::fromLatin1(kExecVersion1010));
    WriteKey(ar, "[m_nOutputPort]", m_nOutputPort);
    WriteKey(ar, "[m_nOutputDetail]", m_nOutputDetail);
    WriteKey(ar, "[m_nInjRet]", m_nInjRet);
    WriteKey(ar, "[m_nCoup]", m_nCoup);
    WriteKey(ar, "[m_nWaveform]", m_nWaveform);
    WriteKey(ar, "[m_nRingRegi]", m_nRingRegi);
    WriteKey(ar, "[m_bVaristorTestMode]", m_bVaristorTestMode);
    WriteKey(ar, "[m_nSync]", m_nSync);
    WriteKey(ar, "[m_lAngle]", m_lAngle);
    WriteKey(ar, "[m_lVolt]", m_lVolt);
    WriteKey(ar, "[m_nPola]", m_nPola);
    WriteKey(ar, "[m_lDisc]", m_lDisc);
    WriteKey(ar, "[m_lRept]", m_lRept);
}

int CExecData::Read(ArchiveReader& ar) {
    QString version;
    if (!ar.ReadString(version)) {
        return kReadOk;  // the reader carries the failure
    }
    int v = 0;
    if (version == QLatin1String(kExecVersion1000)) {
        v = 1000;
    } else if (version == QLatin1String(kExecVersion1010)) {
        v = 1010;
    } else {
        return kReadVersionError;
    }
    ReadKey(ar, m_nOutputPort);
    ReadKey(ar, m_nOutputDetail);
    ReadKey(ar, m_nInjRet);
    ReadKey(ar, m_nCoup);
    ReadKey(ar, m_nWaveform);
    ReadKey(ar, m_nRingRegi);
    if (v >= 1010) {
        ReadKey(ar, m_bVaristorTestMode);
    } else {
        m_bVaristorTestMode = 0;
    }
    ReadKey(ar, m_nSync);
    ReadKey(ar, m_lAngle);
    ReadKey(ar, m_lVolt);
    ReadKey(ar, m_nPola);
    ReadKey(ar, m_lDisc);
    ReadKey(ar, m_lRept);
    return kReadOk;
}

int32_t CExecData::MinInterval() const {
    return StepIntervalMinimum(m_ulMachineType, m_nWaveform, m_lVolt);
}

bool CExecData::operator==(const CExecData& o) const {
    return m_ulMachineType == o.m_ulMachineType && m_nOutputPort == o.m_nOutputPort &&
           m_nOutputDetail == o.m_nOutputDetail && m_nInjRet == o.m_nInjRet &&
           m_nCoup == o.m_nCoup && m_nWaveform == o.m_nWaveform && m_nRingRegi == o.m_nRingRegi &&
           m_bVaristorTestMode == o.m_bVaristorTestMode && m_nSync == o.m_nSync &&
           m_lAngle == o.m_lAngle && m_lVolt == o.m_lVolt && m_nPola == o.m_nPola &&
           m_lDisc == o.m_lDisc && m_lRept == o.m_lRept && m_nResult == o.m_nResult &&
           m_strComment == o.m_strComment;
}

}  // namespace zeb

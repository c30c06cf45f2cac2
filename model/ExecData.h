#pragma once
// One test step: a single combination of port, line configuration, injection-return line,
// coupling, waveform, impedance, synchronisation, angle, voltage and polarity, with discharge
// count and interval, plus the operator's judgement and comment.

#include <QString>

#include <cstdint>

namespace zeb {

class ArchiveReader;
class ArchiveWriter;

// Judgement codes of a step.
enum ResultCode { kResultNone = 0, kResultFail = 1, kResultPass = 2 };

class CExecData {
public:
    // Codes returned by Read.
    enum { kReadOk = 0, kReadVersionError = 2 };

    // Writes the step's 27 elements (version 1.0.1.0). Machine type, result and comment are
    // not part of the file.
    void Write(ArchiveWriter& ar) const;
    // Reads one step entry (versions 1.0.0.0 and 1.0.1.0). Returns kReadVersionError for any
    // other version line, with nothing read after it. A truncated entry leaves ar failed.
    int Read(ArchiveReader& ar);

    // Smallest interval (seconds) the instrument accepts for this step.
    int32_t MinInterval() const;

    // Captions and texts of the fifteen display items (see ItemText.cpp). GetItemText puts an
    // out-of-range code back to its default in the step itself, so a later save stores it.
    QString GetItemCaption(int item) const;
    QString GetItemText(int item);

    // Equality of every field, result and comment included.
    bool operator==(const CExecData& other) const;
    bool operator!=(const CExecData& other) const { return !(*this == other); }

    uint32_t m_ulMachineType = 0xFFFFFFFFu;
    int32_t m_nOutputPort = 0;
    int32_t m_nOutputDetail = 0;
    int32_t m_nInjRet = 1;  // bit number in the port's line table
    int32_t m_nCoup = 0;
    int32_t m_nWaveform = 0;
    int32_t m_nRingRegi = 0;
    int32_t m_bVaristorTestMode = 0;
    int32_t m_nSync = 0;
    int32_t m_lAngle = 0;
    int32_t m_lVolt = 500;
    int32_t m_nPola = 1;  // 0 positive, 1 negative
    int32_t m_lDisc = 5;
    int32_t m_lRept = 10;
    int32_t m_nResult = kResultNone;
    QString m_strComment;
};

}  // namespace zeb

#pragma once
// One test step: a single combination of port, line configuration, injection-return line,
// coupling, waveform, impedance, synchronisation, angle, voltage and polarity, with discharge
// count and interval, plus the operator's judgement and comment.

#include <QString>

#include <cstdint>

namespace zeb {

class ArchiveReader;
class ArchiveWriter;

// The fifteen display items of a test step or a whole test condition. The step lists, the
// summary view, the run panel and the reports pick theirs by these names.
enum DisplayItem : int {
    kItemNone = 0,  // no item: empty caption and text
    kItemPort = 1,
    kItemDetail,
    kItemLine,
    kItemCoupling,
    kItemWaveform,
    kItemRing,
    kItemSync,
    kItemAngle,
    kItemVoltage,
    kItemPolarity,
    kItemDischarge,
    kItemInterval,
    kItemResult,
    kItemComment,
    kItemVaristor,
};

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

    // Captions and texts of the display items (see ItemText.cpp). A code outside its table is
    // shown as its default would be; reading never changes the step.
    QString GetItemCaption(int item) const;
    QString GetItemText(int item) const;

    // Puts the codes the run panel names (output port, line configuration, waveform, ring
    // impedance) back to their defaults where they lie outside their tables, so that the step
    // sent is the step the panel shows and a later save stores it. Any other wrong code is
    // left for the step check to refuse.
    void CorrectPanelCodes();

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

#pragma once
// The setting data section of a settings file: a start marker, a version line, every stored
// field of the test condition record as a key line followed by its value, marker lines around
// the nested structures, an end marker. Written as version 1.0.5.0; read in the six versions
// 1.0.0.0 to 1.0.5.0. The entry limits of the record are working data and are not stored.

#include <cstdint>

namespace zeb {

class ArchiveReader;
class ArchiveWriter;
class CSettingData;

enum SectionReadCode { kSectionOk = 0, kSectionVersionError = 2, kSectionOtherMachine = 3 };

void WriteSettingData(ArchiveWriter& ar, const CSettingData& rec);

// Reads a section into rec. Returns kSectionVersionError for an unknown version line (nothing
// after it is read), kSectionOtherMachine when the file's machine type differs from
// expectedMachine (after a complete read), else kSectionOk. Versions without a hardware version
// take hwVersion. A section that ends early leaves ar failed.
int ReadSettingData(ArchiveReader& ar, CSettingData& rec, uint32_t expectedMachine,
                    int32_t hwVersion);

}  // namespace zeb

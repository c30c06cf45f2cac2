#include "SettingsDoc.h"

#include "Archive.h"
#include "FileAccess.h"
#include "MessageSeam.h"
#include "SettingDataFormat.h"

namespace zeb {

const char CZebM40SettingsDoc::kFileHeader[] = "Brakmoor ZEB-M40 Data File";
const char CZebM40SettingsDoc::kFileVersion[] = "File Ver.2.0.0.0";
const char CZebM40SettingsDoc::kFileFilter[] = "ZEB Setting Files (*.zms)";
const char CZebM40SettingsDoc::kDefaultTitle[] = "Test";

namespace {

// Smallest possible step entry: an empty 8-bit entry marker, the 8-bit version line
// "Exec Data Ver.1.0.0.0" (1 + 21 bytes) and twelve empty key lines with their integers.
constexpr qsizetype kMinStepEntryBytes = 1 + 22 + 12 * (1 + 4);

// The step section: start marker, count label, count, the entries, end marker. Returns the
// load code of the section (a step of unknown version stops the read at that entry).
int ReadSteps(ArchiveReader& ar, uint32_t machineType, ExecDataList& steps) {
    ar.SkipString();  // "### START EXEC DATA ###"
    ar.SkipString();  // "ExecDataCount"
    int32_t count = 0;
    if (!ar.ReadInt(count)) {
        return CZebM40SettingsDoc::kLoadOk;
    }
    if (count > 0 && count > ar.Remaining() / kMinStepEntryBytes) {
        ar.Fail(QStringLiteral("The file claims %1 test steps but is too short to hold them.")
                    .arg(count));
        return CZebM40SettingsDoc::kLoadOk;
    }
    for (int32_t i = 0; i < count; ++i) {
        ar.SkipString();  // "@ EXEC DATA STRUCTURE ARRAY[i / n-1] @"
        CExecData step;
        if (step.Read(ar) != CExecData::kReadOk) {
            return CZebM40SettingsDoc::kLoadVersionError;
        }
        if (ar.Failed()) {
            return CZebM40SettingsDoc::kLoadOk;
        }
        step.m_ulMachineType = machineType;
        steps.push_back(std::move(step));
    }
    ar.SkipString();  // "### END EXEC DATA ###"
    return CZebM40SettingsDoc::kLoadOk;
}

}  // namespace

QString CZebM40SettingsDoc::LoadMessage(int code, const QString& detail) {
    switch (code) {
        case kLoadOk:
            return QString();
        case kLoadNotSettingsFile:
            return QStringLiteral("This file is not data for ZEB-M40 / ZEB-M50.");
        case kLoadVersionError:
            return QStringLiteral("File version error.");
        case kLoadOtherMachine:
            return QStringLiteral("This data is for a type different from the connected machine.");
        default:
            return detail.isEmpty()
                       ? QStringLiteral("The settings file cannot be read.")
                       : QStringLiteral("The settings file cannot be read.\n%1").arg(detail);
    }
}

bool CZebM40SettingsDoc::OnNewDocument(uint32_t machineType, int32_t hwVersion) {
    m_record = CSettingData();
    m_record.m_ulMachineType = machineType;
    m_record.m_nHWVersion = hwVersion;
    m_record.SetDefault();
    m_record.ExpandSteps(m_steps);
    m_standard = StandardRef();
    m_strStandardProblem.clear();
    m_nCurrentStep = 0;
    m_nLoadError = 0;
    SetModifiedFlag(false);
    m_strPathName.clear();
    return true;
}

int CZebM40SettingsDoc::Load(const QByteArray& bytes, std::optional<uint32_t> machineType,
                             int32_t hwVersion, QString* errorText) {
    auto finish = [&](int code, const QString& detail = QString()) {
        if (errorText) {
            *errorText = LoadMessage(code, detail);
        }
        return code;
    };
    ArchiveReader ar(bytes);
    QString header;
    // Anything that does not even start with the header string is not a settings file.
    if (!ar.ReadString(header) || header != QLatin1String(kFileHeader)) {
        return finish(kLoadNotSettingsFile);
    }
    QString version;
    if (!ar.ReadString(version)) {
        return finish(kLoadReadError, ar.ErrorText());
    }
    // Only the prefix counts; the sections decide whether the file can be read.
    if (!version.contains(QLatin1String("File Ver."))) {
        return finish(kLoadVersionError);
    }

    // Read into fresh objects, so a refused or damaged file leaves the document untouched.
    CSettingData record;
    int sectionCode = ReadSettingData(ar, record, machineType.value_or(kNoMachineType), hwVersion);
    if (!machineType && sectionCode == kSectionOtherMachine) {
        sectionCode = kSectionOk;
    }
    if (ar.Failed()) {
        return finish(kLoadReadError, ar.ErrorText());
    }
    if (sectionCode == kSectionVersionError) {
        return finish(kLoadVersionError);
    }
    ExecDataList steps;
    const int stepCode = ReadSteps(ar, record.m_ulMachineType, steps);
    if (ar.Failed()) {
        return finish(kLoadReadError, ar.ErrorText());
    }
    if (stepCode != kLoadOk) {
        return finish(stepCode);
    }
    if (sectionCode == kSectionOtherMachine) {
        return finish(kLoadOtherMachine);
    }
    m_record = record;
    m_steps = std::move(steps);
    m_nCurrentStep = 0;
    return finish(kLoadOk);
}

int CZebM40SettingsDoc::LoadFile(const QString& path, std::optional<uint32_t> machineType,
                                 int32_t hwVersion, QString* errorText) {
    QByteArray bytes;
    QString error;
    if (!ReadRegularFile(path, kMaxDocumentFileBytes, bytes, error)) {
        if (errorText) {
            *errorText = error;
        }
        return kLoadReadError;
    }
    const int code = Load(bytes, machineType, hwVersion, errorText);
    if (code == kLoadOk) {
        ReadStandardOf(path);
    }
    return code;
}

void CZebM40SettingsDoc::ReadStandardOf(const QString& path) {
    StandardRef ref;
    m_strStandardProblem.clear();
    if (!ReadStandardSidecar(path, ref, m_strStandardProblem)) {
        ref = StandardRef();
    }
    m_standard = ref;
}

bool CZebM40SettingsDoc::OnOpenDocument(const QString& path, uint32_t machineType,
                                        int32_t hwVersion) {
    QString error;
    if (LoadFile(path, machineType, hwVersion, &error) != kLoadOk) {
        m_nLoadError = 1;
        ShowMessage(error, MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    m_nLoadError = 0;
    SetModifiedFlag(false);
    m_strPathName = path;
    if (!m_strStandardProblem.isEmpty()) {
        ShowMessage(QStringLiteral("%1\nThe document opens without a test standard.")
                        .arg(m_strStandardProblem),
                    MsgButtons::Ok, MsgIcon::Warning);
    }
    return true;
}

QByteArray CZebM40SettingsDoc::Store() const {
    ArchiveWriter ar;
    ar.WriteString(QLatin1String(kFileHeader));
    ar.WriteString(QLatin1String(kFileVersion));
    WriteSettingData(ar, m_record);
    ar.WriteString(QStringLiteral("### START EXEC DATA ###"));
    ar.WriteString(QStringLiteral("ExecDataCount"));
    const auto n = static_cast<int32_t>(m_steps.size());
    ar.WriteInt(n);
    for (int32_t i = 0; i < n; ++i) {
        ar.WriteString(QStringLiteral("@ EXEC DATA STRUCTURE ARRAY[%1 / %2] @").arg(i).arg(n - 1));
        m_steps[static_cast<size_t>(i)].Write(ar);
    }
    ar.WriteString(QStringLiteral("### END EXEC DATA ###"));
    return ar.Bytes();
}

bool CZebM40SettingsDoc::SaveFile(const QString& path, QString* errorText) {
    QString error;
    if (!WriteFileSafely(path, Store(), WriteMode::kReplaceRegular, error)) {
        if (errorText) {
            *errorText = error;
        }
        return false;  // the target, if any, is untouched
    }
    if (!WriteStandardSidecar(path, m_standard, error)) {
        if (errorText) {
            *errorText = QStringLiteral(
                             "The settings file %1 was saved, but its test standard "
                             "was not: %2")
                             .arg(path, error);
        }
        return false;
    }
    return true;
}

bool CZebM40SettingsDoc::SaveNewFile(const QString& path, QString* errorText) {
    QString error;
    if (!CheckSidecarFree(path, error) ||
        !WriteFileSafely(path, Store(), WriteMode::kCreateNew, error)) {
        if (errorText) {
            *errorText = error;
        }
        return false;
    }
    if (!WriteNewStandardSidecar(path, m_standard, error)) {
        if (errorText) {
            *errorText = QStringLiteral(
                             "The settings file %1 was written, but its test standard "
                             "was not: %2")
                             .arg(path, error);
        }
        return false;
    }
    return true;
}

bool CZebM40SettingsDoc::OnSaveDocument(const QString& path) {
    QString error;
    if (!SaveFile(path, &error)) {
        ShowMessage(error, MsgButtons::Ok, MsgIcon::Error);
        return false;
    }
    SetModifiedFlag(false);
    m_strPathName = path;
    return true;
}

void CZebM40SettingsDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified) {
        return;
    }
    m_bModified = modified;
    if (m_onModified) {
        m_onModified();
    }
}

void CZebM40SettingsDoc::ApplyRecord(const CSettingData& record) {
    m_record = record;
    m_record.ExpandSteps(m_steps);
    SetModifiedFlag(true);
}

}  // namespace zeb

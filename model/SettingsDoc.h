#pragma once
// The settings document: one settings file (".zms") or one new, unsaved set of test
// conditions. It owns the test condition record, the ordered step list and the index of the
// next step to run, and it reads and writes the file. It knows nothing of windows; a view can
// be bound to it later through the accessors and the modified flag.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "SettingData.h"
#include "StandardRef.h"

namespace zeb {

class CZebM40SettingsDoc {
public:
    // Outcome of reading a file. 1 to 3 are the refusals the operator is told about with the
    // instrument's texts; kLoadReadError is a file that is damaged, truncated or unreadable.
    enum LoadCode {
        kLoadOk = 0,
        kLoadNotSettingsFile = 1,
        kLoadVersionError = 2,
        kLoadOtherMachine = 3,
        kLoadReadError = 4,
    };

    static const char kFileHeader[];    // "Brakmoor ZEB-M40 Data File"
    static const char kFileVersion[];   // "File Ver.2.0.0.0"
    static const char kFileFilter[];    // "ZEB Setting Files (*.zms)"
    static const char kDefaultTitle[];  // base name of new documents, "Test"

    // The message the operator sees for a load code (empty for kLoadOk; the read-error detail
    // is added for kLoadReadError).
    static QString LoadMessage(int code, const QString& detail = QString());

    CZebM40SettingsDoc() = default;

    // New document for the connected instrument: defaults for that machine, one expansion,
    // current step 0, not modified, no path.
    bool OnNewDocument(uint32_t machineType, int32_t hwVersion);

    // Opens a file made for the connected instrument. A refused or unreadable file is reported
    // through the message seam, sets m_nLoadError to 1 and leaves the document as it was. A
    // damaged standard file beside it is reported too; the document then opens without one.
    bool OnOpenDocument(const QString& path, uint32_t machineType, int32_t hwVersion);
    // Writes the file through a temporary in the same folder that replaces the target only when
    // everything was written, and then its standard file (StandardRef.h), or removes a stale one.
    // Only a regular file is replaced: a device, a directory or a symbolic link at the path is
    // refused. Failures are reported through the message seam.
    bool OnSaveDocument(const QString& path);

    // The same without messages: the code, or the error text, is handed back. Load replaces
    // record and steps only on kLoadOk. Without a machine type (tools) the file's own is
    // accepted. LoadFile reads only regular files up to kMaxDocumentFileBytes (FileAccess.h),
    // and the standard file beside it (ReadStandardOf).
    int Load(const QByteArray& bytes, std::optional<uint32_t> machineType, int32_t hwVersion,
             QString* errorText = nullptr);
    int LoadFile(const QString& path, std::optional<uint32_t> machineType, int32_t hwVersion,
                 QString* errorText = nullptr);
    QByteArray Store() const;
    bool SaveFile(const QString& path, QString* errorText = nullptr);
    // Writes a new file: refused when anything at all exists under the path (checked atomically
    // as the file takes its name) or under the name of its standard file.
    bool SaveNewFile(const QString& path, QString* errorText = nullptr);

    // Takes the standard of the document file at path from the file beside it: none when there
    // is none; none, with StandardProblem() telling why, when it is damaged.
    void ReadStandardOf(const QString& path);
    const StandardRef& Standard() const { return m_standard; }
    void SetStandard(const StandardRef& standard) { m_standard = standard; }
    // Why the last ReadStandardOf found no usable standard file; empty when nothing was wrong.
    const QString& StandardProblem() const { return m_strStandardProblem; }

    // After the editor closed with OK: take the edited record, expand it, mark modified.
    void ApplyRecord(const CSettingData& record);

    CSettingData& Record() { return m_record; }
    const CSettingData& Record() const { return m_record; }
    ExecDataList& Steps() { return m_steps; }
    const ExecDataList& Steps() const { return m_steps; }

    int32_t CurrentStep() const { return m_nCurrentStep; }
    void SetCurrentStep(int32_t index) { m_nCurrentStep = index; }
    int32_t LoadError() const { return m_nLoadError; }
    bool IsModified() const { return m_bModified; }
    // Tells the modified-listener when the flag changes.
    void SetModifiedFlag(bool modified = true);
    // Called whenever the document becomes modified or unmodified (a window title shows it).
    void SetModifiedListener(std::function<void()> listener) { m_onModified = std::move(listener); }
    const QString& PathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }

    // A run restored from its journal, which the document's next test continues: that
    // journal, the 1-based steps it had ended and the 0-based step to go on with. Empty journal
    // when there is none; it stays until the next test of the document has started.
    struct RunResume {
        QString journal;
        std::vector<int> endedSteps;
        int32_t step = 0;
    };
    const RunResume& Resume() const { return m_resume; }
    void SetResume(RunResume resume) { m_resume = std::move(resume); }
    void ClearResume() { m_resume = RunResume(); }

private:
    CSettingData m_record;
    ExecDataList m_steps;
    StandardRef m_standard;
    QString m_strStandardProblem;
    int32_t m_nCurrentStep = 0;
    int32_t m_nLoadError = 0;
    bool m_bModified = false;
    std::function<void()> m_onModified;
    QString m_strPathName;
    RunResume m_resume;
};

}  // namespace zeb

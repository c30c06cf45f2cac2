// libFuzzer target: arbitrary bytes as a settings file, and as its JSON form. Neither reader may
// crash, hang or leak; a file that opens must store and reopen to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "DocumentJson.h"
#include "SettingsDoc.h"
#include "StepCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    zeb::CZebM40SettingsDoc doc;
    if (doc.Load(bytes, std::nullopt, 0) == zeb::CZebM40SettingsDoc::kLoadOk) {
        const QByteArray stored = doc.Store();
        zeb::CZebM40SettingsDoc again;
        if (again.Load(stored, doc.Record().m_ulMachineType, 0) !=
                zeb::CZebM40SettingsDoc::kLoadOk ||
            again.Store() != stored) {
            std::abort();
        }
        // Whatever a file holds, the check before sending must judge it without failing.
        QString problem;
        for (const zeb::CExecData& step : doc.Steps()) {
            zeb::CheckStepValues(step, problem);
        }
        for (int item = 0; item <= 16; ++item) {
            doc.Record().GetItemText(item);
            for (zeb::CExecData& step : doc.Steps()) {
                step.GetItemText(item);
            }
        }
        if (doc.Record().StepCount() <= zeb::kMaxStepCount) {
            zeb::ExecDataList steps;
            doc.Record().ExpandSteps(steps);
        }
    }
    doc.Load(bytes, 5u, 1);

    zeb::CZebM40SettingsDoc fromJson;
    QString error;
    zeb::DocumentFromJsonText(bytes, 5u, 0, fromJson, error);
    return 0;
}

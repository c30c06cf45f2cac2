#pragma once
// A settings document as JSON, for scripting and tests:
//   {"record": {...}, "steps": [...], "standard": {...}}
// with every field named exactly as its member (m_ulMachineType, m_outOutput, m_valVolt, ...);
// "standard", present only when the document has one, is the StandardRef form (StandardRef.h).
// Unsigned fields are written as unsigned numbers. Reading accepts a partial record: each absent
// field keeps its default for the record's machine type; absent "steps" means the record is
// expanded.

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

#include "SettingsDoc.h"

namespace zeb {

// The whole document as a JSON object.
QJsonObject DocumentToJson(const CZebM40SettingsDoc& doc);
// The document as indented JSON text (UTF-8).
QByteArray DocumentToJsonText(const CZebM40SettingsDoc& doc);

// Fills doc from a JSON object. The machine type comes from record.m_ulMachineType, or from
// defaultMachine when the field is absent; likewise the hardware version. Unknown field names,
// wrong types and arrays whose length is not 10 are refused with a text naming the field; doc is
// changed only on success.
bool DocumentFromJson(const QJsonObject& json, uint32_t defaultMachine, int32_t defaultHwVersion,
                      CZebM40SettingsDoc& doc, QString& error);
// The same from JSON text (malformed JSON is refused with the parser's message).
bool DocumentFromJsonText(const QByteArray& text, uint32_t defaultMachine, int32_t defaultHwVersion,
                          CZebM40SettingsDoc& doc, QString& error);

// Loads a settings file (.zms) or its JSON form (.json, or any file whose first non-blank
// character is '{'). With expectedMachine set, a document for another machine type is refused
// with the instrument's message; without it, the file's own machine type is accepted.
// hwVersion is taken by old files that do not store one. A settings file's standard comes from
// the file beside it (a damaged one leaves none, with doc.StandardProblem()). Returns false with a
// clear text on any refusal or error; doc is changed only on success.
bool LoadDocumentFile(const QString& path, std::optional<uint32_t> expectedMachine,
                      int32_t hwVersion, CZebM40SettingsDoc& doc, QString& error);

}  // namespace zeb

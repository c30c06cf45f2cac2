#pragma once
// Rules of the numeric value fields, without any widget: fixed-point parse and format, clamping,
// the keystroke filter, the limits of the sweep and list fields and which page of a value panel
// shows a value set. The panels and the editor only render what these functions return.

#include <QString>

#include <cstdint>

#include "SettingData.h"

namespace zeb {

// Text to stored units: the leading decimal number of `text` times 10^exponent, truncated
// toward zero. No number gives 0; a number too large for 32 bits saturates instead of wrapping.
int32_t ParseFixed(const QString& text, int32_t exponent);
// Stored units to text: value times 10^-exponent with `decimals` digits after the point, rounded
// as "%.*f" rounds the double ("550" with exponent 3 and one decimal shows "0.6", "350" "0.3").
QString FormatFixed(int64_t value, int32_t exponent, int32_t decimals);
inline QString FormatFixed(int64_t value, const VALUE_LIMIT& limit) {
    return FormatFixed(value, limit.m_nExponent, limit.m_nDecimals);
}
// Below lo gives lo, else above hi gives hi (lo wins when the bounds cross).
int32_t ClampValue(int64_t value, int64_t lo, int64_t hi);
// The value the field ends up holding: what is shown after formatting `value`, read back.
int32_t Settle(int64_t value, const VALUE_LIMIT& limit);

// The keystroke filter of every value field: digits and one decimal point survive. With two
// points the one just typed (just before the caret) stays, otherwise the first one. The caret
// stays at the typing position, moved back by one when the character just typed was dropped,
// and never beyond the end of the filtered text.
struct FilteredInput {
    QString text;
    int caret = 0;
    bool changed = false;
};
FilteredInput FilterNumericInput(const QString& text, int caret);

// A field bounded by [lo, hi] (fixed value, list entries, discharge count, interval).
int32_t BoundedAfterEdit(const QString& text, int32_t lo, int32_t hi, const VALUE_LIMIT& limit);
// A spin click: `up` adds the increment, otherwise it is subtracted; then [lo, hi].
int32_t BoundedAfterSpin(const QString& text, bool up, int32_t lo, int32_t hi,
                         const VALUE_LIMIT& limit);

// The three fields of a sweep. Edits and spins are bounded by the other fields, so the start
// never passes the end and the step never falls below the increment.
enum class SweepField { Start, End, Step };
// Applies a typed text to the field and returns the value now stored.
int32_t SweepAfterEdit(VALUE& set, SweepField field, const QString& text, const VALUE_LIMIT& limit);
int32_t SweepAfterSpin(VALUE& set, SweepField field, const QString& text, bool up,
                       const VALUE_LIMIT& limit);

// Which page of a value panel shows a set of this type and list kind.
enum class ValuePage { None, Fixed, Sweep, List, NormalCommon };
ValuePage PageFor(int32_t valueType, int32_t variableKind);

// Number of list rows a value page offers (entries 0..4 of the ten a set holds).
constexpr int kValueRows = 5;

}  // namespace zeb

#include "ValueRules.h"

#include <algorithm>
#include <limits>

namespace zeb {

namespace {

constexpr int64_t kSaturation = std::numeric_limits<int32_t>::max();

int64_t PowerOfTen(int n) {
    int64_t p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

// Descriptors come from the record; keep their exponent and decimals where int64 holds them.
int SaneDigits(int32_t n) {
    return std::clamp<int32_t>(n, -9, 9);
}

}  // namespace

int32_t ParseFixed(const QString& text, int32_t exponent) {
    int i = 0;
    const int n = text.size();
    while (i < n && text.at(i).isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    // Digits of the number without its point, and how many of them stand before the point.
    QString digits;
    int intDigits = 0;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        digits += text.at(i++);
        ++intDigits;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            digits += text.at(i++);
        }
    }
    // Shifting the point by the exponent; everything behind it is truncated.
    const int64_t wholeDigits = int64_t(intDigits) + SaneDigits(exponent);
    int64_t value = 0;
    for (int64_t k = 0; k < wholeDigits; ++k) {
        const int digit = k < digits.size() ? digits.at(int(k)).unicode() - '0' : 0;
        value = value * 10 + digit;
        if (value > kSaturation) {
            value = kSaturation;
            break;
        }
    }
    return int32_t(negative ? -value : value);
}

QString FormatFixed(int64_t value, int32_t exponent, int32_t decimals) {
    // The same text as the summary view and the report show for a value: the number in double
    // precision, rounded to the shown decimals as the C runtime's "%.*f" does (350 V shows as
    // 0.3 kV, 550 V as 0.6 kV). Whatever is shown is then parsed back and stored.
    const int e = SaneDigits(exponent);
    const int d = std::max(0, SaneDigits(decimals));
    const double shown =
        e >= 0 ? double(value) / double(PowerOfTen(e)) : double(value) * double(PowerOfTen(-e));
    return QString::number(shown, 'f', d);
}

int32_t ClampValue(int64_t value, int64_t lo, int64_t hi) {
    if (value < lo) {
        value = lo;
    } else if (value > hi) {
        value = hi;
    }
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), kSaturation));
}

int32_t Settle(int64_t value, const VALUE_LIMIT& limit) {
    return ParseFixed(FormatFixed(value, limit), limit.m_nExponent);
}

FilteredInput FilterNumericInput(const QString& text, int caret) {
    caret = std::clamp(caret, 0, int(text.size()));
    const bool pointJustTyped = caret > 0 && text.at(caret - 1) == QLatin1Char('.');
    const int pointCount = int(text.count(QLatin1Char('.')));
    int keepPoint = -1;
    if (pointCount > 0) {
        keepPoint = (pointCount > 1 && pointJustTyped) ? caret - 1 : int(text.indexOf('.'));
    }
    FilteredInput out;
    bool typedKept = caret == 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool keep = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || i == keepPoint;
        if (keep) {
            out.text += c;
            typedKept = typedKept || i == caret - 1;
        }
    }
    out.changed = out.text != text;
    // The caret stays at the typing position, one back when the typed character was dropped.
    // Characters removed before it do not move it: "1.2|3" with a point typed ends "12.3|".
    out.caret = std::min(typedKept ? caret : caret - 1, int(out.text.size()));
    return out;
}

int32_t BoundedAfterEdit(const QString& text, int32_t lo, int32_t hi, const VALUE_LIMIT& limit) {
    return Settle(ClampValue(ParseFixed(text, limit.m_nExponent), lo, hi), limit);
}

int32_t BoundedAfterSpin(const QString& text, bool up, int32_t lo, int32_t hi,
                         const VALUE_LIMIT& limit) {
    const int64_t v = ParseFixed(text, limit.m_nExponent);
    const int64_t moved = up ? v + limit.m_lIncrement : v - limit.m_lIncrement;
    return Settle(ClampValue(moved, lo, hi), limit);
}

int32_t SweepAfterEdit(VALUE& set, SweepField field, const QString& text,
                       const VALUE_LIMIT& limit) {
    const int64_t v = ParseFixed(text, limit.m_nExponent);
    switch (field) {
        case SweepField::Start:
            set.m_lStart = Settle(ClampValue(v, limit.m_lMin, set.m_lEnd), limit);
            return set.m_lStart;
        case SweepField::End:
            set.m_lEnd = Settle(ClampValue(v, set.m_lStart, limit.m_lMax), limit);
            return set.m_lEnd;
        case SweepField::Step:
            set.m_lStep = Settle(ClampValue(v, limit.m_lIncrement, limit.m_lMax), limit);
            return set.m_lStep;
    }
    return 0;
}

int32_t SweepAfterSpin(VALUE& set, SweepField field, const QString& text, bool up,
                       const VALUE_LIMIT& limit) {
    const int64_t v = ParseFixed(text, limit.m_nExponent);
    const int64_t moved = up ? v + limit.m_lIncrement : v - limit.m_lIncrement;
    switch (field) {
        case SweepField::Start:
            set.m_lStart = Settle(ClampValue(moved, limit.m_lMin, set.m_lEnd), limit);
            return set.m_lStart;
        case SweepField::End:
            if (!up) {
                set.m_lEnd = Settle(ClampValue(moved, set.m_lStart, set.m_lEnd), limit);
            } else if (moved <= limit.m_lMax) {
                // Above the maximum the end stays where it was.
                set.m_lEnd = Settle(std::max<int64_t>(moved, set.m_lStart), limit);
            }
            return set.m_lEnd;
        case SweepField::Step:
            set.m_lStep = Settle(ClampValue(moved, limit.m_lIncrement, limit.m_lMax), limit);
            return set.m_lStep;
    }
    return 0;
}

ValuePage PageFor(int32_t valueType, int32_t variableKind) {
    switch (valueType) {
        case kValueFixed:
            return ValuePage::Fixed;
        case kValueSweep:
            return ValuePage::Sweep;
        case kValueVariable:
            if (variableKind == 0) {
                return ValuePage::List;
            }
            return variableKind == 1 ? ValuePage::NormalCommon : ValuePage::None;
        default:
            return ValuePage::None;
    }
}

}  // namespace zeb

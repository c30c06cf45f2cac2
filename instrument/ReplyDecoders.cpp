#include "ReplyDecoders.h"

#include <QByteArray>
#include <QtGlobal>

#include <climits>

namespace zeb {

namespace {
constexpr int kEchoLength = 2;
}

QString DecodeText(const QString& reply) {
    return reply.mid(kEchoLength);
}

int DecodeDecimal(const QString& reply) {
    const QString data = DecodeText(reply);
    int i = 0;
    const int n = static_cast<int>(data.size());
    while (i < n && (data.at(i) == QLatin1Char(' ') || data.at(i) == QLatin1Char('\t') ||
                     data.at(i) == QLatin1Char('\r') || data.at(i) == QLatin1Char('\n') ||
                     data.at(i) == QLatin1Char('\v') || data.at(i) == QLatin1Char('\f'))) {
        ++i;
    }
    bool negative = false;
    if (i < n && (data.at(i) == QLatin1Char('+') || data.at(i) == QLatin1Char('-'))) {
        negative = data.at(i) == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    while (i < n && data.at(i) >= QLatin1Char('0') && data.at(i) <= QLatin1Char('9')) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (data.at(i).unicode() - '0');
        }
        ++i;
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(
        qBound(static_cast<long long>(INT_MIN), value, static_cast<long long>(INT_MAX)));
}

quint32 DecodeNibbles(const QString& reply, int maxDigits) {
    const QByteArray data = DecodeText(reply).toLatin1();
    const int digits = qMin(qBound(1, maxDigits, 8), static_cast<int>(data.size()));
    quint32 value = 0;
    for (int i = 0; i < digits; ++i) {
        value |= (static_cast<quint32>(static_cast<quint8>(data.at(i))) & 0x0Fu) << (4 * i);
    }
    return value;
}

}  // namespace zeb

#include "PortTable.h"

#include <QSerialPortInfo>
#include <QtGlobal>

#include <algorithm>

namespace zeb {

namespace {

int KindRank(const QString& name) {
    if (name.startsWith(QLatin1String("ttyS"))) {
        return 0;
    }
    if (name.startsWith(QLatin1String("ttyUSB"))) {
        return 1;
    }
    if (name.startsWith(QLatin1String("ttyACM"))) {
        return 2;
    }
    return 3;
}

// Splits "ttyUSB12" into "ttyUSB" and 12; a name without trailing digits gets -1.
void SplitTrailingNumber(const QString& name, QString& stem, long long& number) {
    int i = name.size();
    while (i > 0 && name.at(i - 1).isDigit()) {
        --i;
    }
    stem = name.left(i);
    bool ok = false;
    number = i < name.size() ? name.mid(i).toLongLong(&ok) : -1;
    if (!ok) {
        number = -1;
    }
}

QString BaseName(const QString& device) {
    const int slash = device.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? device : device.mid(slash + 1);
}

}  // namespace

QStringList OrderSerialDevices(QStringList devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
        const QString na = BaseName(a);
        const QString nb = BaseName(b);
        const int ra = KindRank(na);
        const int rb = KindRank(nb);
        if (ra != rb) {
            return ra < rb;
        }
        QString sa, sb;
        long long xa = 0, xb = 0;
        SplitTrailingNumber(na, sa, xa);
        SplitTrailingNumber(nb, sb, xb);
        if (sa != sb) {
            return sa < sb;
        }
        return xa < xb;
    });
    return devices;
}

QStringList ParsePortList(const QString& value, int* ignored) {
#ifdef Q_OS_WIN
    const QChar separator = QLatin1Char(';');
#else
    const QChar separator = QLatin1Char(':');
#endif
    QStringList list = value.split(separator, Qt::SkipEmptyParts);
    if (ignored) {
        *ignored = std::max(0, static_cast<int>(list.size()) - kMaxOpenPortNo);
    }
    if (list.size() > kMaxOpenPortNo) {
        list = list.mid(0, kMaxOpenPortNo);
    }
    return list;
}

QString PortTableNotice() {
    if (!qEnvironmentVariableIsSet("ZEB_SERIAL_PORTS")) {
        return QString();
    }
    int ignored = 0;
    ParsePortList(qEnvironmentVariable("ZEB_SERIAL_PORTS"), &ignored);
    if (ignored == 0) {
        return QString();
    }
    return QStringLiteral(
               "ZEB_SERIAL_PORTS lists %1 devices; only the first %2 are used, the "
               "other %3 are ignored.")
        .arg(ignored + kMaxOpenPortNo)
        .arg(kMaxOpenPortNo)
        .arg(ignored);
}

QStringList SystemPortTable() {
    if (qEnvironmentVariableIsSet("ZEB_SERIAL_PORTS")) {
        return ParsePortList(qEnvironmentVariable("ZEB_SERIAL_PORTS"));
    }
    QStringList devices;
#ifdef Q_OS_WIN
    for (int n = 1; n <= kMaxOpenPortNo; ++n) {
        devices << QStringLiteral("\\\\.\\COM%1").arg(n);
    }
#else
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        devices << info.systemLocation();
    }
    devices = OrderSerialDevices(devices);
    if (devices.size() > kMaxOpenPortNo) {
        devices = devices.mid(0, kMaxOpenPortNo);
    }
#endif
    return devices;
}

}  // namespace zeb

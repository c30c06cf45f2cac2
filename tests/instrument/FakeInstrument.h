#pragma once
// A minimal instrument behind a FakeLine: acknowledges ENQ, answers queries from a table,
// acknowledges every other command, and can refuse a chosen command. Enough for tests of
// identification and of the command blocks; the full instrument is the simulator.

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include "FakeTransport.h"
#include "RsBasicProtocol.h"

namespace zeb::test {

class FakeInstrument {
public:
    QMap<QString, QString> replies;  // query text -> reply text
    QSet<QString> refused;           // commands that get no ACK
    QStringList log;                 // every text received in a frame

    // Answers the PC's writes: installs itself as the line's responder.
    void Serve(FakeLine& line) {
        line.responder = [this](const QByteArray& data) { return Answer(data); };
    }

    QByteArray Answer(const QByteArray& data) {
        if (data == kEnqByte) {
            return kAckByte;
        }
        if (data.size() < 3 || static_cast<quint8>(data.at(0)) != wire::kStx) {
            return {};  // the PC's closing ACK, or noise
        }
        const QString text = QString::fromLatin1(data.mid(1, data.size() - 3));
        log << text;
        if (replies.contains(text)) {
            return wire::Frame(replies.value(text).toLatin1());
        }
        if (refused.contains(text)) {
            return {};
        }
        return kAckByte;
    }
};

}  // namespace zeb::test

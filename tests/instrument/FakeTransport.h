#pragma once
// A fake serial line for protocol tests. Each device is a FakeLine that records every byte the
// PC writes and answers from a script (expected write -> bytes sent back) or, when the script
// is empty, from a responder function such as FakeInstrument. Waits really sleep, so time
// limits are exercised as they are on a cable.

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QThread>

#include <deque>
#include <functional>
#include <memory>

#include "RsPort.h"
#include "SerialTransport.h"

namespace zeb::test {

struct FakeLine {
    struct Step {
        QByteArray expect;   // what the PC must write next
        QByteArray respond;  // what the line then delivers
    };

    bool present = true;
    bool busy = false;
    bool isOpen = false;
    bool vanished = false;
    int opens = 0;
    int closes = 0;
    QByteArray written;   // everything the PC wrote, in order
    QByteArray incoming;  // bytes waiting for the PC
    std::deque<Step> script;
    int unexpectedWrites = 0;
    int mismatchedWrites = 0;
    std::function<QByteArray(const QByteArray&)> responder;
    qint64 chatterMs = -1;
    QElapsedTimer chatterClock;

    void Expect(const QByteArray& write, const QByteArray& respond) {
        script.push_back({write, respond});
    }

    // A noisy line: for the next ms milliseconds a new byte has arrived whenever the PC looks.
    void ChatterFor(qint64 ms) {
        chatterMs = ms;
        chatterClock.start();
    }
    void Poll() {
        if (chatterMs >= 0 && chatterClock.elapsed() < chatterMs) {
            incoming.append('~');
        }
    }

    void OnWrite(const QByteArray& data) {
        written += data;
        if (!script.empty()) {
            Step step = script.front();
            script.pop_front();
            if (step.expect != data) {
                ++mismatchedWrites;
            }
            incoming += step.respond;
        } else if (responder) {
            incoming += responder(data);
        } else {
            ++unexpectedWrites;
        }
    }
};

class FakeBus;

class FakeTransport : public ISerialTransport {
public:
    explicit FakeTransport(FakeBus& bus) : m_bus(bus) {}
    ~FakeTransport() override { Close(); }

    TransportOpen Open(const QString& device) override;
    void Close() override {
        if (m_line) {
            m_line->isOpen = false;
            ++m_line->closes;
            m_line.reset();
        }
    }
    bool IsOpen() const override { return m_line != nullptr; }
    qint64 BytesWaiting() override {
        if (!m_line || m_line->vanished) {
            return 0;
        }
        m_line->Poll();
        return m_line->incoming.size();
    }
    qint64 Read(char* data, qint64 maxBytes) override {
        if (!m_line) {
            return 0;
        }
        const qint64 n = qMin<qint64>(maxBytes, m_line->incoming.size());
        std::copy(m_line->incoming.cbegin(), m_line->incoming.cbegin() + n, data);
        m_line->incoming.remove(0, n);
        return n;
    }
    bool Write(const char* data, qint64 count) override {
        if (!m_line || m_line->vanished) {
            return false;
        }
        m_line->OnWrite(QByteArray(data, static_cast<int>(count)));
        return true;
    }
    TransportWait WaitForReadyRead(int msecs) override {
        if (!m_line || m_line->vanished) {
            return TransportWait::Vanished;
        }
        if (!m_line->incoming.isEmpty()) {
            return TransportWait::Ready;
        }
        QThread::msleep(static_cast<unsigned long>(qMax(0, msecs)));
        return m_line->incoming.isEmpty() ? TransportWait::TimedOut : TransportWait::Ready;
    }
    bool HasVanished() const override { return m_line && m_line->vanished; }

private:
    FakeBus& m_bus;
    std::shared_ptr<FakeLine> m_line;
};

// A set of fake devices; the port table lists them in the order they were added.
class FakeBus {
public:
    std::shared_ptr<FakeLine> Add(const QString& device) {
        auto line = std::make_shared<FakeLine>();
        m_lines.insert(device, line);
        m_table << device;
        return line;
    }
    std::shared_ptr<FakeLine> Line(const QString& device) const { return m_lines.value(device); }

    SerialAccess Access() {
        return {[this] { return m_table; },
                [this] { return std::make_unique<FakeTransport>(*this); }};
    }

private:
    QMap<QString, std::shared_ptr<FakeLine>> m_lines;
    QStringList m_table;
};

inline TransportOpen FakeTransport::Open(const QString& device) {
    Close();
    std::shared_ptr<FakeLine> line = m_bus.Line(device);
    if (!line || !line->present) {
        return TransportOpen::Missing;
    }
    if (line->busy || line->isOpen) {
        return TransportOpen::Busy;
    }
    line->isOpen = true;
    line->vanished = false;
    ++line->opens;
    m_line = line;
    return TransportOpen::Opened;
}

// Byte helpers for writing conversations down.
inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) {
        b.append(static_cast<char>(v));
    }
    return b;
}
inline const QByteArray kEnqByte = Bytes({0x05});
inline const QByteArray kAckByte = Bytes({0x06});

}  // namespace zeb::test

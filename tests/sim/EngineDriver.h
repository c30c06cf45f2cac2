#pragma once
// Plays the PC's side of the link against a ProtocolEngine, byte by byte, with a fake clock.

#include <QByteArray>

#include <cstdint>

#include "FrameCodec.h"
#include "ProtocolEngine.h"

namespace zebsim::test {

class EngineDriver {
public:
    explicit EngineDriver(const SimOptions& options = {}) : m_engine(options) {}

    ProtocolEngine& Engine() { return m_engine; }
    std::int64_t& Now() { return m_now; }
    void Advance(std::int64_t ms) { m_now += ms; }

    // Feeds bytes and collects everything the instrument sends back, delays noted separately.
    QByteArray Send(const QByteArray& bytes) {
        QByteArray out;
        m_lastDelayMs = 0;
        for (char byte : bytes) {
            for (const Emission& emission : m_engine.Feed(byte, m_now).out) {
                out.append(emission.bytes);
                m_lastDelayMs += emission.delayMs;
            }
        }
        return out;
    }
    // Total hold-back requested by the last Send().
    int LastDelayMs() const { return m_lastDelayMs; }

    // A full command exchange; true when both ENQ and frame were acknowledged.
    bool Command(const QByteArray& text) {
        return Send(QByteArray(1, kEnq)) == QByteArray(1, kAck) &&
               Send(EncodeFrame(text)) == QByteArray(1, kAck);
    }

    // A full query exchange; the reply text, or "<fail>" when any step went wrong.
    QByteArray Query(const QByteArray& text) {
        if (Send(QByteArray(1, kEnq)) != QByteArray(1, kAck)) {
            return "<fail>";
        }
        const QByteArray frame = Send(EncodeFrame(text));
        if (frame.size() < 3 || frame.at(0) != kStx || frame.at(frame.size() - 2) != kEtx) {
            return "<fail>";
        }
        const QByteArray reply = frame.mid(1, frame.size() - 3);
        if (BlockCheck(reply) != frame.back()) {
            return "<fail>";
        }
        Send(QByteArray(1, kAck));
        return reply;
    }

private:
    ProtocolEngine m_engine;
    std::int64_t m_now = 0;
    int m_lastDelayMs = 0;
};

}  // namespace zebsim::test

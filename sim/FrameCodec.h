#pragma once
// The instrument's side of the RS-232 framing. A text travels as STX, the text bytes, ETX and a
// block check character (BCC): the exclusive-or of every text byte and of the ETX, STX left out.
// This is a separate implementation from the client's on purpose, so that a framing mistake
// cannot pass unnoticed by being made the same way at both ends of the cable.

#include <QByteArray>

namespace zebsim {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kEnq = 0x05;
constexpr char kAck = 0x06;

// The instrument's receive buffer: a frame with more text bytes than this is thrown away.
constexpr int kMaxFrameText = 254;

// Exclusive-or of the text bytes and the ETX.
char BlockCheck(const QByteArray& text);

// STX text ETX BCC.
QByteArray EncodeFrame(const QByteArray& text);

// Collects one frame byte by byte, starting with the first byte after the STX.
class FrameAssembler {
public:
    enum class Result {
        Pending,   // more bytes are needed
        Complete,  // text, ETX and a matching BCC have arrived; Text() holds the text
        BadCheck,  // the BCC did not match
        Overflow,  // more than kMaxFrameText bytes without an ETX
    };

    void Reset();
    Result Feed(char byte);
    const QByteArray& Text() const { return m_text; }
    // True once the ETX arrived and only the BCC is outstanding (any byte value may follow).
    bool AwaitingCheck() const { return m_haveEtx; }

private:
    QByteArray m_text;
    char m_check = 0;
    bool m_haveEtx = false;
};

}  // namespace zebsim

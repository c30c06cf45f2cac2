#include "FrameCodec.h"

namespace zebsim {

char BlockCheck(const QByteArray& text) {
    char check = 0;
    for (char c : text) {
        check = static_cast<char>(check ^ c);
    }
    return static_cast<char>(check ^ kEtx);
}

QByteArray EncodeFrame(const QByteArray& text) {
    QByteArray frame;
    frame.reserve(text.size() + 3);
    frame.append(kStx);
    frame.append(text);
    frame.append(kEtx);
    frame.append(BlockCheck(text));
    return frame;
}

void FrameAssembler::Reset() {
    m_text.clear();
    m_check = 0;
    m_haveEtx = false;
}

FrameAssembler::Result FrameAssembler::Feed(char byte) {
    if (m_haveEtx) {
        const bool good = (byte == static_cast<char>(m_check ^ kEtx));
        m_haveEtx = false;
        m_check = 0;
        return good ? Result::Complete : Result::BadCheck;
    }
    if (byte == kEtx) {
        m_haveEtx = true;
        return Result::Pending;
    }
    if (m_text.size() >= kMaxFrameText) {
        return Result::Overflow;
    }
    m_text.append(byte);
    m_check = static_cast<char>(m_check ^ byte);
    return Result::Pending;
}

}  // namespace zebsim

#pragma once
// Shows the program's messages to the operator as modal message boxes.

#include "MessageSeam.h"

namespace zeb {

// Caption of every message box: the program's name.
inline constexpr const char* kMessageCaption = "ZEB";

class CMessageBoxSink : public IMessageSink {
public:
    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) override;
};

}  // namespace zeb

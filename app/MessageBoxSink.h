#pragma once
// Shows the program's messages to the operator as modal message boxes.

#include "MessageSeam.h"

class QMessageBox;

namespace zeb {

// Caption of every message box: the program's name.
inline constexpr const char* kMessageCaption = "ZEB";

// Gives a message box the program's caption, the text, the icon and the buttons.
void PrepareMessageBox(QMessageBox& box, const QString& text, MsgButtons buttons, MsgIcon icon);

class CMessageBoxSink : public IMessageSink {
public:
    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) override;
};

}  // namespace zeb

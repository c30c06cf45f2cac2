#include "MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>

namespace zeb {

void PrepareMessageBox(QMessageBox& box, const QString& text, MsgButtons buttons, MsgIcon icon) {
    // Message boxes carry the program's name, as every message box of the program always has.
    box.setWindowTitle(QLatin1String(kMessageCaption));
    box.setText(text);
    switch (icon) {
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
}

MsgAnswer CMessageBoxSink::Show(const QString& text, MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(QApplication::activeWindow());
    PrepareMessageBox(box, text, buttons, icon);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        default:
            return MsgAnswer::Cancel;
    }
}

}  // namespace zeb

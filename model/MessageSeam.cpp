#include "MessageSeam.h"

#include <cstdio>

namespace zeb {

namespace {
IMessageSink* g_sink = nullptr;
}

MsgAnswer StderrMessageSink::Show(const QString& text, MsgButtons buttons, MsgIcon) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
    return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::Ok;
}

MsgAnswer ShowMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
    if (g_sink) {
        return g_sink->Show(text, buttons, icon);
    }
    StderrMessageSink fallback;
    return fallback.Show(text, buttons, icon);
}

IMessageSink* SetMessageSink(IMessageSink* sink) {
    IMessageSink* previous = g_sink;
    g_sink = sink;
    return previous;
}

}  // namespace zeb

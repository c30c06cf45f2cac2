#pragma once
// The one way the core talks to the operator. The desktop program installs a sink that shows a
// message box; zebctl prints to standard error; tests script the answers. Model and instrument
// code call ShowMessage() and never know which of them is listening.

#include <QString>

namespace zeb {

enum class MsgButtons { Ok, OkCancel, YesNoCancel };
enum class MsgIcon { Information, Warning, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) = 0;
};

// Shows a message through the installed sink (standard error when none is installed).
MsgAnswer ShowMessage(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::Warning);

// Installs a sink (not owned) and returns the previous one; nullptr restores standard error.
IMessageSink* SetMessageSink(IMessageSink* sink);

// Prints every message to standard error and answers with the first button (OK or Yes).
class StderrMessageSink : public IMessageSink {
public:
    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) override;
};

// Installs a sink for the lifetime of this object and restores the previous one afterwards.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(IMessageSink* sink) : m_previous(SetMessageSink(sink)) {}
    ~ScopedMessageSink() { SetMessageSink(m_previous); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    IMessageSink* m_previous;
};

}  // namespace zeb

#pragma once
// A message sink for tests: records every message shown and answers from a script. A message
// that nobody expected fails the running test, so a stray message box cannot go unnoticed.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "MessageSeam.h"

namespace zeb::test {

class ScriptedMessageSink : public IMessageSink {
public:
    ScriptedMessageSink() : m_scope(this) {}

    // Queues the answer for the next message; the text, when given, must match exactly.
    void Expect(const QString& text, MsgAnswer answer = MsgAnswer::Ok) {
        m_script.push_back({text, answer, true});
    }
    // Queues an answer for the next message whatever it says.
    void ExpectAny(MsgAnswer answer = MsgAnswer::Ok) { m_script.push_back({{}, answer, false}); }

    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon) override {
        m_shown.push_back(text);
        m_buttons.push_back(buttons);
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected message: " << text.toStdString();
            return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        }
        Entry e = m_script.front();
        m_script.pop_front();
        if (e.checkText) {
            EXPECT_EQ(text.toStdString(), e.text.toStdString());
        }
        return e.answer;
    }

    const std::vector<QString>& Shown() const { return m_shown; }
    const std::vector<MsgButtons>& Buttons() const { return m_buttons; }
    bool AllConsumed() const { return m_script.empty(); }

    ~ScriptedMessageSink() override {
        EXPECT_TRUE(m_script.empty()) << m_script.size() << " expected message(s) never shown";
    }

private:
    struct Entry {
        QString text;
        MsgAnswer answer;
        bool checkText;
    };
    ScopedMessageSink m_scope;
    std::deque<Entry> m_script;
    std::vector<QString> m_shown;
    std::vector<MsgButtons> m_buttons;
};

}  // namespace zeb::test

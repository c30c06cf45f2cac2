#pragma once
// The run dialog's three timers (idle poll, run poll, lamp blink) behind a small interface, so
// the sequencer that decides when to arm and kill them runs the same in the dialog, in zebctl
// and in tests that fire the ticks by hand.

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>

namespace zeb {

class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    // Arms timer `id` (0 to 2) to fire every `periodMs`; arming a running timer restarts it.
    virtual void SetTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;
    virtual bool IsArmed(int id) const = 0;
};

// Real timers in the Qt event loop; each tick calls the handler with the timer's id.
class CQtTimerHost : public QObject, public ITimerHost {
public:
    static constexpr int kTimerCount = 3;
    explicit CQtTimerHost(std::function<void(int)> onTick, QObject* parent = nullptr);

    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsArmed(int id) const override;

private:
    std::array<QTimer, kTimerCount> m_timers;
    std::function<void(int)> m_onTick;
};

}  // namespace zeb

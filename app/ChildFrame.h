#pragma once
// The window of one settings document inside the main window: it holds the summary view and
// remembers in the INI file which window state the operator chose last.

#include <QMdiSubWindow>

#include <functional>

namespace zeb {

class CZebM40SettingsDoc;
class CZebM40SettingsView;

class CChildFrame : public QMdiSubWindow {
public:
    // `view` is taken over (through the scroll area that carries it).
    explicit CChildFrame(CZebM40SettingsView* view, QWidget* parent = nullptr);

    CZebM40SettingsView* View() const { return m_view; }
    CZebM40SettingsDoc& Document() const;

    // Shrinks the window to its form once the form is filled (never enlarges it), so no empty
    // space surrounds the summary.
    void FitToForm();

    // Asked before the window closes; false keeps it open.
    void SetCanClose(std::function<bool()> canClose) { m_canClose = std::move(canClose); }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CZebM40SettingsView* m_view;
    std::function<bool()> m_canClose;
};

}  // namespace zeb

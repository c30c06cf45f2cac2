#pragma once
// Where document windows open and which window state the operator chose last, kept in the INI
// file. The position keys are only read (a value that is zero, empty or not a number keeps the
// default); the state key is written whenever the operator minimises, maximises or restores a
// document window, and read back once per run for the first document window.

#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

namespace zeb {

namespace placement {
inline const char* const kSection = "INI_SECTION_MDICHILD_X";
inline const char* const kMaximize = "MAXIMIZE";
inline const char* const kMinimize = "MINIMIZE";
inline const char* const kRestore = "RESTORE";
}  // namespace placement

// The default geometry with each stored non-zero position key put in its place.
QRect ChildGeometry(const QRect& defaults);

// The size of a document window fitted to its form once the form is filled: no larger than
// the form plus the window's frame, and never larger than `window`, the size it has. A side cut
// shorter than the form scrolls, and its scroll bar needs room on the other side.
QSize FittedWindowSize(const QSize& window, const QSize& frame, const QSize& form, int scrollBar);

// The state the operator chose, as stored: kMinimize, kMaximize or kRestore.
void StoreWindowState(const char* state);
QString StoredWindowState();

// While the program arranges the document windows itself (tiling, cascading), the states it
// changes are not the operator's choice and are not stored. One lives for one arrangement.
class CProgramArrangement {
public:
    CProgramArrangement() { ++s_nDepth; }
    ~CProgramArrangement() { --s_nDepth; }
    CProgramArrangement(const CProgramArrangement&) = delete;
    CProgramArrangement& operator=(const CProgramArrangement&) = delete;
    static bool Active() { return s_nDepth > 0; }

private:
    static int s_nDepth;
};

// The state to store when a document window goes from `before` to `now`: kMinimize,
// kMaximize or kRestore when the operator moved it into another of these three, nullptr when
// nothing is to be stored (no such change, or the program is arranging the windows).
const char* WindowStateToStore(Qt::WindowStates before, Qt::WindowStates now);

// Once per run: the first document window that asks is told whether to open maximised (when
// "MAXIMIZE" is stored); every later one is left in the default state.
class CMaximizeOnce {
public:
    bool ShouldMaximize();
    bool Used() const { return !m_bFirst; }

private:
    bool m_bFirst = true;
};

}  // namespace zeb

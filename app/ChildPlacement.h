#pragma once
// Where document windows open and which window state the operator chose last, kept in the INI
// file. The position keys are only read (a value that is zero, empty or not a number keeps the
// default); the state key is written whenever the operator minimises, maximises or restores a
// document window, and read back once per run for the first document window.

#include <QRect>
#include <QString>

namespace zeb {

namespace placement {
inline const char* const kSection = "INI_SECTION_MDICHILD_X";
inline const char* const kMaximize = "MAXIMIZE";
inline const char* const kMinimize = "MINIMIZE";
inline const char* const kRestore = "RESTORE";
}  // namespace placement

// The default geometry with each stored non-zero position key put in its place.
QRect ChildGeometry(const QRect& defaults);

// The state the operator chose, as stored: kMinimize, kMaximize or kRestore.
void StoreWindowState(const char* state);
QString StoredWindowState();

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

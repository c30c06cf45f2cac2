#pragma once
// A step's comment is shared by the operator and the EUT monitor. The monitor's part is the last
// part of the comment, from a line that begins with "monitor: "; each monitor answer replaces it
// (a PASS without text takes it away), and what the operator wrote before it is kept.

#include <QString>

namespace zeb {

// Every comment the monitor writes starts with this.
inline const char* const kMonitorCommentPrefix = "monitor: ";

// comment with its monitor part replaced by monitorText (empty: none).
QString ReplaceMonitorComment(const QString& comment, const QString& monitorText);

// The comment of a step whose verdict was still to come when the run was interrupted.
QString InterruptedVerdictComment();

}  // namespace zeb

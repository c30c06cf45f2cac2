#pragma once
// How one test step travels to the instrument: the parameter commands "PC" to "PO" with the
// step's values in the instrument's own codes.

#include <QString>
#include <QStringList>

#include "ExecData.h"

namespace zeb {

// The parameter commands of a step in the order they are sent (without the leading "QA").
// False, with an empty list, when the step's injection-return line has no code for its port
// (AC 0 to 19, DC 0 to 3): such a step is never sent.
bool StepParameterCommands(const CExecData& step, QStringList& commands);

// The two mode characters sent after "PN": coupling, sync and ring-wave impedance.
QString ModeCharacters(const CExecData& step);

// The instrument's code for an AC injection-return pair (index 0 to 19), -1 outside.
int AcLineCode(int injRet);
// The instrument's code for a DC injection-return pair (index 0 to 3), -1 outside.
int DcLineCode(int injRet);

}  // namespace zeb

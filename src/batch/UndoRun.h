#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"

#include <ostream>
#include <string>

namespace batch {

/// Whether `file` reads as a whole change file; when it does not, says why and that nothing was
/// changed. Checked before the password is asked for.
bool ReadableChangeFile(const std::string& file, std::ostream& out);

/// Undoes a change file: signs on as the user it names to the company it names (or to `company`
/// when that is given), puts back every converted record that still holds its values after, and
/// prints per kind what was put back, each record left alone or refused, and the undo's own
/// change file and log. Complete when every record was put back; incomplete when one was left
/// alone or refused or the undone run had not finished; refused, with nothing changed, for a
/// file of another company, a preview's or a damaged one; cancelled when the sign-on failed or
/// the operator interrupted it (Ctrl-C), which stops it before its next record.
ExitStatus UndoChanges(const std::string& file, const std::string& company, Workstation& station,
                       std::ostream& out);

}  // namespace batch

#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobSession.h"
#include "convert/ChangeUndo.h"

#include <memory>
#include <ostream>
#include <string>

namespace batch {

/// Opens a change file to be undone and checks what can be checked before signing on: that it is
/// a whole change file that can be undone, of `company` when that is given. When it is not, says
/// why and that nothing was changed, and gives nothing. Done before the password is asked for.
std::unique_ptr<convert::ChangeFileToUndo> OpenChangeFile(const std::string& file,
                                                          const std::string& company,
                                                          std::ostream& out);

/// Undoes a change file: signs on as the user it names to the company it was opened for (the one
/// it names unless another was given), puts back every converted record that still holds its
/// values after, and prints per kind what was put back, each record left alone or refused, and
/// the undo's own change file and log. Complete when every record was put back; incomplete when
/// one was left alone or refused or the undone run had not finished; refused, with nothing
/// changed, for a file that the company's checks refuse (changed after it was written, naming
/// what no conversion changes); cancelled when the sign-on failed or the operator interrupted it
/// (Ctrl-C), which stops it before its next record.
ExitStatus UndoChanges(convert::ChangeFileToUndo& file, Workstation& station, std::ostream& out);

}  // namespace batch

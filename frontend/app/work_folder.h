// The folder the front end and the engine work in, where DXS.DAT, jg.dat and
// the PDF files of the printouts are.
#pragma once

#include <QString>

namespace pfac::frontend {

// The name of each user's working folder under the home folder.
inline constexpr char kUserWorkFolder[] = "pfac";

// Started from a build tree (build/bin/pfac, as ./run.sh starts it in work/)
// the front end works in the current folder; installed, in the folder pfac
// under the user's home folder, wherever it was started from.
QString ChooseWorkFolder(const QString& programFolder, const QString& homeFolder, const QString& currentFolder);

// Makes the chosen folder (created on first use) the current one. False, with
// the reason in *error, when it cannot be made or entered.
bool EnterWorkFolder(QString* error);

}  // namespace pfac::frontend

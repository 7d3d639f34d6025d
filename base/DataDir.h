#pragma once
// The program directory: every file the program reads or writes on its own
// lives directly in it, named by appending to DataDir().

#include <QString>

namespace etibarix::base {

// Directory of the running executable (from /proc/self/exe), ending with "/".
// Worked out on every call, unless an override is set.
QString DataDir();

// Points the program at another data directory (the CLI's --dir, tests).
// An empty text removes the override. A missing final "/" is added.
void setDataDirOverride(const QString &dir);

} // namespace etibarix::base

#pragma once
// File-name patterns as the backup's file list uses them: "*" stands for any
// run of characters, "?" for exactly one; letters match without regard to case.

#include <QStringView>

namespace etibarix::backup {

bool matchesWildcard(QStringView pattern, QStringView name);

} // namespace etibarix::backup

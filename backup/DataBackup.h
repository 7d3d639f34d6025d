#pragma once
// The save and restore commands on the program's data directory, without any
// window: the GUI adds the file dialogs and the busy cursor, the CLI the
// terminal. Both go through the archive component BackupArchive.
//
// Restoring never touches the data until the whole archive has been
// extracted and checked: it is unpacked into a temporary directory beside the
// data (same file system), and only then are the data files replaced by
// renames. A restore that fails or is cancelled leaves the data as it was,
// and one that is killed while it swaps the files is completed or undone at
// the next start.

#include "backup/BackupCallbacks.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace etibarix::backup {

// The data files: these patterns in the data directory, in this order.
QStringList dataFilePatterns(const QString &dataDir);

struct SaveResult {
    enum Outcome { Saved, Failed, Cancelled };
    Outcome outcome = Failed;
    int errorCode = 0;    // the component's code (already shown), 0 when none
    QString message;      // a failure before the archive was created (not shown)
    QStringList volumes;  // the archive files written, first volume first
};

// Saves the data files of dataDir into archivePath (maximum compression,
// volumes of at most maxSize bytes; 0 = one file). Never throws; errors with a
// code are shown through callbacks.showError.
SaveResult SaveData(const QString &dataDir, const QString &archivePath, const BackupCallbacks &callbacks,
                    std::int32_t maxSize = 1300000);

struct RestoreResult {
    enum Outcome { Restored, Failed, Cancelled, NoArchive };
    Outcome outcome = Failed;
    int errorCode = 0;    // the component's code (already shown), 0 when none
    QStringList files;    // the files put into the data directory
};

// Finishes what a restore killed in the middle left in dataDir: a swap of
// the data files that was complete stays, any other is undone, and the
// restore's temporary directories go. Restores running in another program
// are left alone. Called at start, before the table is opened.
void RecoverInterruptedRestore(const QString &dataDir);

// Restores archivePath into dataDir. closeTable is called once, right before
// the data files are replaced, so the caller can close the open table. The
// table files (article.dbf, article.mdx in any letter case) are removed and
// every file of the archive replaces a file of the same name (letter case
// ignored); other files of dataDir stay. Errors without a code ("Cannot read
// archive", "Invalid archive type") are thrown as base::Error.
RestoreResult RestoreData(const QString &dataDir, const QString &archivePath, const BackupCallbacks &callbacks,
                          const std::function<void()> &closeTable = {});

} // namespace etibarix::backup

#pragma once
// The work of the two archive buttons at the top of the main window (the
// window connects them to saveBackup and restoreBackup): `spSauve` saves the
// data files of the program directory into a backup archive, `spCharge` puts
// them back from one. The file dialogs, the busy cursor, the disk prompts and
// the component's error boxes are shown here; the work is backup::SaveData
// and backup::RestoreData, whose restore leaves the data as they were when
// the archive turns out to be unreadable.

#include "backup/BackupCallbacks.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace etibarix::records {
class RecordDatabase;
}

namespace etibarix::backup {

// What a file dialog is asked to show.
struct FileDialogRequest {
    enum Kind { Save, Open };
    Kind kind = Save;
    QString title;           // language text 43 (save) or 42 (open)
    QString filter;          // "Etibarix (*.ebk)"
    QString defaultSuffix;   // "ebk"
    QString directory;       // where the dialog starts
};

class BackupCommands : public QObject {
    Q_OBJECT
public:
    // Returns the chosen path, empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const FileDialogRequest &request)>;

    // refreshList runs the list statement again and updates the grid.
    BackupCommands(QWidget *window, records::RecordDatabase &data, std::function<void()> refreshList);

    // The click handlers.
    void saveBackup();
    void restoreBackup();

    // Replaces the file dialogs (tests answer them without a window).
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Volume size of a save (1300000 bytes by default).
    void setMaxVolumeSize(std::int32_t size) { m_maxSize = size; }

    // The dialogs' requests in the current language.
    static FileDialogRequest SaveRequest();
    static FileDialogRequest OpenRequest();
    // The file dialog the program shows for a request.
    static QString RunFileDialog(QWidget *parent, const FileDialogRequest &request);

    // The component's boxes: its error box, and its disk prompt (true for OK).
    BackupCallbacks Callbacks();

private:
    // The chosen archive's absolute path, empty when the dialog was cancelled.
    QString chooseArchive(FileDialogRequest request);

    QWidget *m_window;
    records::RecordDatabase &m_data;
    std::function<void()> m_refreshList;
    FileChooser m_chooser;
    std::int32_t m_maxSize = 1300000;
    QString m_lastDirectory;
    bool m_busy = false;
};

} // namespace etibarix::backup

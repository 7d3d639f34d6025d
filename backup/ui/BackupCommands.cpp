#include "backup/ui/BackupCommands.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Error.h"
#include "base/ui/GeneralErrorHandler.h"
#include "backup/DataBackup.h"
#include "i18n/LanguageTable.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace etibarix::backup {

namespace {

// The busy cursor for one command; the normal one comes back however it ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

class BusyFlag {
public:
    explicit BusyFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyFlag() { m_flag = false; }
    BusyFlag(const BusyFlag &) = delete;
    BusyFlag &operator=(const BusyFlag &) = delete;

private:
    bool &m_flag;
};

FileDialogRequest request(FileDialogRequest::Kind kind, i18n::Text text)
{
    FileDialogRequest r;
    r.kind = kind;
    r.title = i18n::LangString(text);
    r.filter = QStringLiteral("Etibarix (*.ebk)");
    r.defaultSuffix = QStringLiteral("ebk");
    return r;
}

} // namespace

BackupCommands::BackupCommands(QWidget *window, records::RecordDatabase &data, std::function<void()> refreshList)
    : QObject(window), m_window(window), m_data(data), m_refreshList(std::move(refreshList)),
      m_chooser(&BackupCommands::RunFileDialog)
{
}

FileDialogRequest BackupCommands::SaveRequest()
{
    return request(FileDialogRequest::Save, i18n::Text::NameBackupFile);
}

FileDialogRequest BackupCommands::OpenRequest()
{
    return request(FileDialogRequest::Open, i18n::Text::SelectBackupFile);
}

QString BackupCommands::RunFileDialog(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setObjectName(request.kind == FileDialogRequest::Save ? QStringLiteral("SaveDialog1")
                                                                 : QStringLiteral("OpenDialog1"));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.kind == FileDialogRequest::Save) {
        // An existing archive is replaced without a question.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

BackupCallbacks BackupCommands::Callbacks()
{
    BackupCallbacks callbacks;
    callbacks.askDisk = [this](const DiskPrompt &prompt) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), prompt.text,
                        QMessageBox::Ok | QMessageBox::Cancel, m_window);
        return box.exec() == QMessageBox::Ok;
    };
    callbacks.showError = [this](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, m_window);
        box.exec();
    };
    // The windows repaint between blocks, but take no clicks or keys: a
    // command started meanwhile could reopen the table while its files are
    // being replaced.
    callbacks.processEvents = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    return callbacks;
}

QString BackupCommands::chooseArchive(FileDialogRequest request)
{
    // Both dialogs open where the last archive was chosen.
    request.directory = m_lastDirectory;
    const QString path = m_chooser(m_window, request);
    if (path.isEmpty())
        return {};
    const QString archive = QFileInfo(path).absoluteFilePath();
    m_lastDirectory = QFileInfo(archive).absolutePath();
    return archive;
}

void BackupCommands::saveBackup()
{
    if (m_busy)
        return;
    BusyFlag busy(m_busy);
    const QString archive = chooseArchive(SaveRequest());
    if (archive.isEmpty())
        return;
    // The table stays open: the component reads its files shared. Failures
    // with a code were shown by the component. One without a code (a data
    // file that cannot be opened) is told too: a save that ends silently
    // would pass for a backup that was made.
    SaveResult result;
    {
        BusyCursor cursor;
        result = SaveData(base::DataDir(), archive, Callbacks(), m_maxSize);
    }
    if (result.outcome == SaveResult::Failed && result.errorCode == 0 && !result.message.isEmpty())
        Callbacks().showError(result.message);
}

void BackupCommands::restoreBackup()
{
    if (m_busy)
        return;
    BusyFlag busy(m_busy);
    const QString archive = chooseArchive(OpenRequest());
    QString failure;
    if (!archive.isEmpty()) {
        BusyCursor cursor;
        try {
            // The archive is unpacked and checked aside first: the table is
            // closed only right before its files are replaced.
            const RestoreResult result = RestoreData(base::DataDir(), archive, Callbacks(),
                                                     [this] { store::CloseArticleTable(m_data.table()); });
            // The dialog only offers existing files; one gone since is the
            // component's unreadable archive.
            if (result.outcome == RestoreResult::NoArchive)
                failure = i18n::LangString(i18n::Text::ArchiveCannotRead);
        } catch (const base::Error &error) {
            failure = error.text();
        }
    }
    // An archive that cannot be read left the data as they were: after its
    // message the table and the list are brought up as after any restore.
    if (!failure.isEmpty())
        ui::GeneralErrorHandler::Show(failure, m_window);
    ui::GeneralErrorHandler::Run(
        [this] {
            store::OpenArticleTable(m_data.table());
            if (m_refreshList)
                m_refreshList();
        },
        m_window);
}

} // namespace etibarix::backup

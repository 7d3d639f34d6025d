// The save and restore buttons on a stand-in window, their dialogs answered
// by the test: a round trip, cancelled dialogs, an unreadable archive.

#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "base/Parameters.h"
#include "backup/ui/BackupCommands.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

class BackupCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<test::Host>(1);
        host->insert(1, "AAA", "first", "one", 2);
        host->insert(2, "BBB", "second", "two", 3);
        commands = std::make_unique<backup::BackupCommands>(&host->window(), host->data(), [this] {
            ++refreshes;
            refreshedRows = host->rows();
        });
        // The main window connects its archive buttons so.
        QObject::connect(host->find<QAbstractButton>("spSauve"), &QAbstractButton::clicked, commands.get(),
                         &backup::BackupCommands::saveBackup);
        QObject::connect(host->find<QAbstractButton>("spCharge"), &QAbstractButton::clicked, commands.get(),
                         &backup::BackupCommands::restoreBackup);
        commands->setFileChooser([this](QWidget *parent, const backup::FileDialogRequest &request) {
            requests << request;
            EXPECT_EQ(parent, &host->window());
            cursorDuringDialog = QApplication::overrideCursor() != nullptr;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void TearDown() override
    {
        commands.reset();
        host.reset();
    }
    void click(const char *name) { host->find<QAbstractButton>(name)->click(); }

    test::Watchdog watchdog{30};
    std::unique_ptr<test::Host> host;
    std::unique_ptr<backup::BackupCommands> commands;
    QStringList answers;
    QList<backup::FileDialogRequest> requests;
    bool cursorDuringDialog = false;
    int refreshes = 0;
    QList<QByteArray> refreshedRows;
};

TEST_F(BackupCommandsTest, SaveAndRestoreThroughTheButtonsBringsTheSavedRecordsBack)
{
    const QString archive = host->dir().file(QStringLiteral("saved/copy.ebk"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(archive).absolutePath()));
    const QList<QByteArray> saved = host->rows();
    ASSERT_EQ(saved.size(), 2);

    test::ModalAnswer boxes([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    answers << archive;
    click("spSauve");
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].kind, backup::FileDialogRequest::Save);
    EXPECT_EQ(requests[0].title, QStringLiteral("Indiquez le fichier de sauvegarde"));
    EXPECT_EQ(requests[0].filter, QStringLiteral("Etibarix (*.ebk)"));
    EXPECT_EQ(requests[0].defaultSuffix, QStringLiteral("ebk"));
    EXPECT_FALSE(cursorDuringDialog) << "the busy cursor comes after the dialog";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(QFileInfo(archive).isFile());
    EXPECT_EQ(refreshes, 0);

    // The table changes after the save.
    host->insert(3, "CCC", "third", "three", 1);
    host->data().commandQuery().setSql("delete from article where num=1");
    host->data().commandQuery().execSql();
    ASSERT_NE(host->rows(), saved);

    base::Parameters.Language = 2;
    answers << archive;
    click("spCharge");
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].kind, backup::FileDialogRequest::Open);
    EXPECT_EQ(requests[1].title, QStringLiteral("Select the file"));
    EXPECT_EQ(requests[1].directory, QFileInfo(archive).absolutePath()) << "starts where the last archive was";
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(refreshedRows, saved);
    EXPECT_TRUE(host->data().table().isOpen());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Saving again under the same name replaces the archive without a question.
    base::Parameters.Language = 3;
    answers << archive;
    click("spSauve");
    EXPECT_EQ(requests[2].title, QStringLiteral("Indique o nome do ficheiro de salvaguarda"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(BackupCommandsTest, CancelledDialogsChangeNothingAndTheRestoreStillRefreshes)
{
    const QList<QByteArray> before = host->rows();
    const QStringList filesBefore = QDir(host->dir().path()).entryList(QDir::Files);
    test::ModalAnswer boxes([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    click("spSauve");
    click("spCharge");
    EXPECT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].title, QStringLiteral("Sélectionnez le fichier de sauvegarde"));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(refreshedRows, before);
    EXPECT_EQ(QDir(host->dir().path()).entryList(QDir::Files), filesBefore);
}

TEST_F(BackupCommandsTest, UnreadableArchiveShowsItsErrorAndLosesNothing)
{
    const QList<QByteArray> before = host->rows();
    host->data().table().close();
    const QByteArray dbf = test::readFile(host->dir().file(QStringLiteral("article.dbf")));
    ASSERT_FALSE(dbf.isEmpty());

    struct Case {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"garbage.ebk", QByteArray("this is no archive at all, just text")},
        {"empty.ebk", QByteArray()},
        {"truncated.ebk", QByteArray("EC2\0", 4) + QByteArray(7, '\x01')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString archive = host->dir().file(QString::fromLatin1(c.name));
        ASSERT_TRUE(test::writeFile(archive, c.bytes));
        QStringList texts;
        QStringList titles;
        test::ModalAnswer boxes([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                texts << box->text();
                titles << box->windowTitle();
            }
            test::pressButton(modal, QMessageBox::Ok);
        });
        const int refreshesBefore = refreshes;
        answers << archive;
        click("spCharge");
        ASSERT_EQ(texts.size(), 1) << texts.join(u'|').toStdString();
        EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Impossible de lire l'archive"))
                    || texts[0].startsWith(QStringLiteral("Type d'archive non valide")))
            << texts[0].toStdString();
        EXPECT_EQ(titles[0], QStringLiteral("Etibarix"));
        EXPECT_EQ(refreshes, refreshesBefore + 1);
        EXPECT_EQ(refreshedRows, before);
        EXPECT_TRUE(host->data().table().isOpen());
        host->data().table().close();
        EXPECT_EQ(test::readFile(host->dir().file(QStringLiteral("article.dbf"))), dbf);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(BackupCommandsTest, SaveThatCannotOpenADataFileSaysSoAndWritesNoArchive)
{
    // A data file the save cannot open: unreadable by mode, or, for a user
    // whom modes do not stop, a link to a write-only kernel file.
    const QString locked = host->dir().file(QStringLiteral("locked.dbf"));
    ASSERT_TRUE(test::writeFile(locked, "x"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (QFile probe(locked); probe.open(QIODevice::ReadOnly)) {
        probe.close();
        QFile::remove(locked);
        const QString writeOnly = QStringLiteral("/sys/bus/pci/rescan");
        if (QFile other(writeOnly); !QFileInfo(writeOnly).isFile() || other.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "no file here that this user cannot open";
        ASSERT_TRUE(QFile::link(writeOnly, locked));
    }
    const QString archive = host->dir().file(QStringLiteral("never.ebk"));
    QStringList texts;
    test::ModalAnswer boxes([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            texts << box->windowTitle() + u'|' + box->text();
        test::pressButton(modal, QMessageBox::Ok);
    });
    answers << archive;
    click("spSauve");
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0], QStringLiteral("Error|Impossible d'ouvrir le fichier \"%1\"").arg(locked));
    EXPECT_FALSE(QFileInfo::exists(archive));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QFile::remove(locked);
}

TEST_F(BackupCommandsTest, SaveOverManyVolumesAsksForEachDiskAndRestoresThemAll)
{
    // Text that compresses badly, so that the archive needs several volumes.
    quint32 seed = 12345;
    const auto noise = [&seed](int length) {
        QByteArray text;
        for (int k = 0; k < length; ++k) {
            seed = seed * 1103515245u + 12345u;
            text += char('a' + (seed >> 16) % 26);
        }
        return text;
    };
    for (int i = 3; i < 600; ++i)
        host->insert(i, QByteArray("CB" + QByteArray::number(i)), noise(90), noise(90), i % 50);
    const QList<QByteArray> saved = host->rows();
    commands->setMaxVolumeSize(20000);
    const QString archive = host->dir().file(QStringLiteral("multi.ebk"));
    QStringList prompts;
    test::ModalAnswer boxes([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            prompts << box->text();
        test::pressButton(modal, QMessageBox::Ok);
    });
    answers << archive;
    click("spSauve");
    ASSERT_GE(prompts.size(), 1);
    EXPECT_EQ(prompts[0], QStringLiteral("Ins\u00E9rez le disque 2 et cliquez sur OK pour continuer."));
    EXPECT_TRUE(QFileInfo::exists(host->dir().file(QStringLiteral("multi.002"))));

    host->data().commandQuery().setSql("delete from article where num>10");
    host->data().commandQuery().execSql();
    prompts.clear();
    answers << archive;
    click("spCharge");
    EXPECT_GE(prompts.size(), 1);
    EXPECT_EQ(refreshedRows, saved);
}

} // namespace

TEST(BackupFileDialog, TheRealDialogsCarryTitleFilterAndExtension)
{
    test::Watchdog watchdog(30);
    test::DataDir dir;
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("old.ebk")), "x"));
    struct Case {
        backup::FileDialogRequest request;
        QString typed;
        QString chosen;
        QFileDialog::AcceptMode mode;
    } cases[] = {
        // A name without extension gets ".ebk"; an existing archive is replaced
        // without a question.
        {backup::BackupCommands::SaveRequest(), QStringLiteral("new"), dir.file(QStringLiteral("new.ebk")),
         QFileDialog::AcceptSave},
        {backup::BackupCommands::SaveRequest(), QStringLiteral("old.ebk"), dir.file(QStringLiteral("old.ebk")),
         QFileDialog::AcceptSave},
        {backup::BackupCommands::OpenRequest(), QStringLiteral("old.ebk"), dir.file(QStringLiteral("old.ebk")),
         QFileDialog::AcceptOpen},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        c.request.directory = dir.path();
        int dialogs = 0;
        test::ModalAnswer answer([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog) {
                ADD_FAILURE() << "unexpected window " << modal->windowTitle().toStdString();
                test::pressButton(modal, QMessageBox::No);
                return;
            }
            if (++dialogs > 1) {
                // The dialog refused the name: give up rather than type it again.
                dialog->close();
                return;
            }
            EXPECT_EQ(dialog->windowTitle(), c.request.title);
            EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Etibarix (*.ebk)")});
            EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("ebk"));
            EXPECT_EQ(dialog->acceptMode(), c.mode);
            EXPECT_EQ(dialog->objectName(), c.mode == QFileDialog::AcceptSave ? QStringLiteral("SaveDialog1")
                                                                              : QStringLiteral("OpenDialog1"));
            EXPECT_EQ(dialog->fileMode(),
                      c.mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(c.typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString chosen = backup::BackupCommands::RunFileDialog(nullptr, c.request);
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(QDir::cleanPath(chosen), QDir::cleanPath(c.chosen));
    }
}

// The CSV import wizard: defaults, page changes, the no-file message, the
// file dialog, previewing and importing, the final message, and the wizard
// staying put while an import runs.

#include "tests/support/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "i18n/LanguageTable.h"
#include "i18n/ui/FontApplier.h"
#include "records/ui/ImportWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <cstdio>

using namespace etibarix;

namespace {

class ImportWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::setDataDirOverride(dir.path());
        i18n::ClearLanguageTable();
        base::Parameters.Language = 1;
        data = std::make_unique<records::RecordDatabase>();
        wizard = std::make_unique<records::ImportWizard>();
        wizard->SetCommandQuery(&data->commandQuery());
    }
    void TearDown() override
    {
        wizard.reset();
        data->table().close();
        data.reset();
        base::Parameters.Language = 1;
        base::setDataDirOverride({});
    }

    template <typename T>
    T *child(const char *name)
    {
        T *w = wizard->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox *combo(const char *name) { return child<QComboBox>(name); }
    QPushButton *button(const char *name) { return child<QPushButton>(name); }
    QString cell(int row, int column)
    {
        const QAbstractItemModel *m = child<QTableView>("sgrille1")->model();
        return m->data(m->index(row, column)).toString();
    }
    int gridRows() { return child<QTableView>("sgrille1")->model()->rowCount(); }
    // The visible page of the page control (0 or 1).
    int visiblePage() { return child<QStackedWidget>("PageControl1")->currentIndex(); }
    void open()
    {
        wizard->show();
        QCoreApplication::processEvents();
    }
    QString csv(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.file(name);
        EXPECT_TRUE(test::writeFile(path, bytes));
        return path;
    }
    int recordCount()
    {
        store::Query &q = data->listQuery();
        q.close();
        q.setSql("select * from article");
        q.open();
        const int n = q.recordCount();
        q.close();
        return n;
    }

    test::DataDir dir;
    std::unique_ptr<records::RecordDatabase> data;
    std::unique_ptr<records::ImportWizard> wizard;
};

TEST_F(ImportWizardTest, OpensWithItsDefaultsAndTexts)
{
    open();
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Importation données à partir de fichier csv"));
    EXPECT_EQ(wizard->size(), QSize(616, 318));
    EXPECT_EQ(combo("combSepa")->currentText(), QStringLiteral(","));
    EXPECT_EQ(combo("combSepa")->count(), 2);
    EXPECT_EQ(combo("CombnbLentete")->currentText(), QStringLiteral("0"));
    EXPECT_EQ(combo("CombnbLentete")->count(), 7);
    EXPECT_EQ(combo("combcb")->count(), 10);
    EXPECT_EQ(combo("combcb")->currentText(), QStringLiteral("Champs 1"));
    EXPECT_EQ(combo("combt1")->currentText(), QStringLiteral("Champs 2"));
    EXPECT_EQ(combo("combt2")->currentText(), QStringLiteral("Champs 3"));
    EXPECT_EQ(combo("combt2")->count(), 11);
    EXPECT_EQ(combo("combt2")->itemText(9), QStringLiteral("Champs 10"));
    EXPECT_EQ(combo("combQuantite")->currentText(), QStringLiteral("Pas de champs"));
    EXPECT_EQ(combo("combQuantite")->currentIndex(), 10);

    const QHeaderView *header = child<QTableView>("sgrille1")->horizontalHeader();
    EXPECT_EQ(header->count(), 10);
    EXPECT_EQ(header->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("CHPS 1"));
    EXPECT_EQ(header->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("CHPS 10"));
    EXPECT_EQ(header->model()->headerData(0, Qt::Vertical).toString(), QString());
    EXPECT_EQ(gridRows(), 1);
    EXPECT_EQ(cell(0, 0), QString());

    EXPECT_EQ(wizard->CurrentPage(), 1);
    EXPECT_EQ(visiblePage(), 0);
    EXPECT_FALSE(button("bprecedent")->isEnabled());
    EXPECT_TRUE(button("bsuivant")->isEnabled());
    EXPECT_FALSE(button("bimport")->isVisible());
    EXPECT_TRUE(button("sretour")->text().isEmpty());

    const std::pair<const char *, const char *> texts[] = {
        {"Labseparateur", "Séparateur de champs"}, {"labligne", "Ligne d''entete à ne pas prendre en compte"},
        {"labinfo", "Seuls les 10 premiers champs seront pris en compte"}, {"LabchemFicLabel", "Chemin d''accès au fichier"},
        {"labcodebarre", "Code Barre"}, {"labtext1", "Texte 1"}, {"Labtext2", "Texte 2"}, {"labquantite", "Quantité"}};
    for (const auto &[name, text] : texts)
        EXPECT_EQ(child<QLabel>(name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(child<QGroupBox>("gparametre")->title(), QStringLiteral("Parametre d''importation"));
    EXPECT_EQ(child<QGroupBox>("gparchamp")->title(), QStringLiteral("Paramétrage des champs"));
    EXPECT_EQ(button("Souvrir")->text(), QStringLiteral("Ouvrir le fichier"));
    EXPECT_EQ(button("bprecedent")->text(), QStringLiteral("Précédent"));
    EXPECT_EQ(button("bsuivant")->text(), QStringLiteral("Suivant"));
    EXPECT_EQ(button("bimport")->text(), QStringLiteral("Lancer l''importation"));
}

// The path's edit has an attached label: an interface font reaches it, as it
// reaches the labels, lists and picture buttons; the plain button that opens
// the file dialog keeps its own.
TEST_F(ImportWizardTest, InterfaceFontReachesThePathEditWithItsLabel)
{
    const QString face = QStringLiteral("Liberation Serif");
    const QString before = button("Souvrir")->font().family();
    ASSERT_NE(before, face);
    ASSERT_NE(child<QLineEdit>("LabchemFic")->font().family(), face);
    i18n::FontApplier().ApplyToChildren(wizard.get(), face, 0, 1);
    for (const char *name : {"LabchemFic", "LabchemFicLabel", "combSepa", "bsuivant", "sgrille1", "gparametre"})
        EXPECT_EQ(child<QWidget>(name)->font().family(), face) << name;
    EXPECT_EQ(button("Souvrir")->font().family(), before);
    EXPECT_TRUE(button("Souvrir")->icon().isNull());
}

TEST_F(ImportWizardTest, NextWithoutAFileSaysSoAndStays)
{
    open();
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    button("bsuivant")->click();
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Abandon Opération"));
    EXPECT_EQ(answer.lastText(), QStringLiteral("Le chemin d acces au fichier n est pas precisé"));
    EXPECT_EQ(wizard->CurrentPage(), 1);
    EXPECT_EQ(visiblePage(), 0);
}

TEST_F(ImportWizardTest, FileDialogSetsThePathKeptAsChosen)
{
    const QString path = csv(QStringLiteral("Mixed.csv"), "a\n");
    open();
    QString title, filter, suffix;
    {
        test::ModalAnswer answer([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            filter = dialog->nameFilters().join(u'|');
            suffix = dialog->defaultSuffix();
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(dialog->objectName(), QStringLiteral("OpenDialog1"));
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();   // QFileDialog's own accept is protected
        });
        button("Souvrir")->click();
        ASSERT_EQ(answer.count(), 1);
    }   // one answer at a time: a second one would take the next dialog too
    EXPECT_EQ(title, QStringLiteral("Sélectionnez le fichier csv"));
    EXPECT_EQ(filter, QStringLiteral("fichier csv (*.csv)"));
    EXPECT_EQ(suffix, QStringLiteral("csv"));
    EXPECT_EQ(wizard->ChosenPath(), path);
    EXPECT_EQ(child<QLineEdit>("LabchemFic")->text(), path.toUpper());
    EXPECT_TRUE(child<QLineEdit>("LabchemFic")->isReadOnly());

    // Cancelling changes nothing.
    test::ModalAnswer cancel([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    button("Souvrir")->click();
    EXPECT_EQ(cancel.count(), 1);
    EXPECT_EQ(wizard->ChosenPath(), path);
}

TEST_F(ImportWizardTest, PreviewSkipsHeaderAndBlankLinesAndPagesKeepChoices)
{
    const QString path = csv(QStringLiteral("data.csv"), "\nCode;Name\n  \nsecond header\nA1;Nail;x;4\n\nB2;\"Screw\";;7\r\n");
    open();
    wizard->SetChosenPath(path);
    combo("combSepa")->setCurrentIndex(1);
    combo("CombnbLentete")->setCurrentIndex(2);
    button("bsuivant")->click();
    EXPECT_EQ(wizard->CurrentPage(), 2);
    EXPECT_EQ(visiblePage(), 1);
    EXPECT_TRUE(button("bprecedent")->isEnabled());
    EXPECT_FALSE(button("bsuivant")->isEnabled());
    EXPECT_TRUE(button("bimport")->isVisible());
    ASSERT_EQ(gridRows(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("A1"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("4"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("\"Screw\""));
    EXPECT_EQ(cell(1, 2), QString());
    EXPECT_EQ(cell(1, 9), QString());

    combo("combQuantite")->setCurrentIndex(3);
    button("bprecedent")->click();
    EXPECT_EQ(wizard->CurrentPage(), 1);
    EXPECT_EQ(visiblePage(), 0);
    EXPECT_FALSE(button("bimport")->isVisible());
    EXPECT_EQ(combo("combQuantite")->currentIndex(), 3);
    EXPECT_EQ(combo("CombnbLentete")->currentIndex(), 2);

    // Back to page 2 with one header line less: the preview is read again.
    combo("CombnbLentete")->setCurrentIndex(1);
    button("bsuivant")->click();
    ASSERT_EQ(gridRows(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("second header"));
}

TEST_F(ImportWizardTest, PreviewFollowsTheChosenEncoding)
{
    const QString path = csv(QStringLiteral("utf8.csv"), "\xEF\xBB\xBF" "A1,Cr\xC3\xA8me\n");
    open();
    EXPECT_EQ(combo("encodingList")->currentIndex(), 0);
    EXPECT_FALSE(wizard->findChild<QCheckBox *>(QStringLiteral("skipExistingBox"))->isChecked());
    wizard->SetChosenPath(path);
    const struct {
        int encoding;
        QString first, second;
    } cases[] = {
        {0, QStringLiteral("A1"), QStringLiteral("Cr\u00E8me")},
        {1, QStringLiteral("A1"), QStringLiteral("Cr\u00E8me")},
        {2, QStringLiteral("\u00EF\u00BB\u00BF" "A1"), QStringLiteral("Cr\u00C3\u00A8me")},
    };
    for (const auto &c : cases) {
        combo("encodingList")->setCurrentIndex(c.encoding);
        button("bsuivant")->click();
        ASSERT_EQ(gridRows(), 1);
        EXPECT_EQ(cell(0, 0), c.first) << c.encoding;
        EXPECT_EQ(cell(0, 1), c.second) << c.encoding;
        button("bprecedent")->click();
    }
}

TEST_F(ImportWizardTest, MissingFileStillGoesToPageTwoWithAnEmptyGrid)
{
    const QString path = csv(QStringLiteral("gone.csv"), "a,b\nc,d\n");
    open();
    wizard->SetChosenPath(path);
    button("bsuivant")->click();
    EXPECT_EQ(gridRows(), 2);
    button("bprecedent")->click();
    QFile::remove(path);
    button("bsuivant")->click();
    EXPECT_EQ(wizard->CurrentPage(), 2);
    EXPECT_EQ(gridRows(), 1);
    EXPECT_EQ(cell(0, 0), QString());
}

TEST_F(ImportWizardTest, UnreadableFileShowsTheReadersErrorAndStaysOnPageOne)
{
    open();
    wizard->SetChosenPath(dir.path());   // a directory cannot be read as a file
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    button("bsuivant")->click();
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Etibarix"));
    EXPECT_TRUE(answer.lastText().startsWith(QStringLiteral("Impossible d'ouvrir le fichier \""))) << answer.lastText().toStdString();
    EXPECT_EQ(wizard->CurrentPage(), 1);
}

TEST_F(ImportWizardTest, ImportsWithTheFinalMessageAndCloses)
{
    const QString path =
        csv(QStringLiteral("Stock.csv"), "barcode,text,qty\n\nABC,Nail,5\n\nDEF,\"Screw\",x\r\n  \nGHI,Bolt,12\n");
    open();
    wizard->SetChosenPath(path);
    combo("CombnbLentete")->setCurrentIndex(1);
    button("bsuivant")->click();
    ASSERT_EQ(gridRows(), 3);
    combo("combt2")->setCurrentIndex(10);
    combo("combQuantite")->setCurrentIndex(2);

    bool busyWhileAsked = false;
    QString progressWhileAsked, title, text;
    int boxes = 0;
    {
        test::ModalAnswer answer([&](QWidget *modal) {
            // The wizard itself is modal: met while the import processes events,
            // it must refuse to close.
            if (modal == wizard.get()) {
                wizard->reject();
                wizard->close();
                EXPECT_TRUE(wizard->isVisible());
                return;
            }
            ++boxes;
            title = modal->windowTitle();
            text = qobject_cast<QMessageBox *>(modal)->text();
            // The import is still running while its final message shows.
            busyWhileAsked = wizard->Importing() && !button("bimport")->isEnabled() && !button("sretour")->isEnabled()
                && !button("bprecedent")->isEnabled();
            progressWhileAsked = child<QLabel>("Labetatimport")->text();
            test::saveShot(wizard.get(), QStringLiteral("import-running-fr"));
            test::saveShot(modal, QStringLiteral("import-final-fr"));
            wizard->reject();
            wizard->close();
            EXPECT_TRUE(wizard->isVisible());
            test::pressButton(modal, QMessageBox::Ok);
        });
        button("bimport")->click();
    }   // gone before the wizard opens again, or it would close it
    ASSERT_EQ(boxes, 1);
    EXPECT_EQ(title, QStringLiteral("Importation terminée"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Nombre de fiches importées: 3\n\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("n'\u00e9tait pas un nombre entier dans la ligne de donn\u00e9es 2")));
    EXPECT_TRUE(busyWhileAsked);
    EXPECT_EQ(progressWhileAsked, QStringLiteral("Nombre de fiches importées: 3"));
    EXPECT_EQ(child<QLabel>("Labetatimport")->text(), QString());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(recordCount(), 3);
    EXPECT_EQ(wizard->LastResult().recordsStored, 3);

    // The next opening resets the choices but keeps the path.
    open();
    EXPECT_EQ(wizard->ChosenPath(), path);
    EXPECT_EQ(child<QLineEdit>("LabchemFic")->text(), path.toUpper());
    EXPECT_EQ(combo("CombnbLentete")->currentIndex(), 0);
    EXPECT_EQ(combo("combQuantite")->currentIndex(), 10);
    EXPECT_EQ(gridRows(), 1);
    EXPECT_EQ(wizard->CurrentPage(), 1);
}

TEST_F(ImportWizardTest, CleanImportMessageIsTheCountAlone)
{
    base::Parameters.Language = 2;
    const QString path = csv(QStringLiteral("three.csv"), "a,b,c\nd,e,f\ng,h,i\n");
    open();
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Data importation from csv files"));
    EXPECT_EQ(combo("combQuantite")->currentText(), QStringLiteral("No field"));
    wizard->SetChosenPath(path);
    button("bsuivant")->click();
    int boxes = 0;
    QString title, text;
    test::ModalAnswer answer([&](QWidget *modal) {
        if (modal == wizard.get())
            return;   // the wizard is modal too, and met while the import processes events
        ++boxes;
        title = modal->windowTitle();
        text = qobject_cast<QMessageBox *>(modal)->text();
        test::pressButton(modal, QMessageBox::Ok);
    });
    button("bimport")->click();
    ASSERT_EQ(boxes, 1);
    EXPECT_EQ(title, QStringLiteral("End of Import"));
    EXPECT_EQ(text, QStringLiteral("Number of barcods imported: 3"));
    EXPECT_EQ(recordCount(), 3);
}

TEST_F(ImportWizardTest, CloseBoxAndEscapeCloseWhenIdle)
{
    open();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(wizard.get(), &escape);
    EXPECT_FALSE(wizard->isVisible());
    open();
    button("sretour")->click();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
}

} // namespace

namespace {

// A timing run by hand, not part of the suite (speed is checked by the
// benchmarks):  test_import_ui --gtest_also_run_disabled_tests
//               --gtest_filter='*HundredThousand*'
TEST_F(ImportWizardTest, DISABLED_HundredThousandLinesTimedByHand)
{
    constexpr int lines = 100000;
    QByteArray bytes = "barcode;text 1;text 2;quantity\r\n";
    for (int i = 0; i < lines; ++i)
        bytes += "3" + QByteArray::number(100000000000LL + i) + ";Article " + QByteArray::number(i % 5000) + ";Rayon "
            + char('A' + i % 26) + ";" + QByteArray::number(i % 20) + "\r\n";
    const QString path = csv(QStringLiteral("big.csv"), bytes);
    open();
    wizard->SetChosenPath(path);
    combo("combSepa")->setCurrentIndex(1);
    combo("CombnbLentete")->setCurrentIndex(1);
    QElapsedTimer timer;
    timer.start();
    button("bsuivant")->click();
    const qint64 preview = timer.restart();
    ASSERT_EQ(gridRows(), lines);
    combo("combQuantite")->setCurrentIndex(3);
    qint64 import = 0;
    test::ModalAnswer answer([&](QWidget *modal) {
        if (modal == wizard.get())
            return;
        import = timer.elapsed();
        test::pressButton(modal, QMessageBox::Ok);
    });
    button("bimport")->click();
    EXPECT_EQ(wizard->LastResult().recordsStored, lines);
    std::printf("preview of %d lines: %lld ms; import through the wizard: %lld ms\n", lines,
        static_cast<long long>(preview), static_cast<long long>(import));
}

} // namespace

namespace {

// In each language, both pages with a preview loaded: every caption fits its
// control (pictures saved when ETIBARIX_SHOT_DIR is set).
TEST_F(ImportWizardTest, TextsFitInEveryLanguage)
{
    // The file's bytes are Windows-1252, as the import reads them.
    const QString path = csv(QStringLiteral("Stock.csv"),
        *base::toCp1252(QStringLiteral("Code;Désignation;Rayon;Qté\n3012345678901;Clou 40 mm;Quincaillerie;12\n"
                                      "3012345678902;Vis à bois;Quincaillerie;5\n\n3012345678903;\"Écrou M6\";;x\n")));
    const char *names[] = {"fr", "en", "pt"};
    for (int language = 1; language <= 3; ++language) {
        SCOPED_TRACE(language);
        base::Parameters.Language = language;
        open();
        wizard->SetChosenPath(path);
        combo("combSepa")->setCurrentIndex(1);
        combo("CombnbLentete")->setCurrentIndex(1);
        QCoreApplication::processEvents();
        const auto checkFits = [&] {
            for (const QLabel *label : wizard->findChildren<QLabel *>()) {
                if (!label->isVisibleTo(wizard.get()) || label->text().isEmpty())
                    continue;
                const int needed = label->wordWrap() ? label->minimumSizeHint().width() : label->sizeHint().width();
                EXPECT_LE(needed, label->width()) << label->objectName().toStdString();
                if (label->wordWrap()) {
                    EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->objectName().toStdString();
                }
            }
            for (const QPushButton *b : wizard->findChildren<QPushButton *>()) {
                if (b->isVisibleTo(wizard.get())) {
                    EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();
                }
            }
            for (const QGroupBox *g : wizard->findChildren<QGroupBox *>()) {
                if (g->isVisibleTo(wizard.get())) {
                    EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width()) << g->objectName().toStdString();
                }
            }
        };
        checkFits();
        test::saveShot(wizard.get(), QStringLiteral("import-page1-") + QLatin1StringView(names[language - 1]));
        button("bsuivant")->click();
        ASSERT_EQ(wizard->CurrentPage(), 2);
        QCoreApplication::processEvents();
        checkFits();
        test::saveShot(wizard.get(), QStringLiteral("import-page2-") + QLatin1StringView(names[language - 1]));
        wizard->hide();
    }
}

} // namespace

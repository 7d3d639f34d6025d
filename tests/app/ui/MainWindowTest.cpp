// The main window's life: creation, first show, first activation (fonts,
// parameters, language choice, texts, restored selections), later
// activations, the Appliquer button, the top-row buttons and the exit.

#include "tests/support/UiTestSupport.h"

#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Parameters.h"
#include "app/ui/ProgramWindows.h"
#include "base/ui/SelectComboItem.h"
#include "app/ui/MainWindow.h"
#include "i18n/LanguageTable.h"
#include "i18n/ui/QtTranslation.h"
#include "i18n/ui/LanguageChoiceDialog.h"
#include "info/ui/AboutBox.h"
#include "records/RecordStatements.h"
#include "records/ui/RecordsTab.h"
#include "records/ui/RecordDialog.h"
#include "records/ui/ImportWizard.h"
#include "labels/formats/LabelFormats.h"
#include "labels/ui/LabelFormatCombo.h"
#include "labels/ui/PrintTab.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Readable failure messages for texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace etibarix;
using namespace Qt::Literals::StringLiterals;

namespace {

// Keeps activation news from a window.
class ActivationSwallower : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowActivate;
    }
};

QByteArray parameterFile(int language, int codeSet, int formatIndex, const QByteArray &printer)
{
    QByteArray par(120, '\0');
    par[0] = 3;
    par.replace(1, 3, "EBP");
    auto put = [&par](int offset, int value) {
        for (int i = 0; i < 4; ++i)
            par[offset + i] = static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xFF);
    };
    put(4, language);
    put(8, codeSet);
    put(12, formatIndex);
    par[16] = static_cast<char>(printer.size());
    par.replace(17, printer.size(), printer);
    return par.left(120);
}

int intAt(const QByteArray &bytes, int offset)
{
    unsigned value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<unsigned>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return static_cast<int>(value);
}

bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    for (int waited = 0; !done(); waited += 5) {
        if (waited >= timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QApplication::setQuitOnLastWindowClosed(false);
        base::setDataDirOverride(m_dir.path());
        base::Parameters.Clear();
        i18n::ClearLanguageTable();
    }

    void TearDown() override
    {
        m_windows.reset();
        base::setDataDirOverride(QString());
        base::Parameters.Clear();
        i18n::ClearLanguageTable();
        i18n::ApplyQtTranslation(2);
    }

    app::MainWindow &create()
    {
        m_windows = std::make_unique<app::ProgramWindows>();
        return m_windows->Fprincip();
    }

    app::MainWindow &window() { return m_windows->Fprincip(); }

    // Shows the main window as the message loop does at start and waits for
    // the end of its first activation.
    bool start()
    {
        window().show();
        window().activateWindow();
        return waitFor([this] { return !window().FirstActivation(); });
    }

    // Another window takes the focus, then the main window gets it back.
    bool activateAgain()
    {
        QWidget other;
        other.show();
        other.activateWindow();
        if (!waitFor([&other] { return other.isActiveWindow(); }))
            return false;
        window().activateWindow();
        return waitFor([this] { return window().isActiveWindow(); });
    }

    template <typename T>
    T *find(const char *name)
    {
        T *found = window().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QStringList tabCaptions()
    {
        auto *tabs = find<QTabWidget>("PagePrincipal");
        return {tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)};
    }

    QString file(const char *name) const { return m_dir.file(QString::fromLatin1(name)); }

    // Stores a record behind the list's back: it shows at the next refresh.
    void insert(int num, const QByteArray &cb, const QByteArray &lib1)
    {
        store::Query &command = window().database().commandQuery();
        command.close();
        command.setSql(records::InsertStatement(num, {cb, lib1, "", 1, "O"}));
        command.execSql();
    }

    void writeLanguageFile(const QByteArray &fontName)
    {
        QByteArray lg = "Langue;Test\nPolice;" + fontName + "\nJeu;0\nh\nh\nh\nh\nh\nh\nh\n";
        for (int n = 1; n <= 137; ++n)
            lg += QByteArray::number(n) + ";L" + QByteArray::number(n) + "\r\n";
        ASSERT_TRUE(test::writeFile(file("etibarix.lg"), lg));
    }

    test::DataDir m_dir;
    std::unique_ptr<app::ProgramWindows> m_windows;
};

TEST_F(MainWindowTest, HoldsEveryControlUnderItsName)
{
    create();
    const struct {
        const char *type;
        QStringList names;
    } groups[] = {
        {"QAbstractButton",
         {u"spCharge"_s, u"spSauve"_s, u"sbinfos"_s, u"spAide"_s, u"Squitter"_s, u"SpeedButton1"_s, u"sAjout"_s, u"smodif"_s, u"ssupprime"_s,
          u"bimport"_s, u"btimprime"_s, u"btappliquer"_s, u"sdetruiretoutedonnee"_s}},
        {"QLineEdit", {u"TexCb"_s, u"text1"_s, u"text2"_s}},
        {"QRadioButton",
         {u"Ratop"_s, u"ranontop"_s, u"Ratoutes"_s, u"Ratoutefiche"_s, u"Rafichem"_s, u"RCodea"_s, u"RCodeb"_s, u"RCodeC"_s, u"lfrancais"_s,
          u"langlais"_s, u"lportugais"_s}},
        {"QCheckBox", {u"topimpTexte1"_s, u"topimpTexte2"_s}},
        {"QComboBox", {u"CombListeEtiquette"_s, u"CombImprimante"_s}},
        {"QGroupBox", {u"gbcritere"_s, u"gpImp"_s, u"gbcritsup"_s, u"GrType"_s, u"Gimprimante"_s, u"gbpcodbar"_s, u"GLangue"_s, u"gpopexe"_s}},
        {"QTableView", {u"s"_s}},
        {"QStatusBar", {u"StatusBar1"_s}},
        {"QWidget", {u"Tabcompte"_s, u"Tabachatremb"_s, u"tabpara"_s, u"tabopdiv"_s}},
    };
    for (const auto &group : groups) {
        for (const QString &name : group.names) {
            const auto found = window().findChildren<QWidget *>(name);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            EXPECT_TRUE(found.first()->inherits(group.type)) << name.toStdString() << " is no " << group.type;
        }
    }
    EXPECT_EQ(window().objectName(), QStringLiteral("Fprincip"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Etibarix"));
    EXPECT_EQ(window().size(), QSize(762, 611));
    // The print button sits in a horizontal layout of its group, where the
    // print controller adds its other buttons.
    auto *print = find<QGroupBox>("gbpcodbar");
    auto *row = qobject_cast<QHBoxLayout *>(print->layout());
    ASSERT_NE(row, nullptr);
    EXPECT_GE(row->indexOf(find<QWidget>("btimprime")), 0);
    // Start states of the design.
    EXPECT_TRUE(find<QRadioButton>("Ratoutes")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("Rafichem")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("RCodea")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("topimpTexte1")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("topimpTexte2")->isChecked());
    EXPECT_EQ(find<QLineEdit>("TexCb")->maxLength(), 13);
    EXPECT_EQ(find<QLineEdit>("text1")->maxLength(), 100);
    EXPECT_EQ(find<QTabWidget>("PagePrincipal")->currentIndex(), 0);
    EXPECT_EQ(window().importWindow(), &m_windows->importWizard());
    // Created once: the main window first, the rest hidden.
    EXPECT_FALSE(m_windows->aboutBox().isVisible());
    EXPECT_FALSE(m_windows->languageChoice().isVisible());
    EXPECT_FALSE(m_windows->importWizard().isVisible());
    // Creation filled the format list in French and selected its first entry.
    auto *formats = find<QComboBox>("CombListeEtiquette");
    EXPECT_EQ(formats->count(), labels::LabelFormats::Count);
    EXPECT_EQ(formats->currentIndex(), 0);
    EXPECT_EQ(labels::SelectedLabelFormat(*formats), 8);
    EXPECT_EQ(find<QComboBox>("CombImprimante")->currentIndex(), -1);
}

TEST_F(MainWindowTest, FirstStartInAnEmptyDirectoryAsksForTheLanguage)
{
    const struct {
        const char *choice;   // nullptr: closed with the close box, untouched
        int language;
        QStringList tabs;
        const char *checked;
    } cases[] = {
        {"langlais", 2, {u"Datas"_s, u"Printing"_s, u"Parameters"_s}, "langlais"},
        {"lportugais", 3, {u"Gestão das fichas"_s, u"Imprimir"_s, u"Parâmetros"_s}, "lportugais"},
        {nullptr, 1, {u"Gestion des fiches"_s, u"Impression"_s, u"Parametres"_s}, "lfrancais"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice ? c.choice : "close box");
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        base::Parameters.Clear();
        i18n::ClearLanguageTable();
        create();

        QStringList captionsWhenAsked;
        bool tableOpenWhenAsked = false;
        test::ModalAnswer answer([&](QWidget *modal) {
            captionsWhenAsked = tabCaptions();
            tableOpenWhenAsked = window().database().table().isOpen();
            if (c.choice != nullptr) {
                modal->findChild<QRadioButton *>(QString::fromLatin1(c.choice))->setChecked(true);
                modal->findChild<QPushButton *>(QStringLiteral("boutok"))->click();
            } else {
                modal->close();
            }
        });
        ASSERT_TRUE(start());
        ASSERT_EQ(answer.count(), 1);
        EXPECT_EQ(answer.lastTitle(), QStringLiteral("Langue / Language selection"));
        // Asked before the texts were applied: the design captions stood then.
        EXPECT_EQ(captionsWhenAsked,
                  (QStringList{QStringLiteral("Gestion des Fiches"), QStringLiteral("Impression"),
                               QStringLiteral("Paramètres")}));
        EXPECT_TRUE(tableOpenWhenAsked);   // the show handler ran first
        EXPECT_EQ(tabCaptions(), c.tabs);
        EXPECT_TRUE(find<QRadioButton>(c.checked)->isChecked());
        EXPECT_TRUE(QFile::exists(file("article.dbf")));
        EXPECT_TRUE(window().database().table().isOpen());
        EXPECT_FALSE(QFile::exists(file("ETIBARIX.PAR")));

        find<QToolButton>("Squitter")->click();
        EXPECT_FALSE(window().isVisible());
        EXPECT_FALSE(window().database().table().isOpen());
        const QByteArray par = test::readFile(file("ETIBARIX.PAR"));
        ASSERT_EQ(par.size(), 120);
        EXPECT_EQ(par.left(4), QByteArray("\x03" "EBP"));
        EXPECT_EQ(intAt(par, 4), c.language);
        EXPECT_EQ(intAt(par, 8), 1);
        EXPECT_EQ(intAt(par, 12), 0);
        EXPECT_EQ(par[16], '\0');
        m_windows.reset();
    }
}

TEST_F(MainWindowTest, LaterActivationsChangeNothing)
{
    create();
    test::ModalAnswer answer([](QWidget *modal) {
        modal->findChild<QRadioButton *>(QStringLiteral("langlais"))->setChecked(true);
        modal->close();
    });
    ASSERT_TRUE(start());
    ASSERT_EQ(answer.count(), 1);

    // Changes the user makes, and a parameter file that appears meanwhile.
    find<QComboBox>("CombListeEtiquette")->setCurrentIndex(6);
    find<QRadioButton>("lportugais")->setChecked(true);
    find<QRadioButton>("RCodeb")->setChecked(true);
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(3, 3, 2, "x")));

    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(activateAgain());
        EXPECT_EQ(answer.count(), 1);
        EXPECT_EQ(tabCaptions(), (QStringList{QStringLiteral("Datas"), QStringLiteral("Printing"),
                                              QStringLiteral("Parameters")}));
        EXPECT_EQ(find<QComboBox>("CombListeEtiquette")->currentIndex(), 6);
        EXPECT_TRUE(find<QRadioButton>("lportugais")->isChecked());
        EXPECT_TRUE(find<QRadioButton>("RCodeb")->isChecked());
        EXPECT_EQ(base::Parameters.Language, 2);
    }
}

TEST_F(MainWindowTest, ReturnFromTheLanguageChoiceStartsNothingAgain)
{
    create();
    int askedAgain = 0;
    QStringList captionsOnReturn;
    test::ModalAnswer answer([&](QWidget *modal) {
        modal->findChild<QRadioButton *>(QStringLiteral("langlais"))->setChecked(true);
        modal->close();
        // The main window gets the focus back while its first activation
        // still waits for the language choice to return. Should that start
        // the sequence again, the choice would be shown a second time.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, modal, [&askedAgain, modal] {
            if (modal->isVisible()) {
                ++askedAgain;
                modal->close();
            }
        });
        closer.start(10);
        window().activateWindow();
        waitFor([this] { return window().isActiveWindow(); }, 1000);
        QTest::qWait(50);
        captionsOnReturn = tabCaptions();
    });
    ASSERT_TRUE(start());
    EXPECT_EQ(answer.count(), 1);
    EXPECT_EQ(askedAgain, 0);
    EXPECT_EQ(captionsOnReturn.at(0), QStringLiteral("Gestion des Fiches"));   // nothing applied meanwhile
    EXPECT_EQ(tabCaptions().at(0), QStringLiteral("Datas"));
}

TEST_F(MainWindowTest, StartUpWorkRunsEvenWithoutActivation)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(3, 2, 3, "")));
    create();
    // The window system never tells the window it is active.
    ActivationSwallower swallower;
    window().installEventFilter(&swallower);
    window().show();
    window().activateWindow();
    ASSERT_TRUE(waitFor([this] { return !window().FirstActivation(); }));
    EXPECT_EQ(tabCaptions().at(1), QStringLiteral("Imprimir"));
    EXPECT_EQ(find<QComboBox>("CombListeEtiquette")->currentIndex(), 3);
    EXPECT_TRUE(find<QRadioButton>("RCodeb")->isChecked());
    window().removeEventFilter(&swallower);
}

TEST_F(MainWindowTest, SavedFormatAndPrinterAreRestoredWhenTheyFit)
{
    const QStringList printers = {QStringLiteral("Laser A"), QStringLiteral("Twin"), QStringLiteral("Laser B"),
                                  QStringLiteral("Twin")};
    const struct {
        int formatIndex;
        QByteArray printer;
        QString defaultPrinter;   // the system's, empty when it has none
        int expectedFormat;
        int expectedPrinter;
    } cases[] = {
        {4, "Laser B", {}, 4, 2},
        {12, "", {}, 12, -1},               // empty name, no default printer: none
        {13, "Gone", {}, 0, -1},            // beyond the list; printer no longer installed
        {-1, "Laser A", {}, 0, 0},          // none chosen at the last exit
        {-7, "laser a", {}, 0, -1},         // names compare case-sensitively
        {1000, "Twin", {}, 0, 3},           // the last equal entry wins
        {0, "Laser A", u"Laser B"_s, 0, 0}, // an installed saved printer wins over the default
        {0, "Gone", u"Laser B"_s, 0, 2},    // a saved printer that is gone: the default
        {0, "", u"Laser B"_s, 0, 2},        // none saved: the default
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.formatIndex);
        SCOPED_TRACE(c.printer.toStdString());
        base::Parameters.Clear();
        ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(1, 3, c.formatIndex, c.printer)));
        create();
        // A known list in place of the machine's queues, which other tests
        // running meanwhile may add to.
        window().printTab()->setPrinterSource([&] { return labels::PrinterList{printers, c.defaultPrinter}; });
        window().printTab()->FillPrinterCombo();
        test::ModalAnswer answer([](QWidget *modal) { modal->close(); });
        ASSERT_TRUE(start());
        EXPECT_EQ(answer.count(), 0);   // a parameter file existed: no question
        EXPECT_EQ(find<QComboBox>("CombListeEtiquette")->currentIndex(), c.expectedFormat);
        EXPECT_EQ(find<QComboBox>("CombImprimante")->currentIndex(), c.expectedPrinter);
        EXPECT_TRUE(find<QRadioButton>("RCodeC")->isChecked());
        m_windows.reset();
    }
}

TEST_F(MainWindowTest, ExitStoresTheSelectionsAndKeepsTheAppliedLanguage)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 2, 0, "")));
    create();
    find<QComboBox>("CombImprimante")->clear();   // not the machine's queues
    find<QComboBox>("CombImprimante")->addItems({QStringLiteral("Laser A"), QStringLiteral("Étiqueteuse")});
    ASSERT_TRUE(start());
    EXPECT_TRUE(find<QRadioButton>("RCodeb")->isChecked());
    find<QComboBox>("CombListeEtiquette")->setCurrentIndex(9);
    find<QComboBox>("CombImprimante")->setCurrentIndex(1);
    // Checked without Appliquer, and a code set never printed with: neither is stored.
    find<QRadioButton>("lportugais")->setChecked(true);
    find<QRadioButton>("RCodeC")->setChecked(true);
    window().close();

    const QByteArray par = test::readFile(file("ETIBARIX.PAR"));
    ASSERT_EQ(par.size(), 120);
    EXPECT_EQ(intAt(par, 4), 2);
    EXPECT_EQ(intAt(par, 8), 2);
    EXPECT_EQ(intAt(par, 12), 9);
    EXPECT_EQ(par.mid(16, 12), QByteArray("\x0b" "\xc9" "tiqueteuse"));

    // No format selected at exit stores -1.
    m_windows.reset();
    create();
    ASSERT_TRUE(start());
    find<QComboBox>("CombListeEtiquette")->setCurrentIndex(-1);
    window().close();
    EXPECT_EQ(intAt(test::readFile(file("ETIBARIX.PAR")), 12), -1);
}

TEST_F(MainWindowTest, UnwritableParameterFileIsToldAndTheExitGoesOn)
{
    // A directory in the file's place: it can be neither read nor replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("ETIBARIX.PAR")));
    create();
    {
        test::ModalAnswer none([](QWidget *modal) { modal->close(); });
        ASSERT_TRUE(start());
        EXPECT_EQ(none.count(), 0);   // it "existed": no language question
    }
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    window().close();
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Fichier non sauvegardé !!"));
    EXPECT_EQ(answer.lastText(), QStringLiteral("Il y a eu un problème"));
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(window().database().table().isOpen());
}

TEST_F(MainWindowTest, DamagedParameterFileIsDroppedWithoutAQuestion)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), QByteArray(119, 'x')));
    create();
    test::ModalAnswer answer([](QWidget *modal) { modal->close(); });
    ASSERT_TRUE(start());
    EXPECT_EQ(answer.count(), 0);
    EXPECT_FALSE(QFile::exists(file("ETIBARIX.PAR")));
    EXPECT_EQ(tabCaptions().at(0), QStringLiteral("Gestion des fiches"));
    window().close();
    EXPECT_EQ(test::readFile(file("ETIBARIX.PAR")).size(), 120);
}

TEST_F(MainWindowTest, LanguageFileGivesTextsAndFontAndNoQuestion)
{
    writeLanguageFile("DejaVu Serif");   // a face no control has by default
    create();
    EXPECT_TRUE(find<QGroupBox>("GLangue")->isHidden());
    test::ModalAnswer answer([](QWidget *modal) { modal->close(); });
    ASSERT_TRUE(start());
    EXPECT_EQ(answer.count(), 0);   // no parameter file, yet no question
    EXPECT_EQ(tabCaptions(), (QStringList{QStringLiteral("L8"), QStringLiteral("L9"), QStringLiteral("L10")}));
    EXPECT_FALSE(find<QGroupBox>("GLangue")->isVisible());
    find<QTabWidget>("PagePrincipal")->setCurrentIndex(2);
    test::saveShot(&window(), QStringLiteral("main-language-file-tab3"));
    find<QTabWidget>("PagePrincipal")->setCurrentIndex(0);
    test::saveShot(&window(), QStringLiteral("main-language-file-tab1"));

    const QString serif = QStringLiteral("DejaVu Serif");
    for (const char *name : {"gbcritere", "Ratop", "CombListeEtiquette", "topimpTexte1", "sAjout", "Labtypeeti",
                             "spAide", "s", "Tabachatremb", "TexCb", "text1", "text2", "labTexCb"})
        EXPECT_EQ(find<QWidget>(name)->font().family(), serif) << name;
    // Plain edits and the status bar's line keep theirs.
    EXPECT_NE(find<QLabel>("StatusLine")->font().family(), serif);
    EXPECT_NE(m_windows->recordDialog().findChild<QLineEdit *>(QStringLiteral("ecb"))->font().family(), serif);
    // Every window of the program got the font.
    EXPECT_EQ(m_windows->languageChoice().findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->font().family(), serif);
    EXPECT_EQ(m_windows->aboutBox().findChild<QWidget *>(QStringLiteral("OKButton"))->font().family(), serif);
}

TEST_F(MainWindowTest, EveryWindowTextComesFromItsNumber)
{
    writeLanguageFile("DejaVu Sans");
    create();
    ASSERT_TRUE(start());
    enum What { Caption, Hint, Tab, EditLabel, Title, MenuItem };
    const struct {
        const char *name;
        What what;
        int text;
    } rows[] = {
        {"s", Title, 45}, {"s", Title, 46}, {"s", Title, 47}, {"s", Title, 122}, {"s", Title, 121},
        {"spCharge", Hint, 1}, {"spSauve", Hint, 2}, {"sbinfos", Caption, 4}, {"sbinfos", Hint, 5},
        {"spAide", Caption, 6}, {"spAide", Hint, 7}, {"Tabcompte", Tab, 8}, {"Tabachatremb", Tab, 9},
        {"tabpara", Tab, 10}, {"gbcritere", Caption, 11}, {"TexCb", EditLabel, 12}, {"text1", EditLabel, 13},
        {"text2", EditLabel, 14}, {"gbtop", Caption, 15}, {"sAjout", Caption, 16}, {"sAjout", Hint, 17},
        {"smodif", Caption, 18}, {"smodif", Hint, 19}, {"bimport", Caption, 20}, {"bimport", Hint, 21},
        {"SpeedButton1", Hint, 22}, {"gpImp", Caption, 23}, {"Labtypeeti", Caption, 24},
        {"topimpTexte1", Caption, 25}, {"topimpTexte2", Caption, 26}, {"gbcritsup", Caption, 27},
        {"Ratoutefiche", Caption, 28}, {"Rafichem", Caption, 29}, {"gbpcodbar", Caption, 30},
        {"btimprime", Caption, 31}, {"Squitter", Hint, 32}, {"tabopdiv", Tab, 33}, {"btappliquer", Caption, 34},
        {"gpopexe", Caption, 35}, {"sdetruiretoutedonnee", Caption, 36}, {"Ratop", Caption, 115},
        {"ranontop", Caption, 116}, {"Ratoutes", Caption, 117}, {"majoutcompte", MenuItem, 16},
        {"mvisumodifcompte", MenuItem, 18}, {"msupprimecompte", MenuItem, 118}, {"ssupprime", Caption, 118},
        {"ssupprime", Hint, 119}, {"Changerletop1", MenuItem, 120}, {"Gimprimante", Caption, 137},
    };
    auto *grid = find<QTableView>("s");
    int title = 1;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QString shown;
        switch (row.what) {
        case Caption: {
            QWidget *control = find<QWidget>(row.name);
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                shown = button->text();
            else if (auto *group = qobject_cast<QGroupBox *>(control))
                shown = group->title();
            else if (auto *label = qobject_cast<QLabel *>(control))
                shown = label->text();
            break;
        }
        case Hint:
            shown = find<QWidget>(row.name)->toolTip();
            break;
        case Tab: {
            QWidget *page = find<QWidget>(row.name);
            auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget());
            ASSERT_NE(tabs, nullptr);
            shown = tabs->tabText(tabs->indexOf(page));
            break;
        }
        case EditLabel: {
            QWidget *edit = find<QWidget>(row.name);
            for (QLabel *label : window().findChildren<QLabel *>())
                if (label->buddy() == edit)
                    shown = label->text();
            break;
        }
        case Title:
            shown = grid->model()->headerData(title++, Qt::Horizontal).toString();
            break;
        case MenuItem: {
            auto *item = window().findChild<QAction *>(QString::fromLatin1(row.name));
            ASSERT_NE(item, nullptr);
            shown = item->text();
            break;
        }
        }
        // A hint may name the keys of its command after it: "L17 (Inser)".
        const QString expected = QStringLiteral("L%1").arg(row.text);
        EXPECT_TRUE(shown == expected || shown.startsWith(expected + QStringLiteral(" ("))) << shown.toStdString();
    }
    // Fixed texts stay as designed.
    EXPECT_EQ(find<QRadioButton>("lportugais")->text(), QStringLiteral("Portugues"));
    EXPECT_EQ(find<QRadioButton>("RCodeC")->text(), QStringLiteral("Code C"));
}

TEST_F(MainWindowTest, AppliquerSwitchesTextsAtOnce)
{
    const QByteArray saved = parameterFile(1, 1, 5, "");
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), saved));
    create();
    ASSERT_TRUE(start());
    const struct {
        const char *button;
        int language;
        QString apply;
        QString firstTab;
        QString yes;
    } cases[] = {
        {"lportugais", 3, QStringLiteral("Aplicar"), QStringLiteral("Gestão das fichas"), QStringLiteral("Sim")},
        {"langlais", 2, QStringLiteral("Confirm"), QStringLiteral("Datas"), QStringLiteral("Yes")},
        {"lfrancais", 1, QStringLiteral("Appliquer"), QStringLiteral("Gestion des fiches"), QStringLiteral("Oui")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        auto *formats = find<QComboBox>("CombListeEtiquette");
        formats->setCurrentIndex(7);
        find<QRadioButton>(c.button)->setChecked(true);
        find<QPushButton>("btappliquer")->click();

        EXPECT_EQ(base::Parameters.Language, c.language);
        EXPECT_EQ(find<QPushButton>("btappliquer")->text(), c.apply);
        EXPECT_EQ(tabCaptions().at(0), c.firstTab);
        // The format list is rebuilt in the new language, first entry selected.
        EXPECT_EQ(formats->currentIndex(), 0);
        labels::LabelFormats expected;
        expected.BuildLabelFormats();
        QStringList items;
        for (int i = 0; i < formats->count(); ++i)
            items.append(formats->itemText(i));
        EXPECT_EQ(items, expected.Items());
        // Qt's own buttons follow.
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), c.yes);
    }
    EXPECT_EQ(test::readFile(file("ETIBARIX.PAR")), saved) << "nothing is saved before the exit";
}

TEST_F(MainWindowTest, UnopenableTableIsSilentAndHelpStillFindsItsFile)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("article.dbf")));   // not a file the table can use
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(1, 1, 0, "")));
    create();
    test::ModalAnswer answer([](QWidget *modal) { modal->close(); });
    ASSERT_TRUE(start());
    EXPECT_EQ(answer.count(), 0);
    EXPECT_FALSE(window().database().table().isOpen());
    EXPECT_EQ(store::ProgramDir(), m_dir.path());

    // The help file of the data directory comes before the program's own.
    ASSERT_TRUE(test::writeFile(file("ebk.chm"), "ITSF"));
    QList<QUrl> urls;
    window().setHelpUrlOpener([&urls](const QUrl &url) { urls.append(url); return true; });
    find<QToolButton>("spAide")->click();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls.first().toLocalFile(), m_dir.path() + QStringLiteral("ebk.chm"));
}

TEST_F(MainWindowTest, InfosShowsTheAboutBoxModally)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(3, 1, 0, "")));
    create();
    ASSERT_TRUE(start());
    test::ModalAnswer answer([](QWidget *modal) {
        modal->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    });
    find<QToolButton>("sbinfos")->click();
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("A propos"));   // the same in every language
    EXPECT_TRUE(window().isVisible());
}

TEST_F(MainWindowTest, EveryLanguageFitsTheDesignSize)
{
    create();
    {
        test::ModalAnswer choice([](QWidget *modal) {
            test::saveShot(modal, QStringLiteral("language-choice"));
            modal->close();
        });
        ASSERT_TRUE(start());
    }
    store::Query &command = window().database().commandQuery();
    const records::RecordEntry entries[] = {
        {"3760123450017", "Confiture de fraises", "Pot 370 g", 12, "O"},
        {"CODE-128", "\xc9tiquette d'essai", "", 1, "N"},
        {"0042", "Parafusos M4", "Caixa de 100", 40, "O"},
    };
    int num = 0;
    for (const records::RecordEntry &entry : entries) {
        command.close();
        command.setSql(records::InsertStatement(++num, entry, records::QuoteRule::Keep));
        command.execSql();
    }
    window().RefreshGrid();
    const struct {
        const char *button;
        const char *name;
    } languages[] = {{"lfrancais", "fr"}, {"langlais", "en"}, {"lportugais", "pt"}};
    auto *tabs = find<QTabWidget>("PagePrincipal");
    for (const auto &language : languages) {
        SCOPED_TRACE(language.name);
        find<QRadioButton>(language.button)->setChecked(true);
        find<QPushButton>("btappliquer")->click();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QTest::qWait(20);
            // The layouts would grow the window beyond its design size if
            // any text needed more room than it has.
            const QSize needed = window().minimumSizeHint();
            EXPECT_LE(needed.width(), 762) << "tab " << tab;
            EXPECT_LE(needed.height(), 611) << "tab " << tab;
            EXPECT_EQ(window().size(), QSize(762, 611));
            test::saveShot(&window(), QStringLiteral("main-%1-tab%2").arg(QLatin1String(language.name)).arg(tab + 1));
        }
        // The padding that carries the entry number must not widen the list.
        tabs->setCurrentIndex(1);
        auto *formats = find<QComboBox>("CombListeEtiquette");
        formats->showPopup();
        QTest::qWait(20);
        QWidget *popup = formats->view()->window();
        EXPECT_TRUE(popup->isVisible());
        EXPECT_LE(popup->width(), formats->width() + 40);
        test::saveShot(popup, QStringLiteral("formats-%1").arg(QLatin1String(language.name)));
        formats->hidePopup();
        EXPECT_FALSE(formats->currentText().trimmed().isEmpty());

        test::ModalAnswer about([&language](QWidget *modal) {
            test::saveShot(modal, QStringLiteral("about-%1").arg(QLatin1String(language.name)));
            modal->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        });
        find<QToolButton>("sbinfos")->click();
        EXPECT_EQ(about.count(), 1);
    }
    tabs->setCurrentIndex(0);
}

TEST_F(MainWindowTest, RecordsOfAnEarlierRunFillTheGridAtShow)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 1, 0, "")));
    create();
    ASSERT_TRUE(start());
    store::Query &command = window().database().commandQuery();
    for (int num : {1, 2, 3}) {
        command.close();
        command.setSql(records::InsertStatement(num, {"CB" + QByteArray::number(num), "one", "two", num, "N"}));
        command.execSql();
    }
    window().close();
    m_windows.reset();

    create();
    auto *grid = find<QTableView>("s");
    ASSERT_NE(grid->model(), nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 0);   // nothing read before the show
    ASSERT_TRUE(start());
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QStringLiteral("CB1"));
    // Titles in the language of the parameter file.
    QStringList titles;
    for (int column = 1; column <= 5; ++column)
        titles.append(grid->model()->headerData(column, Qt::Horizontal).toString());
    EXPECT_EQ(titles, (QStringList{u"Barcod"_s, u"Text 1"_s, u"Text 2"_s, u"Qtity"_s, u"Flag"_s}));
    EXPECT_TRUE(grid->isColumnHidden(0));
    auto *menuItem = window().findChild<QAction *>(QStringLiteral("Changerletop1"));
    ASSERT_NE(menuItem, nullptr);
    EXPECT_EQ(menuItem->text(), QStringLiteral("Change the value of the flag field"));

    // Appliquer turns the titles and menu items at once.
    find<QRadioButton>("lfrancais")->setChecked(true);
    find<QPushButton>("btappliquer")->click();
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Code Barre"));
    EXPECT_EQ(grid->horizontalHeader()->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Top"));
    EXPECT_EQ(menuItem->text(), QStringLiteral("Changer le top"));
}

TEST_F(MainWindowTest, ImportButtonRunsTheWizardThenRefreshesTheGrid)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 1, 0, "")));
    ASSERT_TRUE(test::writeFile(file("stock.csv"), "AB1,Nail,5\nAB2,Screw,7\n"));
    create();
    ASSERT_TRUE(start());
    auto *grid = find<QTableView>("s");
    EXPECT_EQ(grid->model()->rowCount(), 0);

    QString finalText;
    test::ModalAnswer answer([&](QWidget *modal) {
        if (auto *wizard = qobject_cast<records::ImportWizard *>(modal)) {
            wizard->SetChosenPath(file("stock.csv"));
            wizard->findChild<QAbstractButton *>(QStringLiteral("bsuivant"))->click();
            // Runs the import; its final message is answered below, then the wizard closes.
            wizard->findChild<QAbstractButton *>(QStringLiteral("bimport"))->click();
            return;
        }
        finalText = qobject_cast<QMessageBox *>(modal)->text();
        test::pressButton(modal, QMessageBox::Ok);
    });
    find<QAbstractButton>("bimport")->click();
    EXPECT_EQ(finalText, QStringLiteral("Number of barcods imported: 2"));
    EXPECT_FALSE(window().importWindow()->isVisible());
    // The list was refreshed once the wizard had closed.
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("AB2"));
}

TEST_F(MainWindowTest, KeysRunTheirCommandsFromTheGrid)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 1, 0, "")));
    create();
    ASSERT_TRUE(start());
    insert(1, "CB1", "one");
    insert(2, "CB2", "two");
    window().RefreshGrid();
    insert(3, "CB3", "three");   // only a refresh shows it
    // Ctrl+P takes the checked code set before it prints; with no format
    // chosen nothing goes to a printer.
    find<QComboBox>("CombListeEtiquette")->setCurrentIndex(-1);
    find<QRadioButton>("RCodeC")->setChecked(true);
    base::Parameters.CodeSet = 1;
    auto *grid = find<QTableView>("s");

    const struct {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString happened;   // modal window seen; rows; focus; code set
    } cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, u"record CB1; rows 2; focus s; code set 1"_s},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, u"record CB1; rows 2; focus s; code set 1"_s},
        {"F2", Qt::Key_F2, Qt::NoModifier, u"record CB1; rows 2; focus s; code set 1"_s},
        {"Insert", Qt::Key_Insert, Qt::NoModifier, u"record ; rows 2; focus s; code set 1"_s},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, u"question CB1 - one; rows 2; focus s; code set 1"_s},
        {"F5", Qt::Key_F5, Qt::NoModifier, u"rows 3; focus s; code set 1"_s},
        {"Ctrl+F", Qt::Key_F, Qt::ControlModifier, u"rows 3; focus TexCb; code set 1"_s},
        {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, u"rows 3; focus s; code set 3"_s},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, u"rows 3; focus sAjout; code set 1"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        base::Parameters.CodeSet = 1;
        window().activateWindow();
        ASSERT_TRUE(waitFor([this] { return window().isActiveWindow(); }));
        grid->setFocus();
        QString seen;
        test::ModalAnswer answer([&seen](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen = u"question "_s + box->text().section(u'\n', -1) + u"; "_s;
                test::pressButton(modal, QMessageBox::No);
                return;
            }
            if (qobject_cast<records::RecordDialog *>(modal) != nullptr)
                seen = u"record "_s + modal->findChild<QLineEdit *>(u"ecb"_s)->text() + u"; "_s;
            modal->close();
        });
        QTest::keyClick(grid, Qt::Key(c.key), c.modifiers);
        // The window's focus widget: a modal window that closed leaves the
        // main window inactive here, without a window manager to give it back.
        const QWidget *focus = window().focusWidget();
        seen += u"rows %1; focus %2; code set %3"_s.arg(grid->model()->rowCount())
                    .arg(focus ? focus->objectName() : QString())
                    .arg(base::Parameters.CodeSet);
        EXPECT_EQ(seen.toStdString(), c.happened.toStdString());
    }
}

TEST_F(MainWindowTest, GrowsFromItsDesignedSizeWithTheGridAndTheTextColumns)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 1, 0, "")));
    create();
    ASSERT_TRUE(start());
    const QSize designed(762, 611);
    EXPECT_EQ(window().minimumSize(), designed);
    window().resize(500, 400);
    EXPECT_EQ(window().size(), designed);

    // The format list opens under its box, inside the window.
    auto *tabs = find<QTabWidget>("PagePrincipal");
    tabs->setCurrentIndex(1);
    auto *formats = find<QComboBox>("CombListeEtiquette");
    formats->showPopup();
    QTest::qWait(20);
    const QRect popup = formats->view()->window()->geometry();
    const QRect box(formats->mapToGlobal(QPoint(0, 0)), formats->size());
    const QRect inside(window().mapToGlobal(QPoint(0, 0)), window().size());
    formats->hidePopup();
    EXPECT_EQ(popup.left(), box.left());
    EXPECT_EQ(popup.top(), box.bottom() + 1);
    EXPECT_GE(popup.width(), box.width());
    EXPECT_LE(popup.right(), inside.right());
    tabs->setCurrentIndex(0);

    auto *grid = find<QTableView>("s");
    QHeaderView *titles = grid->horizontalHeader();
    const auto widths = [titles] {
        QList<int> list;
        for (int c = 1; c < titles->count(); ++c)
            list << titles->sectionSize(c);
        return list;
    };
    QTest::qWait(20);
    const QList<int> before = widths();
    const QSize gridBefore = grid->size();
    const int viewportBefore = grid->viewport()->width();
    window().resize(designed + QSize(301, 200));
    QTest::qWait(20);
    EXPECT_EQ(grid->size(), gridBefore + QSize(301, 200));
    const int gained = grid->viewport()->width() - viewportBefore;
    EXPECT_EQ(gained, 301);
    // Barcode, text 1, text 2, quantity, flag: the two texts share the gain.
    const QList<int> after = widths();
    ASSERT_EQ(after.size(), 5);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1] - before[1] + after[2] - before[2], gained);
    EXPECT_LE(std::abs(after[1] - before[1] - (after[2] - before[2])), 1);
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(after[4], before[4]);
    EXPECT_EQ(grid->textElideMode(), Qt::ElideRight);
}

TEST_F(MainWindowTest, StatusBarCountsTheListTheCriteriaLeave)
{
    ASSERT_TRUE(test::writeFile(file("ETIBARIX.PAR"), parameterFile(2, 1, 0, "")));
    create();
    ASSERT_TRUE(start());
    insert(1, "CB1", "one");
    insert(2, "CB2", "two");
    insert(3, "XB3", "one");
    const struct {
        const char *language;
        const char *barcode;
        const char *text1;
        QString count;
    } cases[] = {
        {"langlais", "", "", u"3 records"_s},
        {"langlais", "CB1", "", u"1 record"_s},
        {"lfrancais", "ZZ", "", u"0 fiche"_s},
        {"lfrancais", "", "one", u"2 fiches"_s},
        {"lportugais", "ZZ", "", u"0 fichas"_s},
        {"lportugais", "CB", "", u"2 fichas"_s},
    };
    auto *status = find<QLabel>("StatusCount");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count.toStdString());
        find<QRadioButton>(c.language)->setChecked(true);
        find<QPushButton>("btappliquer")->click();
        find<QLineEdit>("TexCb")->setText(QString::fromLatin1(c.barcode));
        find<QLineEdit>("text1")->setText(QString::fromLatin1(c.text1));
        QTest::keyClick(find<QLineEdit>("text1"), Qt::Key_Return);
        EXPECT_EQ(status->text(), c.count);
    }
    // Large counts are grouped as each language writes them.
    EXPECT_EQ(app::MainWindow::RecordCountText(2000, 1), u"2\u00A0000 fiches"_s);
    EXPECT_EQ(app::MainWindow::RecordCountText(2000, 2), u"2,000 records"_s);
    EXPECT_EQ(app::MainWindow::RecordCountText(1234567, 3), u"1\u00A0234\u00A0567 fichas"_s);
}

TEST(SelectComboItem, LastEqualEntryOrNone)
{
    QComboBox combo;
    combo.addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("a")});
    const struct {
        QString text;
        int selected;
    } cases[] = {
        {QStringLiteral("A"), 2}, {QStringLiteral("B"), 1}, {QStringLiteral("a"), 3},
        {QStringLiteral("C"), -1}, {QString(), -1}, {QStringLiteral("A "), -1},
    };
    for (const auto &c : cases) {
        combo.setCurrentIndex(1);
        ui::SelectComboItem(combo, c.text);
        EXPECT_EQ(combo.currentIndex(), c.selected) << c.text.toStdString();
    }
}

} // namespace


// Creating, modifying, deleting, flagging and resetting records through the
// buttons and the context menu, with every box answered as a user would.

#include "tests/records/ui/RecordHost.h"
#include "tests/support/UiTestSupport.h"

#include "store/TableFiles.h"
#include "base/Parameters.h"
#include "records/ui/RecordGridModel.h"
#include "store/Query.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace etibarix;
using Step = test::AnswerInTurn::Step;

namespace {

template <typename T>
T *in(QWidget *modal, const char *name)
{
    T *found = modal->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Types the record into the dialog: the barcode key by key, as a user does.
Step type(QString cb, QString lib1, QString lib2, QString quantity, int topIndex = 0)
{
    return [=](QWidget *modal) {
        QLineEdit *ecb = in<QLineEdit>(modal, "ecb");
        ecb->clear();
        for (const QChar c : cb) {
            if (c.unicode() < 0x80)
                QTest::keyClick(ecb, char(c.unicode()));
            else   // a key of a national keyboard: known by its text only
                QTest::sendKeyEvent(QTest::Click, ecb, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        in<QLineEdit>(modal, "elib1")->setText(lib1);
        in<QLineEdit>(modal, "elib2")->setText(lib2);
        in<QComboBox>(modal, "CombQuantite")->setEditText(quantity);
        in<QComboBox>(modal, "CombTop")->setCurrentIndex(topIndex);
    };
}

Step then(Step first, Step second)
{
    return [=](QWidget *modal) {
        first(modal);
        second(modal);
    };
}

const Step confirm = [](QWidget *modal) { in<QPushButton>(modal, "boutok")->click(); };
const Step cancel = [](QWidget *modal) { in<QPushButton>(modal, "sretour")->click(); };
const Step yes = [](QWidget *modal) { test::pressButton(modal, QMessageBox::Yes); };
const Step no = [](QWidget *modal) { test::pressButton(modal, QMessageBox::No); };
const Step ok = [](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); };

} // namespace

TEST(RecordDialog, CreatesRecordsNumberedOnFromTheLargest)
{
    test::RecordHost host;
    QStringList shownOnOpen;
    const Step checkFresh = [&shownOnOpen](QWidget *modal) {
        shownOnOpen << in<QLineEdit>(modal, "ecb")->text() + u'|' + in<QComboBox>(modal, "CombQuantite")->currentText()
                + u'|' + in<QComboBox>(modal, "CombTop")->currentText();
    };
    struct Case {
        Step entry;
        const char *stored;
    } cases[] = {
        {type(QStringLiteral("abc"), QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("7")), "1|ABC|L1|L2|7|O"},
        {type(QStringLiteral(" x1 "), QStringLiteral("é"), QString(), QStringLiteral("lots"), 1), "2| X1|é||1|N"},
        {type(QStringLiteral("zz"), QString(), QString(), QString()), "3|ZZ|||1|O"},
        {type(QStringLiteral("q"), QString(), QString(), QStringLiteral("0")), "4|Q|||0|O"},
        {type(QStringLiteral("a-b.c"), QStringLiteral("éßÿ"), QString(), QStringLiteral("12x")), "5|A-B.C|éßÿ||1|O"},
    };
    for (const Case &c : cases) {
        test::AnswerInTurn answers({then(checkFresh, then(c.entry, confirm))});
        host.find<QPushButton>("sAjout")->click();
        EXPECT_EQ(answers.answered(), 1);
        EXPECT_EQ(answers.unexpected(), 0);
        EXPECT_EQ(host.tableRows().last(), QString::fromUtf8(c.stored));
        EXPECT_EQ(host.dialog().Outcome(), QStringLiteral("OK"));
    }
    // Every opening starts empty, quantity 1, flagged.
    for (const QString &fresh : shownOnOpen)
        EXPECT_EQ(fresh, QStringLiteral("|1|X"));
    // The list was run again after each creation.
    EXPECT_EQ(host.gridRows().size(), 5);
    EXPECT_EQ(host.gridRows().first(), QStringLiteral("ABC|L1|L2|7|X"));

    // Deleting the highest number frees it for the next record.
    host.selectRow(4);
    {
        test::AnswerInTurn deleteYes({yes});
        host.find<QPushButton>("ssupprime")->click();
    }
    test::AnswerInTurn again({then(type(QStringLiteral("new"), QString(), QString(), QStringLiteral("1")), confirm)});
    host.find<QPushButton>("sAjout")->click();
    EXPECT_EQ(host.tableRows().last(), QStringLiteral("5|NEW|||1|O"));
}

TEST(RecordDialog, EnterConfirmsFromTheEditsAndTheQuantity)
{
    test::RecordHost host;
    for (const char *field : {"ecb", "elib1", "CombQuantite"}) {
        test::AnswerInTurn answers({then(type(QStringLiteral("e"), QString(), QString(), QStringLiteral("4")),
            [field](QWidget *modal) {
                QWidget *target = in<QWidget>(modal, field);
                if (auto *combo = qobject_cast<QComboBox *>(target))
                    target = combo->lineEdit();
                target->setFocus();
                QTest::keyClick(target, Qt::Key_Return);
            })});
        host.find<QPushButton>("sAjout")->click();
        EXPECT_EQ(answers.unexpected(), 0) << field;
        EXPECT_FALSE(host.dialog().isVisible()) << field;
        EXPECT_EQ(host.tableRows().last().section(u'|', 1), QStringLiteral("E|||4|O")) << field;
    }
    EXPECT_EQ(host.tableRows().size(), 3);
}

TEST(RecordDialog, EmptyBarcodeAndCancelKeepTheEntry)
{
    test::RecordHost host;
    bool stillTyped = false;
    const Step checkKept = [&stillTyped](QWidget *modal) {
        stillTyped = modal->isVisible() && in<QLineEdit>(modal, "elib1")->text() == u"kept";
    };
    test::AnswerInTurn answers({
        then(type(QStringLiteral("   "), QStringLiteral("kept"), QString(), QStringLiteral("3")), confirm),
        ok,                        // the message about the empty barcode
        then(checkKept, cancel),   // still open with the entry
        no,                        // do not cancel after all
        cancel,
        yes,
    });
    host.find<QPushButton>("sAjout")->click();
    EXPECT_EQ(answers.answered(), 6);
    EXPECT_EQ(answers.unexpected(), 0);
    ASSERT_EQ(answers.seen().size(), 6);
    EXPECT_EQ(answers.seen()[1], QStringLiteral("Opération impossible: la saisie n''est pas valide"));
    EXPECT_EQ(answers.seen()[3], QStringLiteral("Demande de confirmation: Annuler la saisie ou la modification"));
    EXPECT_TRUE(stillTyped);
    EXPECT_TRUE(host.tableRows().isEmpty());
    EXPECT_TRUE(host.dialog().Outcome().isEmpty());
    EXPECT_FALSE(host.dialog().isVisible());
}

TEST(RecordDialog, TextsItCannotStoreAreRefusedWithoutLosingTheEntry)
{
    test::RecordHost host;
    struct Case {
        QString cb, lib1, lib2;
        QString quantity = QStringLiteral("2");
        QString told = QString();
    } cases[] = {
        {QStringLiteral("A\"1"), QStringLiteral("ok"), QString()},
        {QStringLiteral("A1"), QStringLiteral("say \"hi\""), QString()},
        {QStringLiteral("A1"), QString(), QStringLiteral("\"")},
        {QStringLiteral("A1"), QStringLiteral("\u03A9 ohm"), QString()},   // no Windows-1252 byte
        // Code 128 would drop the É; 1000 would be stored as asterisks.
        {QStringLiteral("caf\u00e9-1"), QString(), QString(), QStringLiteral("2"), QStringLiteral("Code Barre : le caract\u00e8re \u00ab \u00c9 \u00bb")},
        {QStringLiteral("A1"), QString(), QString(), QStringLiteral("1000"), QStringLiteral("Quantit\u00e9 : la quantit\u00e9 doit \u00eatre un nombre entier de 0 \u00e0 999.")},
    };
    const QString table = host.dir() + QStringLiteral("article.dbf");
    for (const Case &c : cases) {
        QString typedLib1;
        const QByteArray before = test::readFile(table);
        QByteArray afterRefusal;
        test::AnswerInTurn answers({
            then(type(c.cb, c.lib1, c.lib2, c.quantity), confirm),
            ok,   // the refusal
            [&typedLib1, &afterRefusal, &table](QWidget *modal) {
                afterRefusal = test::readFile(table);
                typedLib1 = in<QLineEdit>(modal, "elib1")->text();
                in<QLineEdit>(modal, "elib1")->setText(QStringLiteral("fixed"));
                in<QLineEdit>(modal, "elib2")->clear();
                in<QLineEdit>(modal, "ecb")->setText(QStringLiteral("A1"));
                in<QComboBox>(modal, "CombQuantite")->setEditText(QStringLiteral("2"));
                in<QPushButton>(modal, "boutok")->click();
            },
        });
        host.find<QPushButton>("sAjout")->click();
        EXPECT_EQ(answers.unexpected(), 0);
        ASSERT_EQ(answers.seen().size(), 3);
        EXPECT_TRUE(answers.seen()[1].startsWith(QStringLiteral("Etibarix: ") + c.told)) << answers.seen()[1].toStdString();
        EXPECT_EQ(typedLib1, c.lib1);
        EXPECT_EQ(afterRefusal, before);
        EXPECT_EQ(host.tableRows().last().section(u'|', 1), QStringLiteral("A1|fixed||2|O"));
    }
    EXPECT_EQ(host.tableRows().size(), 6);
}

TEST(RecordDialog, ModifyChangesTheRowInPlace)
{
    test::RecordHost host;
    host.insert(1, "111", "b", "x", 2, "O");
    host.insert(2, "222", "c", "y", 4, "N");
    host.insert(3, "333", "d", "z", 6, "O");
    host.clickTitle(2);   // sorted by text 1
    host.selectRow(1);
    const QByteArray statement = host.list().listQuery().sql();

    QString shown;
    const Step look = [&shown](QWidget *modal) {
        shown = in<QLineEdit>(modal, "ecb")->text() + u'|' + in<QLineEdit>(modal, "elib1")->text() + u'|'
            + in<QLineEdit>(modal, "elib2")->text() + u'|' + in<QComboBox>(modal, "CombQuantite")->currentText() + u'|'
            + in<QComboBox>(modal, "CombTop")->currentText();
    };
    {
        test::AnswerInTurn answers({then(look, then(type(QStringLiteral("2b"), QStringLiteral("zzz"),
                                                        QStringLiteral("y"), QStringLiteral("9"), 0),
                                               confirm))});
        host.find<QPushButton>("smodif")->click();
        EXPECT_EQ(answers.answered(), 1);
    }
    EXPECT_EQ(shown, QStringLiteral("222|c|y|4|"));
    // Same place, new values, the list not run again although it would sort the row last.
    EXPECT_EQ(host.gridRows(), (QStringList{QStringLiteral("111|b|x|2|X"), QStringLiteral("2B|zzz|y|9|X"),
                                   QStringLiteral("333|d|z|6|X")}));
    EXPECT_EQ(host.currentRow(), 1);
    EXPECT_EQ(host.list().listQuery().sql(), statement);
    EXPECT_EQ(host.tableRows()[1], QStringLiteral("2|2B|zzz|y|9|O"));

    // A confirmed cancel leaves row and table as they were; so does a double
    // click followed by a cancel.
    {
        test::AnswerInTurn cancelled({then(type(QStringLiteral("lost"), QString(), QString(), QStringLiteral("1")), cancel), yes});
        host.find<QPushButton>("smodif")->click();
        EXPECT_EQ(cancelled.answered(), 2);
    }
    const QRect cell = host.grid()->visualRect(host.grid()->model()->index(2, 1));
    test::AnswerInTurn byDoubleClick({then(look, cancel), yes});
    QTest::mousePress(host.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(host.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(byDoubleClick.answered(), 2);
    EXPECT_EQ(shown, QStringLiteral("333|d|z|6|X"));
    EXPECT_EQ(host.gridRows()[1], QStringLiteral("2B|zzz|y|9|X"));
    EXPECT_EQ(host.tableRows()[1], QStringLiteral("2|2B|zzz|y|9|O"));
}

TEST(RecordDialog, EscapeDoesNothingAndTheCloseBoxKeepsTheOutcome)
{
    test::RecordHost host;
    {
        test::AnswerInTurn first({then(type(QStringLiteral("a"), QString(), QString(), QStringLiteral("1")), confirm)});
        host.find<QPushButton>("sAjout")->click();
    }
    host.insert(5, "OTHER");   // written behind the list's back
    bool openAfterEscape = false;
    test::AnswerInTurn second({[&openAfterEscape](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        openAfterEscape = modal->isVisible();
        modal->close();
    }});
    host.find<QPushButton>("sAjout")->click();
    EXPECT_TRUE(openAfterEscape);
    // The earlier confirmed entry left "OK": the list is run again anyway.
    EXPECT_EQ(host.dialog().Outcome(), QStringLiteral("OK"));
    EXPECT_EQ(host.gridRows().size(), 2);
}

TEST(RecordCommands, DeleteAsksFirst)
{
    test::RecordHost host;
    host.insert(1, "A");
    host.insert(2, "B");
    host.insert(3, "C");
    host.find<QToolButton>("SpeedButton1")->click();
    host.selectRow(1);
    {
        test::AnswerInTurn refused({no});
        host.find<QPushButton>("ssupprime")->click();
        ASSERT_EQ(refused.seen().size(), 1);
        EXPECT_EQ(refused.seen()[0], QStringLiteral("Demande de confirmation: Suppression de l article \n\nB - L1"));
    }
    EXPECT_EQ(host.tableRows().size(), 3);
    EXPECT_EQ(host.currentRow(), 1);

    test::AnswerInTurn accepted({yes});
    host.window().findChild<QAction *>(QStringLiteral("msupprimecompte"))->trigger();
    EXPECT_EQ(accepted.answered(), 1);
    EXPECT_EQ(host.tableRows(), (QStringList{QStringLiteral("1|A|L1|L2|1|O"), QStringLiteral("3|C|L1|L2|1|O")}));
    EXPECT_EQ(host.gridRows().size(), 2);
    EXPECT_EQ(host.currentRow(), 0);
}

TEST(RecordCommands, ToggleFlipsTheFlagAndKeepsTheRowUntilRefresh)
{
    test::RecordHost host;
    host.insert(1, "A", "", "", 1, "O");
    host.insert(2, "B", "", "", 1, "");
    host.insert(3, "C", "", "", 1, "O");
    host.find<QRadioButton>("Ratop")->setChecked(true);
    host.find<QToolButton>("SpeedButton1")->click();
    ASSERT_EQ(host.gridRows().size(), 2);
    QAction *toggle = host.window().findChild<QAction *>(QStringLiteral("Changerletop1"));
    host.selectRow(1);
    toggle->trigger();
    EXPECT_EQ(host.tableRows()[2], QStringLiteral("3|C|||1|N"));
    EXPECT_EQ(host.gridRows()[1], QStringLiteral("C|||1| "));   // " " for N
    EXPECT_EQ(host.gridRows().size(), 2);                      // still listed
    EXPECT_EQ(host.currentRow(), 1);
    toggle->trigger();
    EXPECT_EQ(host.tableRows()[2], QStringLiteral("3|C|||1|O"));
    host.find<QRadioButton>("Ratoutes")->setChecked(true);
    host.find<QToolButton>("SpeedButton1")->click();
    host.selectRow(1);   // the empty flag
    toggle->trigger();
    EXPECT_EQ(host.tableRows()[1], QStringLiteral("2|B|||1|O"));
    EXPECT_EQ(host.gridRows()[1].section(u'|', 4), QStringLiteral("X"));
}

TEST(RecordCommands, NothingHappensOnAnEmptyList)
{
    test::RecordHost host;
    test::AnswerInTurn none({});
    host.find<QPushButton>("smodif")->click();
    host.find<QPushButton>("ssupprime")->click();
    host.window().findChild<QAction *>(QStringLiteral("Changerletop1"))->trigger();
    QTest::qWait(50);
    EXPECT_EQ(none.unexpected(), 0);
    EXPECT_TRUE(host.tableRows().isEmpty());
    // The menu holds its four items in order, in the current language.
    QStringList items;
    for (const char *name : {"majoutcompte", "mvisumodifcompte", "msupprimecompte", "Changerletop1"})
        items << host.window().findChild<QAction *>(QString::fromLatin1(name))->text();
    EXPECT_EQ(items, (QStringList{QStringLiteral("Ajouter"), QStringLiteral("Voir/modifier"),
                         QStringLiteral("Supprimer"), QStringLiteral("Changer le top")}));
}

TEST(RecordCommands, ResetEmptiesTheTableAndKeepsTheListState)
{
    test::RecordHost host;
    host.insert(7, "A");
    host.insert(9, "B");
    host.clickTitle(1);
    host.clickTitle(1);   // by barcode, descending
    host.find<QLineEdit>("text1")->setText(QStringLiteral("L"));
    {
        test::AnswerInTurn twice({yes, yes});
        host.find<QPushButton>("sdetruiretoutedonnee")->click();
        EXPECT_EQ(twice.answered(), 2);
    }
    EXPECT_EQ(host.grid()->model()->rowCount(), 0);
    EXPECT_TRUE(host.tableRows().isEmpty());
    EXPECT_TRUE(QFile::exists(host.dir() + QStringLiteral("article.dbf")));
    EXPECT_EQ(host.list().state().SortColumn, 1);
    EXPECT_TRUE(host.list().state().SortDescending);
    EXPECT_EQ(host.find<QLineEdit>("text1")->text(), QStringLiteral("L"));
    test::AnswerInTurn create({then(type(QStringLiteral("n"), QStringLiteral("L"), QString(), QStringLiteral("1")), confirm)});
    host.find<QPushButton>("sAjout")->click();
    EXPECT_EQ(host.tableRows(), QStringList{QStringLiteral("1|N|L||1|O")});
    EXPECT_EQ(host.gridRows().size(), 1);
}

// Two questions, No by default; anything but two Yes answers leaves the
// table file as it was.
TEST(RecordCommands, ResetAsksTwice)
{
    test::RecordHost host;
    host.insert(7, "A");
    const QString table = host.dir() + QStringLiteral("article.dbf");
    const QByteArray before = test::readFile(table);
    QStringList asked;
    const auto noted = [&asked](Step answer) {
        return Step([&asked, answer](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            asked << box->windowTitle() + u'|' + box->text() + u'|'
                    + (box->defaultButton() == box->button(QMessageBox::No) ? QStringLiteral("No") : QStringLiteral("other"));
            answer(modal);
        });
    };
    const Step enter = [](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Return); };
    const Step escape = [](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); };
    const struct {
        std::vector<Step> answers;
        int asked;
    } refusals[] = {{{no}, 1}, {{enter}, 1}, {{escape}, 1}, {{yes, no}, 2}, {{yes, enter}, 2}, {{yes, escape}, 2}};
    for (const auto &r : refusals) {
        std::vector<Step> steps;
        for (const Step &s : r.answers)
            steps.push_back(noted(s));
        test::AnswerInTurn answers(steps);
        host.find<QPushButton>("sdetruiretoutedonnee")->click();
        EXPECT_EQ(answers.answered(), r.asked);
        EXPECT_EQ(test::readFile(table), before);
        EXPECT_EQ(host.tableRows().size(), 1);
    }
    EXPECT_EQ(asked.at(0), QStringLiteral("Demande de confirmation|Supprimer toutes les donn\u00e9es ?|No"));
    EXPECT_EQ(asked.at(4), QStringLiteral("Nouvelle demande de confirmation|"
                                          "Etes vous vraiment sur de vouloir tout supprimer ?|No"));
    test::AnswerInTurn both({yes, yes});
    host.find<QPushButton>("sdetruiretoutedonnee")->click();
    EXPECT_TRUE(host.tableRows().isEmpty());
}

TEST(RecordDialog, TextsFollowTheLanguage)
{
    test::RecordHost host;
    host.insert(1, "3760123456789", "Confiture de fraises", "Rayon B", 12, "O");
    host.find<QToolButton>("SpeedButton1")->click();
    struct Case {
        int language;
        const char *name;
        const char *barcodeLabel;
        const char *deleteItem;
    } cases[] = {
        {1, "fr", "Code Barre", "Supprimer"},
        {2, "en", "Barcod", "Delete"},
        {3, "pt", "Código de barras", "Apagar"},
    };
    for (const Case &c : cases) {
        base::Parameters.Language = c.language;
        host.tab().retranslate();
        QString label;
        test::AnswerInTurn answers({[&](QWidget *modal) {
                                        label = in<QLabel>(modal, "Labnom")->text();
                                        test::saveShot(modal, QStringLiteral("record-dialog-") + QLatin1StringView(c.name));
                                        in<QPushButton>(modal, "sretour")->click();
                                    },
            yes});
        host.find<QPushButton>("smodif")->click();
        EXPECT_EQ(label, QString::fromUtf8(c.barcodeLabel));
        EXPECT_EQ(host.grid()->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8(c.barcodeLabel));
        EXPECT_EQ(host.window().findChild<QAction *>(QStringLiteral("msupprimecompte"))->text(),
            QString::fromUtf8(c.deleteItem));
    }
    host.insert(2, "3760123456796", "Confiture d'abricots", "Rayon B", 6, "N");
    host.insert(3, "4006381333931", "Stylo bleu", "Rayon F", 150, "O");
    host.insert(4, "5901234123457", "Cahier 96 pages", "", 1, "N");
    host.find<QToolButton>("SpeedButton1")->click();
    host.selectRow(2);
    test::saveShot(&host.window(), QStringLiteral("record-grid"));
}

TEST(RecordDialog, ATableThatCannotBeReadKeepsTheDialogOpen)
{
    test::RecordHost host;
    store::DeleteArticleFiles(host.data().table());
    ASSERT_TRUE(test::writeFile(host.dir() + QStringLiteral("article.dbf"), QByteArray("not a table")));
    bool openAfterError = false;
    test::AnswerInTurn answers({
        then(type(QStringLiteral("kept"), QString(), QString(), QStringLiteral("1")), confirm),
        ok,   // the table's error, from the general error handler
        [&openAfterError](QWidget *modal) {
            openAfterError = modal->isVisible() && in<QLineEdit>(modal, "ecb")->text() == u"KEPT";
            modal->close();
        },
        ok,   // the refresh that follows an entry confirmed in create mode meets the same table
    });
    host.find<QPushButton>("sAjout")->click();
    EXPECT_EQ(answers.unexpected(), 0);
    ASSERT_EQ(answers.seen().size(), 4);
    EXPECT_TRUE(answers.seen()[1].startsWith(QStringLiteral("Etibarix: ")));
    EXPECT_TRUE(openAfterError);
    EXPECT_EQ(host.dialog().Outcome(), QStringLiteral("OK"));
    EXPECT_EQ(test::readFile(host.dir() + QStringLiteral("article.dbf")), QByteArray("not a table"));
}

// The small windows: about box, language choice, the general error handler
// and the font applier.

#include "UiTestSupport.h"

#include "app/Error.h"
#include "app/ui/GeneralErrorHandler.h"
#include "app/ui/Pictures.h"
#include "i18n/ui/Tfchoixlangue.h"
#include "i18n/ui/Tgerefonte.h"
#include "info/ui/Tfapropos.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace etibarix;

TEST(GeneralErrorHandler, AppendsAPeriodAfterCharactersAboveIt)
{
    struct Case {
        QString text;
        QString shown;
    } cases[] = {
        {QStringLiteral("Table missing"), QStringLiteral("Table missing.")},
        {QStringLiteral("Done."), QStringLiteral("Done.")},
        {QStringLiteral("Why?"), QStringLiteral("Why?.")},        // '?' is above '.'
        {QStringLiteral("Bang!"), QStringLiteral("Bang!")},       // '!' is below '.'
        {QStringLiteral("a-"), QStringLiteral("a-")},             // '-' is below '.'
        {QStringLiteral("x /"), QStringLiteral("x /.")},          // '/' is above '.'
        {QString(), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(app::GeneralErrorHandler::BoxText(c.text), c.shown) << c.text.toStdString();
}

TEST(GeneralErrorHandler, ShowsTheErrorAndGoesOn)
{
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    bool after = false;
    app::GeneralErrorHandler::Run([] { throw app::Error(QStringLiteral("Lock failed [x]")); });
    after = true;
    EXPECT_TRUE(after);
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Etibarix"));
    EXPECT_EQ(answer.lastText(), QStringLiteral("Lock failed [x]."));
}

TEST(Tfapropos, ShowsNameAndVersionEveryTime)
{
    info::Tfapropos box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("A propos"));
    for (int i = 0; i < 2; ++i) {
        test::ModalAnswer answer([](QWidget *modal) {
            test::saveShot(modal, QStringLiteral("about"));
            modal->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        });
        box.exec();
        EXPECT_EQ(answer.count(), 1);
        EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("lversion"))->text(), QStringLiteral("1.07"));
        EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("ProductName"))->text(), QStringLiteral("Etibarix"));
    }
    EXPECT_TRUE(box.findChild<QPushButton *>(QStringLiteral("OKButton"))->isDefault());
    EXPECT_FALSE(box.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
}

TEST(Tfchoixlangue, ClosingGivesTheCheckedLanguage)
{
    i18n::Tfchoixlangue window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Langue / Language selection"));
    EXPECT_EQ(window.ChosenLanguage(), 1);   // French is checked when created
    struct Case {
        const char *button;
        int language;
    } cases[] = {{"langlais", 2}, {"lportugais", 3}, {"lfrancais", 1}};
    for (const Case &c : cases) {
        test::ModalAnswer answer([&c](QWidget *modal) {
            modal->findChild<QRadioButton *>(QString::fromLatin1(c.button))->setChecked(true);
            test::saveShot(modal, QStringLiteral("language-choice"));
            modal->close();   // the close box counts like the OK button
        });
        window.exec();
        EXPECT_EQ(window.ChosenLanguage(), c.language) << c.button;
    }
    EXPECT_EQ(window.findChild<QRadioButton *>(QStringLiteral("lportugais"))->text(), QStringLiteral("Portugais"));
    EXPECT_TRUE(window.findChild<QPushButton *>(QStringLiteral("boutok"))->isDefault());
}

TEST(Tgerefonte, SetsTheNameOnTheListedKindsOnly)
{
    QWidget window;
    QFont windowFont(QStringLiteral("DejaVu Serif"));
    windowFont.setPointSize(11);
    window.setFont(windowFont);
    auto *tabs = new QTabWidget(&window);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("page"));
    auto *group = new QGroupBox(QStringLiteral("group"), page);
    auto *label = new QLabel(QStringLiteral("label"), group);
    auto *radio = new QRadioButton(QStringLiteral("radio"), group);
    auto *check = new QCheckBox(QStringLiteral("check"), group);
    auto *edit = new QLineEdit(group);
    auto *labeled = new QLineEdit(group);
    i18n::Tgerefonte::MarkLabeledEdit(labeled);
    auto *plain = new QPushButton(QStringLiteral("plain"), group);
    auto *picture = new QPushButton(app::PictureIcon(app::Picture::Ok), QStringLiteral("picture"), group);
    auto *grid = new QTableView(page);
    QFont titleFont(QStringLiteral("DejaVu Sans Mono"));
    titleFont.setPixelSize(13);
    grid->horizontalHeader()->setFont(titleFont);

    const QString before = edit->font().family();
    i18n::Tgerefonte().ApplyToChildren(&window, QStringLiteral("Liberation Serif"), 0, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{page, group, label, radio, check, picture, grid, labeled})
        EXPECT_EQ(w->font().family(), QStringLiteral("Liberation Serif")) << w->metaObject()->className();
    EXPECT_EQ(grid->horizontalHeader()->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(grid->horizontalHeader()->font().pixelSize(), 13);   // sizes stay
    EXPECT_EQ(label->font().pointSize(), 11);
    EXPECT_EQ(edit->font().family(), before);
    EXPECT_EQ(plain->font().family(), before);
    EXPECT_EQ(window.font().family(), QStringLiteral("DejaVu Serif"));   // the container's own font stays
    EXPECT_EQ(tabs->font().family(), QStringLiteral("DejaVu Serif"));    // page controls keep theirs
}

TEST(Pictures, EveryPictureDrawsSomething)
{
    for (int p = 0; p <= static_cast<int>(app::Picture::Emblem); ++p) {
        const QImage image = app::DrawPicture(static_cast<app::Picture>(p), 32).toImage();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 60) << "picture " << p;
    }
}

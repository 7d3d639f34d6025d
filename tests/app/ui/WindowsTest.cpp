// The small windows: about box, language choice, the general error handler
// and the font applier; every dialog used from the keyboard alone.

#include "tests/support/UiTestSupport.h"

#include "base/Error.h"
#include "base/Parameters.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/Pictures.h"
#include "i18n/ui/LanguageChoiceDialog.h"
#include "i18n/ui/FontApplier.h"
#include "info/ui/AboutBox.h"
#include "labels/ui/CalibrationDialog.h"
#include "labels/ui/FormatDialog.h"
#include "records/ui/ImportWizard.h"
#include "records/ui/RecordDialog.h"
#include "tests/support/TestSupport.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string_view>

using namespace std::string_view_literals;

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
        EXPECT_EQ(ui::GeneralErrorHandler::BoxText(c.text), c.shown) << c.text.toStdString();
}

TEST(GeneralErrorHandler, ShowsTheErrorAndGoesOn)
{
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    EXPECT_NO_THROW(ui::GeneralErrorHandler::Run([] { throw base::Error(QStringLiteral("Lock failed [x]")); }));
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Etibarix"));
    EXPECT_EQ(answer.lastText(), QStringLiteral("Lock failed [x]."));
}

TEST(AboutBox, ShowsNameAndVersionEveryTime)
{
    info::AboutBox box;
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
    // The frame around name and emblem is etched: lowered outside, raised inside.
    const auto *panel = box.findChild<QFrame *>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->frameShape(), QFrame::Box);
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(panel->geometry(), QRect(9, 8, 405, 337));
}

TEST(LanguageChoiceDialog, ClosingGivesTheCheckedLanguage)
{
    i18n::LanguageChoiceDialog window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Langue / Language selection"));
    EXPECT_EQ(window.ChosenLanguage(), 1);   // French is checked when created
    // A fixed border around its designed client area, which holds all of its controls.
    EXPECT_EQ(window.size(), QSize(288, 175));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_LE(window.layout()->minimumSize().height(), 175);
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

TEST(FontApplier, SetsTheNameOnTheListedKindsOnly)
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
    auto *labelled = new QLineEdit(group);
    i18n::FontApplier::MarkLabelledEdit(labelled);
    auto *plain = new QPushButton(QStringLiteral("plain"), group);
    auto *picture = new QPushButton(ui::PictureIcon(ui::Picture::Ok), QStringLiteral("picture"), group);
    auto *grid = new QTableView(page);
    QFont titleFont(QStringLiteral("DejaVu Sans Mono"));
    titleFont.setPixelSize(13);
    grid->horizontalHeader()->setFont(titleFont);

    const QString before = edit->font().family();
    i18n::FontApplier().ApplyToChildren(&window, QStringLiteral("Liberation Serif"), 0, 1);

    for (QWidget *w : std::initializer_list<QWidget *>{page, group, label, radio, check, labelled, picture, grid})
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
    for (int p = 0; p <= static_cast<int>(ui::Picture::Emblem); ++p) {
        const QImage image = ui::DrawPicture(static_cast<ui::Picture>(p), 32).toImage();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 60) << "picture " << p;
    }
}

namespace {

// The control a focus widget belongs to: a spin box or a combo box rather
// than the edit inside it.
QWidget *controlOf(QWidget *widget)
{
    for (QWidget *up = widget; up != nullptr; up = up->parentWidget())
        if (qobject_cast<QAbstractSpinBox *>(up) || qobject_cast<QComboBox *>(up))
            return up;
    return widget;
}

QString nameOf(const QWidget *widget)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + (button ? button->text() : QString());
}

// Reading order: a lower row comes later; on one row, further right.
bool readsBefore(const QWidget *a, const QWidget *b, const QWidget *window)
{
    const QRect ra(a->mapTo(window, QPoint(0, 0)), a->size());
    const QRect rb(b->mapTo(window, QPoint(0, 0)), b->size());
    const bool sameRow = ra.top() < rb.bottom() && rb.top() < ra.bottom();
    return sameRow ? ra.left() < rb.left() : ra.top() < rb.top();
}

} // namespace

TEST(Dialogs, EveryOneWorksWithoutAMouse)
{
    base::Parameters.Language = 2;
    test::DataDir dir;
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("stock.csv")), "AB1,Nail,5\nAB2,Screw,7\n"));
    const struct {
        const char *name;
        std::function<QDialog *()> make;
        const char *defaultButton;   // nullptr: a button box's OK (no name)
        bool escapeCloses;
    } cases[] = {
        {"record", [] {
             auto *dialog = new records::RecordDialog;
             dialog->SetMode(QStringLiteral("C"));
             return dialog;
         }, "boutok", false},   // only its cancel button (with a question) leaves
        {"import, file page", [] { return new records::ImportWizard; }, "bsuivant", true},
        {"import, field page", [] { return new records::ImportWizard; }, "bimport", true},
        {"format", [] {
             auto *dialog = new labels::FormatDialog;
             dialog->nameEdit()->setText(QStringLiteral("Mine"));
             return dialog;
         }, nullptr, true},
        {"calibration", [] { return new labels::CalibrationDialog; }, nullptr, true},
        {"about", [] { return new info::AboutBox; }, "OKButton", true},
        {"language choice", [] { return new i18n::LanguageChoiceDialog; }, "boutok", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<QDialog> dialog(c.make());
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        if (auto *wizard = qobject_cast<records::ImportWizard *>(dialog.get()); wizard && c.defaultButton == "bimport"sv) {
            wizard->SetChosenPath(dir.file(QStringLiteral("stock.csv")));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // the default button goes on
            ASSERT_TRUE(wizard->findChild<QWidget *>(QStringLiteral("TabSheet2"))->isVisible());
        }
        QTest::qWait(10);

        // One default button, the one Enter is meant for.
        QList<QPushButton *> defaults;
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->isDefault() && button->isVisible())
                defaults << button;
        ASSERT_EQ(defaults.size(), 1);
        if (c.defaultButton != nullptr)
            EXPECT_EQ(defaults[0]->objectName().toStdString(), c.defaultButton);
        else
            EXPECT_EQ(qobject_cast<QDialogButtonBox *>(defaults[0]->parentWidget())->buttonRole(defaults[0]),
                      QDialogButtonBox::AcceptRole);

        // Tab walks every control once, in reading order, and comes back.
        QList<QWidget *> reachable;
        for (QWidget *w : dialog->findChildren<QWidget *>()) {
            const auto *radio = qobject_cast<QRadioButton *>(w);
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && controlOf(w) == w
                && w->focusProxy() == nullptr && !(radio && radio->autoExclusive() && !radio->isChecked()))
                reachable << w;
        }
        QList<QWidget *> chain;
        for (int step = 0; step <= reachable.size(); ++step) {
            QWidget *focus = controlOf(QApplication::focusWidget());
            ASSERT_NE(focus, nullptr);
            if (chain.contains(focus))
                break;
            chain << focus;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList walked;
        for (QWidget *w : chain)
            walked << nameOf(w);
        EXPECT_EQ(chain.size(), reachable.size()) << walked.join(QStringLiteral(", ")).toStdString();
        EXPECT_EQ(controlOf(QApplication::focusWidget()), chain.value(0)) << "Tab does not come back";
        const auto first = std::min_element(chain.begin(), chain.end(), [&dialog](QWidget *a, QWidget *b) {
            return readsBefore(a, b, dialog.get());
        });
        std::rotate(chain.begin(), first, chain.end());
        for (qsizetype i = 1; i < chain.size(); ++i)
            EXPECT_TRUE(readsBefore(chain[i - 1], chain[i], dialog.get()))
                << nameOf(chain[i - 1]).toStdString() << " before " << nameOf(chain[i]).toStdString();

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(dialog->isVisible(), !c.escapeCloses);
        dialog->hide();
    }
}

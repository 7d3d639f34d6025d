// The print tab's extra buttons, the status window, the preview and the
// indexing window in each language: texts not clipped, and pictures of them
// when ETIBARIX_SHOT_DIR is set (taken from the screen on an X server).

#include "i18n/AddedTexts.h"
#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "base/Parameters.h"
#include "i18n/ui/QtTranslation.h"
#include "labels/ui/PrintTab.h"
#include "labels/ui/ReportStatusWindow.h"
#include "store/Table.h"
#include "store/ui/IndexingWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A picture of the window with its frame where the platform has one.
void shot(QWidget *window, const QString &name)
{
    const QString dir = qEnvironmentVariable("ETIBARIX_SHOT_DIR");
    if (dir.isEmpty())
        return;
    settle(400);
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        const QRect frame = window->frameGeometry();
        const QPixmap picture = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        picture.save(dir + u'/' + name + QStringLiteral(".png"));
    } else {
        test::saveShot(window, name);
    }
}

bool textFits(const QLabel *label)
{
    return label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(label->text());
}

const char *const Suffix[] = {"fr", "en", "pt"};

} // namespace

TEST(Look, PrintWindowsAndIndexingInEveryLanguage)
{
    test::Watchdog watchdog(60);
    for (int language = 1; language <= 3; ++language) {
        SCOPED_TRACE(language);
        const QString suffix = QString::fromLatin1(Suffix[language - 1]);
        test::Host host(language);
        i18n::ApplyQtTranslation(language);
        host.insert(1, "ETB-0001", "Vis inox 4x20", "Rayon B3", 14);
        host.insert(2, "ETB-0002", "\xC9" "crou M4", "Rayon B4", 6);
        host.selectFormat(8);
        labels::PrintTab &commands = host.printTab();
        host.window().resize(640, 420);
        host.window().show();
        settle(100);
        for (QPushButton *button : {commands.previewButton(), commands.exportButton()})
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
        shot(&host.window(), QStringLiteral("printtab-") + suffix);

        const QString pdf = host.dir().file(QStringLiteral("look.pdf"));
        commands.setPdfFileChooser([&](QWidget *, const QString &, const QString &) { return pdf; });
        int pages = 0;
        QObject::connect(&commands.statusWindow(), &labels::ReportStatusWindow::pageShown, &commands.statusWindow(),
                         [&](int page) {
                             ++pages;
                             auto *label = commands.statusWindow().findChild<QLabel *>(QStringLiteral("labStatus"));
                             EXPECT_TRUE(textFits(label));
                             if (page == 2)
                                 shot(&commands.statusWindow(), QStringLiteral("status-") + suffix);
                         });
        commands.exportButton()->click();
        EXPECT_EQ(pages, 2);

        int previewPages = -1;
        test::ModalAnswer answer([&](QWidget *modal) {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
            if (!preview) {
                test::pressButton(modal, QMessageBox::No);
                return;
            }
            EXPECT_EQ(preview->windowTitle(), i18n::AddedText(i18n::Text::PreviewWindowTitle, language));
            if (auto *widget = preview->findChild<QPrintPreviewWidget *>())
                previewPages = widget->pageCount();
            shot(preview, QStringLiteral("preview-") + suffix);
            preview->close();
        });
        commands.previewButton()->click();
        EXPECT_EQ(previewPages, 2);

        store::IndexingWindow indexing(&host.window());
        indexing.Begin(QStringLiteral("Indexing ") + host.dir().file(QStringLiteral("article.MDX")) + QStringLiteral("..."));
        indexing.Step(37);
        EXPECT_TRUE(textFits(indexing.findChild<QLabel *>(QStringLiteral("labBar"))));
        shot(&indexing, QStringLiteral("indexing-") + suffix);
        indexing.End();
        host.window().hide();
    }
    i18n::ApplyQtTranslation(2);
}

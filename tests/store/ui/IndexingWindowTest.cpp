// The "Indexing ..." window while the table engine rebuilds a missing index.

#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "store/TableFiles.h"
#include "store/Table.h"
#include "store/ui/IndexingWindow.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace etibarix;

TEST(IndexingWindow, ShowsTheShrinkingBarWhileTheIndexIsRebuilt)
{
    test::Watchdog watchdog(30);
    auto host = std::make_unique<test::Host>(2);
    for (int i = 1; i <= 250; ++i)
        host->insert(i, QByteArray("CB" + QByteArray::number(i)), "t", "u", 1);
    host->data().table().close();
    for (const QString &name : QDir(host->dir().path()).entryList({QStringLiteral("*.mdx")}, QDir::Files))
        ASSERT_TRUE(QFile::remove(host->dir().file(name)));

    store::IndexingWindow window(&host->window());
    store::TableCallbacks callbacks;
    window.attach(callbacks);
    QString title;
    QList<int> bars;
    int visibleSteps = 0;
    bool visibleAfterEnd = true;
    // Observe the window from the engine's calls, after the window's own.
    const auto begin = callbacks.indexBegin;
    const auto step = callbacks.indexStep;
    const auto end = callbacks.indexEnd;
    callbacks.indexBegin = [&](const QString &t) {
        begin(t);
        title = window.windowTitle();
        bars << int(window.bar().size());
    };
    callbacks.indexStep = [&](int k) {
        step(k);
        bars << int(window.bar().size());
        if (window.isVisible())
            ++visibleSteps;
        if (k == 50)
            test::saveShot(&window, QStringLiteral("indexing-half"));
    };
    callbacks.indexEnd = [&] {
        end();
        visibleAfterEnd = window.isVisible();
    };
    host->data().table().setCallbacks(callbacks);
    store::OpenArticleTable(host->data().table());

    const QString index = QDir::cleanPath(host->dir().file(QStringLiteral("article.MDX")));
    EXPECT_TRUE(title.startsWith(QStringLiteral("Indexing "))) << title.toStdString();
    EXPECT_TRUE(title.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(QDir::cleanPath(title.mid(9, title.size() - 12)).compare(index, Qt::CaseInsensitive) == 0)
        << title.toStdString();
    ASSERT_EQ(bars.size(), 101);
    for (int k = 0; k <= 100; ++k)
        EXPECT_EQ(bars[k], 100 - k);
    EXPECT_EQ(window.bar().count(u'|'), 0);
    EXPECT_EQ(visibleSteps, 100);
    EXPECT_FALSE(visibleAfterEnd);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host->rows().size(), 250);
}

TEST(IndexingWindow, StepsWithoutABeginOrAfterTheWindowIsGoneAreHarmless)
{
    store::TableCallbacks callbacks;
    {
        store::IndexingWindow window;
        window.attach(callbacks);
        callbacks.indexStep(10);
        EXPECT_FALSE(window.isVisible());
        callbacks.indexBegin(QStringLiteral("Indexing x..."));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.bar(), QString(100, u'|'));
        callbacks.indexStep(250);
        EXPECT_EQ(window.bar(), QString());
        callbacks.indexEnd();
        EXPECT_FALSE(window.isVisible());
    }
    callbacks.indexBegin(QStringLiteral("Indexing y..."));
    callbacks.indexStep(1);
    callbacks.indexEnd();
}

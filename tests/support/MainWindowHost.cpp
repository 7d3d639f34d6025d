#include "tests/support/MainWindowHost.h"

#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "labels/formats/LabelFormats.h"
#include "labels/ui/PrintTab.h"
#include "labels/ui/ReportStatusWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace etibarix::test {

namespace {
template <typename T> T *named(QWidget *parent, const char *name, const QString &text = {})
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<QAbstractButton, T>)
        w->setText(text.isEmpty() ? QString::fromLatin1(name) : text);
    return w;
}
} // namespace

Host::Host(int language, std::function<records::ListState()> listState)
{
    base::Parameters.Clear();
    base::Parameters.Language = language;
    base::Parameters.CodeSet = 1;
    base::setDataDirOverride(m_dir.path());
    m_window.setObjectName(QStringLiteral("Fprincip"));
    auto *top = new QVBoxLayout(&m_window);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(named<QPushButton>(&m_window, "spCharge"));
    buttons->addWidget(named<QPushButton>(&m_window, "spSauve"));
    top->addLayout(buttons);

    m_data = std::make_unique<records::RecordDatabase>();
    store::OpenArticleTable(m_data->table());
    m_printTab = new labels::PrintTab(*m_data, m_formats, std::move(listState), &m_window);
    top->addWidget(m_printTab);
    // The end of a job is noted instead of asked about in a box.
    m_printTab->setJobEndHandler([this](const labels::PrintTab::JobEnd &end) { m_jobEnds.push_back(end); });
    // Every record unless a test asks for the matching ones.
    find<QRadioButton>("Ratoutefiche")->setChecked(true);
}

Host::~Host()
{
    delete m_printTab;
    m_data.reset();
    base::setDataDirOverride({});
}

void Host::selectFormat(int entry)
{
    auto *formats = find<QComboBox>("CombListeEtiquette");
    for (int i = 0; i < formats->count(); ++i)
        if (labels::LabelFormats::EntryNumberOfItem(formats->itemText(i)) == entry)
            formats->setCurrentIndex(i);
}

void Host::insert(int num, const QByteArray &cb, const QByteArray &lib1, const QByteArray &lib2, int quantite,
                  const QByteArray &topp)
{
    const QByteArray statement = "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (" + QByteArray::number(num)
        + ",\"" + cb + "\",\"" + lib1 + "\", \"" + lib2 + "\", " + QByteArray::number(quantite) + ", \"" + topp
        + "\" )";
    try {
        m_data->commandQuery().setSql(statement);
        m_data->commandQuery().execSql();
    } catch (const base::Error &e) {
        ADD_FAILURE() << e.what();
    }
}

QList<QByteArray> Host::rows()
{
    QList<QByteArray> out;
    store::Query &q = m_data->commandQuery();
    try {
        q.close();
        q.setSql("select * from article");
        q.open();
        for (int i = 0; i < q.recordCount(); ++i, q.next())
            out << q.text("cb") + '/' + q.text("lib1") + '/' + QByteArray::number(q.integer("quantite"));
        q.close();
    } catch (const base::Error &e) {
        ADD_FAILURE() << e.what();
    }
    return out;
}

Watchdog::Watchdog(int seconds)
{
    m_timer.setSingleShot(false);
    m_timer.setInterval(seconds * 1000);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (!m_fired)
            ADD_FAILURE() << "watchdog: the test was stuck; closing its windows";
        m_fired = true;
        m_timer.setInterval(200);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *status = qobject_cast<labels::ReportStatusWindow *>(w))
                status->cancelButton()->click();
            else if (w->isVisible() && w->isModal())
                w->close();
        }
    });
    m_timer.start();
}

Watchdog::~Watchdog() = default;

} // namespace etibarix::test

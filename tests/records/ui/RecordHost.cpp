#include "tests/records/ui/RecordHost.h"

#include "tests/support/UiTestSupport.h"

#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "records/RecordCommands.h"
#include "records/RecordStatements.h"
#include "base/ui/GeneralErrorHandler.h"
#include "records/ui/RecordGridModel.h"

#include <QVBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace etibarix::test {

AnswerInTurn::AnswerInTurn(std::vector<Step> steps) : m_steps(std::move(steps))
{
    m_answer = std::make_unique<ModalAnswer>([this](QWidget *modal) {
        QString seen = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            seen += QStringLiteral(": ") + box->text();
        m_seen << seen;
        if (m_next >= int(m_steps.size())) {
            ++m_unexpected;
            modal->close();
            return;
        }
        m_steps[static_cast<std::size_t>(m_next++)](modal);
    });
}

AnswerInTurn::~AnswerInTurn() = default;

RecordHost::RecordHost() : m_dirPath(m_dir.path())
{
    base::Parameters.Clear();
    base::Parameters.Language = 1;
    base::setDataDirOverride(m_dirPath);
    m_data = std::make_unique<records::RecordDatabase>();
    m_list = std::make_unique<records::RecordList>(m_data->listQuery());
    m_window = std::make_unique<QWidget>();
    m_window->setObjectName(QStringLiteral("Fprincip"));
    m_tab = new records::RecordsTab(*m_data, *m_list, m_window.get());
    // The reset button lives on the main window's parameters tab.
    auto *reset = new QPushButton(QStringLiteral("sdetruiretoutedonnee"), m_window.get());
    reset->setObjectName(QStringLiteral("sdetruiretoutedonnee"));
    QObject::connect(reset, &QPushButton::clicked, m_tab, [this] {
        ui::GeneralErrorHandler::Run([this] { m_tab->eraseAllRecords(); }, m_window.get());
    });
    auto *layout = new QVBoxLayout(m_window.get());
    layout->addWidget(m_tab, 1);
    layout->addWidget(reset);
    m_window->resize(762, 500);
    m_dialog = std::make_unique<records::RecordDialog>(m_window.get());
    m_tab->attachRecordDialog(*m_dialog);
    m_window->show();
    m_tab->RefreshGrid();
}

RecordHost::~RecordHost()
{
    m_dialog.reset();
    m_window.reset();
    m_list.reset();
    m_data.reset();
    base::setDataDirOverride(QString());
}

QTableView *RecordHost::grid() const
{
    return find<QTableView>("s");
}

void RecordHost::insert(int num, const QByteArray &cb, const QByteArray &lib1, const QByteArray &lib2, int quantite,
    const QByteArray &topp)
{
    records::RecordEntry entry{cb, lib1, lib2, quantite, topp};
    m_data->commandQuery().close();
    m_data->commandQuery().setSql(records::InsertStatement(num, entry, records::QuoteRule::Keep));
    m_data->commandQuery().execSql();
}

QStringList RecordHost::tableRows()
{
    store::Query query;
    query.addDataSet("article", m_data->table());
    query.setSql("select * from article order by num");
    query.open();
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList cells;
        for (const char *field : {"num", "cb", "lib1", "lib2", "quantite", "topp"})
            cells << base::fromCp1252(query.text(field));
        rows << cells.join(u'|');
    }
    return rows;
}

QStringList RecordHost::gridRows() const
{
    const QAbstractItemModel *model = grid()->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

int RecordHost::currentRow() const
{
    return m_data->listQuery().recNo() - 1;
}

void RecordHost::selectRow(int row)
{
    QTableView *s = grid();
    const QRect cell = s->visualRect(s->model()->index(row, 1));
    QTest::mouseClick(s->viewport(), Qt::LeftButton, {}, cell.center());
}

void RecordHost::clickTitle(int column)
{
    QHeaderView *titles = grid()->horizontalHeader();
    const int x = titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2;
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(x, titles->height() / 2));
}

} // namespace etibarix::test

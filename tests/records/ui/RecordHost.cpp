#include "tests/records/ui/RecordHost.h"

#include "tests/support/UiTestSupport.h"

#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "records/RecordCommands.h"
#include "records/RecordStatements.h"
#include "records/ui/RecordGridModel.h"

#include <QGridLayout>
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

QWidget *buildRecordControls()
{
    auto *window = new QWidget;
    window->setObjectName(QStringLiteral("Fprincip"));
    auto *layout = new QGridLayout(window);
    int column = 0;
    for (const char *name : {"TexCb", "text1", "text2"}) {
        auto *edit = new QLineEdit(window);
        edit->setObjectName(QString::fromLatin1(name));
        layout->addWidget(edit, 0, column++);
    }
    for (const char *name : {"Ratop", "ranontop", "Ratoutes"}) {
        auto *radio = new QRadioButton(QString::fromLatin1(name), window);
        radio->setObjectName(QString::fromLatin1(name));
        layout->addWidget(radio, 1, column++ - 3);
    }
    window->findChild<QRadioButton *>(QStringLiteral("Ratoutes"))->setChecked(true);
    auto *refresh = new QToolButton(window);
    refresh->setObjectName(QStringLiteral("SpeedButton1"));
    layout->addWidget(refresh, 0, 3);
    auto *grid = new QTableView(window);
    grid->setObjectName(QStringLiteral("s"));
    layout->addWidget(grid, 2, 0, 1, 5);
    column = 0;
    for (const char *name : {"sAjout", "smodif", "ssupprime", "sdetruiretoutedonnee"}) {
        auto *button = new QPushButton(QString::fromLatin1(name), window);
        button->setObjectName(QString::fromLatin1(name));
        layout->addWidget(button, 3, column++);
    }
    window->resize(762, 500);
    return window;
}

RecordHost::RecordHost() : m_dirPath(m_dir.path())
{
    base::Parameters.Clear();
    base::Parameters.Language = 1;
    base::setDataDirOverride(m_dirPath);
    m_data = std::make_unique<records::RecordDatabase>();
    m_list = std::make_unique<records::RecordList>(m_data->listQuery());
    m_window.reset(buildRecordControls());
    m_dialog = std::make_unique<records::RecordDialog>(m_window.get());
    m_tab = std::make_unique<records::RecordTab>(m_window.get(), *m_data, *m_list, *m_dialog);
    m_window->show();
    m_tab->RefreshGrid();
}

RecordHost::~RecordHost()
{
    m_tab.reset();
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

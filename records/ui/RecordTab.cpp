#include "records/ui/RecordTab.h"

#include "records/RecordDatabase.h"
#include "store/TableFiles.h"
#include "base/Cp1252.h"
#include "base/ui/GeneralErrorHandler.h"
#include "i18n/LanguageTable.h"
#include "records/RecordCommands.h"
#include "records/RecordList.h"
#include "records/RecordStatements.h"
#include "records/ui/RecordGridDelegate.h"
#include "records/ui/RecordGridModel.h"
#include "records/ui/RecordDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTableView>

#include <exception>

namespace etibarix::records {
namespace {

template <typename T>
T *control(QWidget *window, const char16_t *name)
{
    return window->findChild<T *>(QString::fromUtf16(name));
}

QByteArray typed(const QLineEdit *edit)
{
    return edit ? base::toCp1252Lossy(edit->text()) : QByteArray();
}

} // namespace

RecordTab::RecordTab(QWidget *window, records::RecordDatabase &data, RecordList &list, RecordDialog &dialog)
    : m_window(window), m_data(data), m_list(list), m_dialog(dialog)
{
    m_model = new RecordGridModel(m_list.listQuery(), this);
    m_dialog.SetCommandQuery(&m_data.commandQuery());
    m_grid = control<QTableView>(window, u"s");
    m_texCb = control<QLineEdit>(window, u"TexCb");
    m_text1 = control<QLineEdit>(window, u"text1");
    m_text2 = control<QLineEdit>(window, u"text2");
    m_ratop = control<QRadioButton>(window, u"Ratop");
    m_ranontop = control<QRadioButton>(window, u"ranontop");
    setUpGrid();
    setUpMenu();
    wireControls();
    ApplyTexts();
}

void RecordTab::setUpGrid()
{
    if (!m_grid)
        return;
    QTableView *s = m_grid;
    s->setModel(m_model);
    s->setItemDelegate(new RecordGridDelegate(s));
    s->setSelectionBehavior(QAbstractItemView::SelectRows);
    s->setSelectionMode(QAbstractItemView::SingleSelection);
    s->setEditTriggers(QAbstractItemView::NoEditTriggers);
    s->setSortingEnabled(false);   // the list statement sorts; a title click runs it again
    s->setShowGrid(true);
    s->setWordWrap(false);
    s->setAlternatingRowColors(false);
    s->setFrameShape(QFrame::Box);
    s->setFrameShadow(QFrame::Plain);

    QPalette palette = s->palette();
    palette.setColor(QPalette::Base, Qt::white);
    // The selection stays as visible when the grid loses the focus.
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    s->setPalette(palette);

    QFont cellFont(QStringLiteral("Microsoft Sans Serif"));
    cellFont.setBold(true);
    cellFont.setPixelSize(13);
    s->setFont(cellFont);
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setBold(true);
    titleFont.setPixelSize(13);
    QHeaderView *titles = s->horizontalHeader();
    titles->setFont(titleFont);
    titles->setSectionsClickable(true);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setStretchLastSection(false);
    s->setColumnHidden(RecordGridModel::ColNum, true);
    for (int c = RecordGridModel::ColCb; c < RecordGridModel::ColumnCount; ++c)
        if (const int width = RecordGridModel::ColumnWidth(c); width > 0)
            titles->resizeSection(c, width);

    // The indicator column: every row as high as the cell font needs, fixed,
    // so that the view never measures rows (a list may hold 100,000).
    QHeaderView *indicator = s->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    fitRowHeight();
    s->installEventFilter(this);
    indicator->setFixedWidth(14);
    indicator->setHighlightSections(false);

    s->setMinimumSize(200, 120);
    s->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(titles, &QHeaderView::sectionClicked, this, [this](int column) {
        ui::GeneralErrorHandler::Run([this, column] { sortByColumnTitle(column); }, m_window);
    });
    connect(s, &QTableView::doubleClicked, this, [this] { handle(&RecordTab::viewOrModifyRecord); });
    connect(s->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { followGridRow(); });
    // A model reset clears the grid's current index: the refresh sets it again.
}

void RecordTab::fitRowHeight()
{
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
}

bool RecordTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::FontChange)
        fitRowHeight();
    return QObject::eventFilter(watched, event);
}

void RecordTab::setUpMenu()
{
    m_popup = new QMenu(m_window);
    m_popup->setObjectName(QStringLiteral("popupcompte"));
    auto add = [this](const char16_t *name, void (RecordTab::*handler)()) {
        auto *action = new QAction(m_window);
        action->setObjectName(QString::fromUtf16(name));
        connect(action, &QAction::triggered, this, [this, handler] { handle(handler); });
        m_popup->addAction(action);
        return action;
    };
    m_majoutcompte = add(u"majoutcompte", &RecordTab::addRecord);
    m_mvisumodifcompte = add(u"mvisumodifcompte", &RecordTab::viewOrModifyRecord);
    m_msupprimecompte = add(u"msupprimecompte", &RecordTab::deleteRecord);
    m_changerletop = add(u"Changerletop1", &RecordTab::toggleTopFlag);
    if (m_grid) {
        connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
            m_popup->popup(m_grid->viewport()->mapToGlobal(pos));
        });
    }
}

void RecordTab::wireControls()
{
    auto button = [this](const char16_t *name, void (RecordTab::*handler)()) {
        if (auto *b = control<QAbstractButton>(m_window, name))
            connect(b, &QAbstractButton::clicked, this, [this, handler] { handle(handler); });
    };
    button(u"SpeedButton1", &RecordTab::RefreshGrid);
    button(u"sAjout", &RecordTab::addRecord);
    button(u"smodif", &RecordTab::viewOrModifyRecord);
    button(u"ssupprime", &RecordTab::deleteRecord);
    button(u"sdetruiretoutedonnee", &RecordTab::eraseAllRecords);

    // Enter in a criteria edit runs the list again; the edit keeps the key.
    const struct {
        QLineEdit *edit;
        int limit;
    } edits[] = {{m_texCb, 13}, {m_text1, 100}, {m_text2, 100}};
    for (const auto &e : edits) {
        if (e.edit == nullptr)
            continue;
        e.edit->setMaxLength(e.limit);
        connect(e.edit, &QLineEdit::returnPressed, this, [this] { handle(&RecordTab::RefreshGrid); });
    }
    connect(&m_dialog, &RecordDialog::RowChanged, this, [this] {
        m_model->RowChanged(m_list.listQuery().recNo() - 1);
    });
}

void RecordTab::handle(void (RecordTab::*handler)())
{
    ui::GeneralErrorHandler::Run([this, handler] { (this->*handler)(); }, m_window);
}

void RecordTab::ApplyTexts()
{
    m_model->ApplyTexts();
    m_majoutcompte->setText(i18n::LangString(i18n::Text::Add));
    m_mvisumodifcompte->setText(i18n::LangString(i18n::Text::ViewModify));
    m_msupprimecompte->setText(i18n::LangString(i18n::Text::Delete));
    m_changerletop->setText(i18n::LangString(i18n::Text::ToggleFlag));
}

void RecordTab::readCriteria()
{
    m_list.state() = CurrentListState();
}

ListState RecordTab::CurrentListState() const
{
    ListState state = m_list.state();
    state.criteriaCb = typed(m_texCb);
    state.criteriaText1 = typed(m_text1);
    state.criteriaText2 = typed(m_text2);
    state.top = TopChoice::All;
    if (m_ratop && m_ratop->isChecked())
        state.top = TopChoice::Flagged;
    if (m_ranontop && m_ranontop->isChecked())
        state.top = TopChoice::Unflagged;
    return state;
}

void RecordTab::RefreshGrid()
{
    readCriteria();
    m_model->BeginRefresh();
    try {
        m_list.RefreshRecordList();
    } catch (...) {
        // The failed statement left the list closed: the grid shows it empty.
        m_model->EndRefresh();
        throw;
    }
    m_model->EndRefresh();
    showCurrentRow();
}

void RecordTab::sortByColumnTitle(int column)
{
    readCriteria();
    m_model->BeginRefresh();
    try {
        m_list.sortByColumnTitle(RecordGridModel::FieldName(column));
    } catch (...) {
        m_model->EndRefresh();
        throw;
    }
    m_model->EndRefresh();
    showCurrentRow();
}

void RecordTab::showCurrentRow()
{
    const store::Query &query = m_list.listQuery();
    const int row = query.recNo() - 1;
    m_model->SetCurrentRow(row);
    if (!m_grid)
        return;
    if (row < 0) {
        m_grid->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, RecordGridModel::ColCb);
    m_grid->selectionModel()->setCurrentIndex(index,
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
}

void RecordTab::followGridRow()
{
    if (!m_grid)
        return;
    const int row = m_grid->selectionModel()->currentIndex().row();
    store::Query &query = m_list.listQuery();
    if (row >= 0 && row < query.recordCount())
        query.setRecNo(row + 1);
    m_model->SetCurrentRow(query.recNo() - 1);
}

void RecordTab::addRecord()
{
    m_dialog.SetMode(QStringLiteral("C"));
    m_dialog.exec();
    if (m_dialog.Outcome() == u"OK")
        RefreshGrid();
}

void RecordTab::viewOrModifyRecord()
{
    store::Query &query = m_list.listQuery();
    if (query.recNo() < 1)
        return;
    const std::int32_t num = query.integer("num");
    if (num == 0)
        return;
    m_dialog.SetMode(QStringLiteral("M"));
    m_dialog.SetRowSource(&query);
    m_dialog.SetRecordNum(num);
    m_dialog.exec();
}

void RecordTab::deleteRecord()
{
    store::Query &query = m_list.listQuery();
    if (query.recNo() <= 0)
        return;
    if (query.integer("num") == 0)
        return;
    QMessageBox box(QMessageBox::Question, i18n::LangString(i18n::Text::ConfirmationCaption), i18n::LangString(i18n::Text::DeleteRecordQuestion),
        QMessageBox::Yes | QMessageBox::No, m_window);
    if (box.exec() != QMessageBox::Yes)
        return;
    const std::int32_t num = query.integer("num");
    m_model->BeginRefresh();
    query.deleteCurrentRow();
    m_model->EndRefresh();
    RunCommand(m_data.commandQuery(), DeleteStatement(num));
    RefreshGrid();
}

void RecordTab::toggleTopFlag()
{
    try {
        store::Query &query = m_list.listQuery();
        if (query.recNo() <= 0)
            return;
        const std::int32_t num = query.integer("num");
        const QByteArray flag = ToggledFlag(query.text("topp"));
        if (num == 0)
            return;
        RunCommand(m_data.commandQuery(), ToggleStatement(num, flag));
        // The row keeps its place, even when the flag criterion no longer
        // matches it, until the list is run again.
        query.setValue("topp", flag);
        m_model->RowChanged(query.recNo() - 1);
    } catch (const std::exception &) {
        // Toggling says nothing about a failure: the next refresh shows the truth.
    }
}

void RecordTab::eraseAllRecords()
{
    store::DeleteArticleFiles(m_data.table());
    // Opening the list opens the table again, created empty.
    RefreshGrid();
}

} // namespace etibarix::records

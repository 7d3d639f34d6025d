#include "records/ui/RecordsTab.h"

#include "records/RecordDatabase.h"
#include "store/TableFiles.h"
#include "base/Cp1252.h"
#include "base/ui/Controls.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/Pictures.h"
#include "i18n/ui/FontApplier.h"
#include "i18n/LanguageTable.h"
#include "i18n/Text.h"
#include "records/RecordCommands.h"
#include "records/RecordList.h"
#include "records/RecordStatements.h"
#include "records/ui/RecordGridDelegate.h"
#include "records/ui/RecordGridModel.h"
#include "records/ui/RecordDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace etibarix::records {

using i18n::Text;
namespace {

QByteArray typed(const QLineEdit *edit)
{
    return edit ? base::toCp1252Lossy(edit->text()) : QByteArray();
}

} // namespace

RecordsTab::RecordsTab(records::RecordDatabase &data, RecordList &list, QWidget *parent)
    : QWidget(parent), m_data(data), m_list(list)
{
    setObjectName(QStringLiteral("Tabcompte"));
    m_model = new RecordGridModel(m_list.listQuery(), this);
    buildControls();
    setUpGrid();
    setUpMenu();
    wireControls();
    m_model->ApplyTexts();
    retranslateMenu();
}

void RecordsTab::attachRecordDialog(RecordDialog &dialog)
{
    m_dialog = &dialog;
    m_dialog->SetCommandQuery(&m_data.commandQuery());
    connect(m_dialog, &RecordDialog::RowChanged, this, [this] {
        m_model->RowChanged(m_list.listQuery().recNo() - 1);
    });
}

void RecordsTab::buildControls()
{
    using ui::group;
    using ui::named;
    using ui::pictureButton;
    using ui::radio;
    using ui::Picture;

    m_gbcritere = group(this, u"gbcritere",
                        QStringLiteral("Restreindre l'affichage aux fiches correspondant aux critères suivants"));
    auto *edits = new QGridLayout;
    edits->setColumnStretch(1, 1);
    const struct {
        QLineEdit *&edit;
        QLabel *&label;
        const char16_t *name;
        const char16_t *labelName;
        const char16_t *text;
    } editList[] = {
        {m_texCb, m_labTexCb, u"TexCb", u"labTexCb", u"Code Barre"},
        {m_text1, m_labtext1, u"text1", u"labtext1", u"Texte 1"},
        {m_text2, m_labtext2, u"text2", u"labtext2", u"Texte 2"},
    };
    int row = 0;
    for (const auto &e : editList) {
        e.edit = named(new QLineEdit(m_gbcritere), e.name);
        e.edit->setMinimumWidth(180);
        e.label = named(new QLabel(QString::fromUtf16(e.text), m_gbcritere), e.labelName);
        e.label->setBuddy(e.edit);
        i18n::FontApplier::MarkLabelledEdit(e.edit);
        edits->addWidget(e.label, row, 0);
        edits->addWidget(e.edit, row, 1);
        ++row;
    }

    m_gbtop = group(m_gbcritere, u"gbtop", QStringLiteral("Critere sur la zone top"));
    m_ratop = radio(m_gbtop, u"Ratop", QStringLiteral("Fiches topées"));
    m_ranontop = radio(m_gbtop, u"ranontop", QStringLiteral("Fiches non topées"));
    m_ratoutes = radio(m_gbtop, u"Ratoutes", QStringLiteral("Toutes les fiches"), true);
    auto *topLayout = new QVBoxLayout(m_gbtop);
    topLayout->setSpacing(2);
    topLayout->addWidget(m_ratop);
    topLayout->addWidget(m_ranontop);
    topLayout->addWidget(m_ratoutes);

    auto *criteriaLayout = new QHBoxLayout(m_gbcritere);
    criteriaLayout->addLayout(edits, 3);
    criteriaLayout->addWidget(m_gbtop, 2);

    m_speedButton1 = named(new QToolButton(this), u"SpeedButton1");
    m_speedButton1->setIcon(ui::PictureIcon(Picture::Refresh));
    m_speedButton1->setIconSize(QSize(32, 32));
    m_speedButton1->setAutoRaise(true);
    m_speedButton1->setToolTip(QStringLiteral("Réafficher la liste des fiches par rapport au critere"));

    auto *criteriaRow = new QHBoxLayout;
    criteriaRow->addWidget(m_gbcritere, 1);
    criteriaRow->addWidget(m_speedButton1, 0, Qt::AlignVCenter);

    m_s = named(new QTableView(this), u"s");

    m_sAjout = pictureButton(this, u"sAjout", Picture::Add, QStringLiteral("Ajouter"),
                             QStringLiteral("Ajouter une fiche code barre"));
    m_smodif = pictureButton(this, u"smodif", Picture::Modify, QStringLiteral("Voir/Modifier"),
                             QStringLiteral("Voir/modifier la fiche code barre selectionnée"));
    m_ssupprime = pictureButton(this, u"ssupprime", Picture::Delete, QStringLiteral("Supprimer"),
                                QStringLiteral("Supprimer la fiche code barre sélectionné"));
    m_bimport = pictureButton(this, u"bimport", Picture::Import, QStringLiteral("Importation"),
                              QStringLiteral("Importer à partir d'un fichier texte"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_sAjout);
    buttons->addWidget(m_smodif);
    buttons->addWidget(m_ssupprime);
    buttons->addStretch(1);
    buttons->addWidget(m_bimport);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(criteriaRow);
    layout->addWidget(m_s, 1);
    layout->addLayout(buttons);
}

void RecordsTab::setUpGrid()
{
    QTableView *s = m_s;
    s->setModel(m_model);
    s->setItemDelegate(new RecordGridDelegate(s));
    s->setSelectionBehavior(QAbstractItemView::SelectRows);
    s->setSelectionMode(QAbstractItemView::SingleSelection);
    s->setEditTriggers(QAbstractItemView::NoEditTriggers);
    s->setSortingEnabled(false);   // the list statement sorts; a title click runs it again
    s->setShowGrid(true);
    // Tab goes on to the buttons instead of walking the cells.
    s->setTabKeyNavigation(false);
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
    // The sorted column's title shows the direction; the list sorts itself,
    // so a click on a title only asks for it.
    titles->setSortIndicatorShown(true);
    titles->setSortIndicator(-1, Qt::AscendingOrder);
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
    s->viewport()->installEventFilter(this);
    indicator->setFixedWidth(14);
    indicator->setHighlightSections(false);

    s->setMinimumSize(200, 120);
    s->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(titles, &QHeaderView::sectionClicked, this, [this](int column) {
        ui::GeneralErrorHandler::Run([this, column] { sortByColumnTitle(column); }, this);
    });
    connect(s, &QTableView::doubleClicked, this, [this] { handle(&RecordsTab::viewOrModifyRecord); });
    connect(s->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { followGridRow(); });
    // A model reset clears the grid's current index: the refresh sets it again.
}

void RecordsTab::fitRowHeight()
{
    m_s->verticalHeader()->setDefaultSectionSize(m_s->fontMetrics().height() + 4);
}

bool RecordsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_s && event->type() == QEvent::FontChange)
        fitRowHeight();
    if (watched == m_s && event->type() == QEvent::KeyPress && gridKey(*static_cast<QKeyEvent *>(event)))
        return true;
    if (watched == m_s->viewport() && event->type() == QEvent::Resize)
        fitTextColumns();
    return QWidget::eventFilter(watched, event);
}

bool RecordsTab::gridKey(const QKeyEvent &key)
{
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        handle(&RecordsTab::viewOrModifyRecord);
        return true;
    case Qt::Key_Insert:
        handle(&RecordsTab::addRecord);
        return true;
    case Qt::Key_Delete:
        handle(&RecordsTab::deleteRecord);
        return true;
    default:
        return false;
    }
}

void RecordsTab::fitTextColumns()
{
    QHeaderView *titles = m_s->horizontalHeader();
    int designed = 0;
    for (int c = RecordGridModel::ColCb; c < RecordGridModel::ColumnCount; ++c) {
        const int width = RecordGridModel::ColumnWidth(c);
        designed += width > 0 ? width : titles->defaultSectionSize();
    }
    const int extra = std::max(0, m_s->viewport()->width() - designed);
    titles->resizeSection(RecordGridModel::ColLib1, RecordGridModel::ColumnWidth(RecordGridModel::ColLib1) + extra / 2);
    titles->resizeSection(RecordGridModel::ColLib2,
                          RecordGridModel::ColumnWidth(RecordGridModel::ColLib2) + extra - extra / 2);
}

void RecordsTab::focusFirstCriterion()
{
    m_texCb->setFocus(Qt::ShortcutFocusReason);
    m_texCb->selectAll();
}

void RecordsTab::showListState()
{
    const ListState &state = m_list.state();
    QHeaderView *titles = m_s->horizontalHeader();
    // Record order (the hidden number column) has no title to mark.
    if (state.SortColumn >= RecordGridModel::ColCb && state.SortColumn < RecordGridModel::ColumnCount)
        titles->setSortIndicator(state.SortColumn, state.SortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    else
        titles->setSortIndicator(-1, Qt::AscendingOrder);
    Q_EMIT recordCountChanged(m_model->rowCount());
}

void RecordsTab::setUpMenu()
{
    m_popupcompte = new QMenu(this);
    m_popupcompte->setObjectName(QStringLiteral("popupcompte"));
    auto add = [this](const char16_t *name, void (RecordsTab::*handler)()) {
        auto *action = new QAction(this);
        action->setObjectName(QString::fromUtf16(name));
        connect(action, &QAction::triggered, this, [this, handler] { handle(handler); });
        m_popupcompte->addAction(action);
        return action;
    };
    m_majoutcompte = add(u"majoutcompte", &RecordsTab::addRecord);
    m_mvisumodifcompte = add(u"mvisumodifcompte", &RecordsTab::viewOrModifyRecord);
    m_msupprimecompte = add(u"msupprimecompte", &RecordsTab::deleteRecord);
    m_changerletop1 = add(u"Changerletop1", &RecordsTab::toggleTopFlag);
    connect(m_s, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_popupcompte->popup(m_s->viewport()->mapToGlobal(pos));
    });
}

void RecordsTab::wireControls()
{
    const auto button = [this](QAbstractButton *b, void (RecordsTab::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, [this, handler] { handle(handler); });
    };
    button(m_speedButton1, &RecordsTab::RefreshGrid);
    button(m_sAjout, &RecordsTab::addRecord);
    button(m_smodif, &RecordsTab::viewOrModifyRecord);
    button(m_ssupprime, &RecordsTab::deleteRecord);
    connect(m_bimport, &QAbstractButton::clicked, this, &RecordsTab::importRequested);

    // Enter in a criteria edit runs the list again; the edit keeps the key.
    const struct {
        QLineEdit *edit;
        int limit;
    } edits[] = {{m_texCb, 13}, {m_text1, 100}, {m_text2, 100}};
    for (const auto &e : edits) {
        e.edit->setMaxLength(e.limit);
        connect(e.edit, &QLineEdit::returnPressed, this, [this] { handle(&RecordsTab::RefreshGrid); });
    }
}

void RecordsTab::handle(void (RecordsTab::*handler)())
{
    ui::GeneralErrorHandler::Run([this, handler] { (this->*handler)(); }, this);
}

namespace {
// A hint with the keys that run the same command.
QString withKeys(const QString &hint, const QString &keys)
{
    return QStringLiteral("%1 (%2)").arg(hint, keys);
}
} // namespace

void RecordsTab::retranslate()
{
    using i18n::LangString;
    m_model->ApplyTexts();
    m_gbcritere->setTitle(LangString(Text::CriteriaGroup));
    m_labTexCb->setText(LangString(Text::BarcodeCriterion));
    m_labtext1->setText(LangString(Text::Text1Criterion));
    m_labtext2->setText(LangString(Text::Text2Criterion));
    m_gbtop->setTitle(LangString(Text::FlagCriterionGroup));
    m_ratop->setText(LangString(Text::FlaggedRecords));
    m_ranontop->setText(LangString(Text::UnflaggedRecords));
    m_ratoutes->setText(LangString(Text::AllRecords));
    m_speedButton1->setToolTip(withKeys(LangString(Text::RefreshHint), QStringLiteral("F5")));
    m_texCb->setToolTip(withKeys(LangString(Text::BarcodeCriterion), QStringLiteral("Ctrl+F")));
    m_sAjout->setText(LangString(Text::Add));
    m_sAjout->setToolTip(withKeys(LangString(Text::AddHint), LangString(Text::KeyInsert)));
    m_smodif->setText(LangString(Text::ViewModify));
    m_smodif->setToolTip(
        withKeys(LangString(Text::ViewModifyHint), LangString(Text::KeyEnter) + QStringLiteral(", F2")));
    m_ssupprime->setText(LangString(Text::Delete));
    m_ssupprime->setToolTip(withKeys(LangString(Text::DeleteHint), LangString(Text::KeyDelete)));
    m_bimport->setText(LangString(Text::Import));
    m_bimport->setToolTip(LangString(Text::ImportHint));
    retranslateMenu();
}

void RecordsTab::retranslateMenu()
{
    m_majoutcompte->setText(i18n::LangString(Text::Add));
    m_mvisumodifcompte->setText(i18n::LangString(Text::ViewModify));
    m_msupprimecompte->setText(i18n::LangString(Text::Delete));
    m_changerletop1->setText(i18n::LangString(Text::ToggleFlag));
}

void RecordsTab::readCriteria()
{
    m_list.state() = CurrentListState();
}

ListState RecordsTab::CurrentListState() const
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

void RecordsTab::RefreshGrid()
{
    readCriteria();
    m_model->BeginRefresh();
    try {
        m_list.RefreshRecordList();
    } catch (...) {
        // The failed statement left the list closed: the grid shows it empty.
        m_model->EndRefresh();
        showListState();
        throw;
    }
    m_model->EndRefresh();
    showCurrentRow();
    showListState();
}

void RecordsTab::sortByColumnTitle(int column)
{
    readCriteria();
    m_model->BeginRefresh();
    try {
        m_list.sortByColumnTitle(RecordGridModel::FieldName(column));
    } catch (...) {
        m_model->EndRefresh();
        showListState();
        throw;
    }
    m_model->EndRefresh();
    showCurrentRow();
    showListState();
}

void RecordsTab::showCurrentRow()
{
    const store::Query &query = m_list.listQuery();
    const int row = query.recNo() - 1;
    m_model->SetCurrentRow(row);
    if (row < 0) {
        m_s->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, RecordGridModel::ColCb);
    m_s->selectionModel()->setCurrentIndex(index,
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_s->scrollTo(index);
}

void RecordsTab::followGridRow()
{
    const int row = m_s->selectionModel()->currentIndex().row();
    store::Query &query = m_list.listQuery();
    if (row >= 0 && row < query.recordCount())
        query.setRecNo(row + 1);
    m_model->SetCurrentRow(query.recNo() - 1);
}

void RecordsTab::addRecord()
{
    if (!m_dialog)
        return;
    m_dialog->SetMode(QStringLiteral("C"));
    m_dialog->exec();
    if (m_dialog->Outcome() == u"OK")
        RefreshGrid();
}

void RecordsTab::viewOrModifyRecord()
{
    store::Query &query = m_list.listQuery();
    if (!m_dialog || query.recNo() < 1)
        return;
    const std::int32_t num = query.integer("num");
    if (num == 0)
        return;
    m_dialog->SetMode(QStringLiteral("M"));
    m_dialog->SetRowSource(&query);
    m_dialog->SetRecordNum(num);
    m_dialog->exec();
}

void RecordsTab::deleteRecord()
{
    store::Query &query = m_list.listQuery();
    if (query.recNo() <= 0)
        return;
    if (query.integer("num") == 0)
        return;
    // The question names the record it is about.
    QString question = i18n::LangString(Text::DeleteRecordQuestion) + QStringLiteral("\n\n")
        + base::fromCp1252(query.text("cb"));
    if (const QByteArray text1 = query.text("lib1").trimmed(); !text1.isEmpty())
        question += QStringLiteral(" - ") + base::fromCp1252(text1);
    QMessageBox box(QMessageBox::Question, i18n::LangString(Text::ConfirmationCaption), question,
        QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return;
    const std::int32_t num = query.integer("num");
    m_model->BeginRefresh();
    query.deleteCurrentRow();
    m_model->EndRefresh();
    RunCommand(m_data.commandQuery(), DeleteStatement(num));
    RefreshGrid();
}

void RecordsTab::toggleTopFlag()
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

bool RecordsTab::askYesNo(i18n::Text caption, i18n::Text question)
{
    QMessageBox box(QMessageBox::Question, i18n::LangString(caption), i18n::LangString(question),
        QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void RecordsTab::eraseAllRecords()
{
    // One click would erase every record: two questions, No by default, and
    // only two Yes answers go ahead.
    if (!askYesNo(i18n::Text::ConfirmationCaption, i18n::Text::ResetQuestion)
        || !askYesNo(i18n::Text::ResetSecondCaption, i18n::Text::ResetSecondQuestion))
        return;
    store::DeleteArticleFiles(m_data.table());
    // Opening the list opens the table again, created empty.
    RefreshGrid();
}

} // namespace etibarix::records

#pragma once
// The record tab of the main window (`Tabcompte`): the criteria, the grid
// `s` over the list query with its sorting and its context menu, and the
// record commands (add, view/modify, delete, flag; the reset of the
// parameters tab runs here too). The import button is the main window's to
// answer: it owns the import wizard.
//
// The handlers of the controls send their errors to the general error
// handler; the public operations let them reach the caller.

#include "i18n/Text.h"
#include "records/ListState.h"

#include <QWidget>

class QAction;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;

namespace etibarix::records {
class RecordDatabase;
}

namespace etibarix::records {

class RecordGridModel;
class RecordList;
class RecordDialog;

class RecordsTab : public QWidget {
    Q_OBJECT
public:
    RecordsTab(records::RecordDatabase &data, RecordList &list, QWidget *parent = nullptr);

    // The record dialog the add and view/modify commands open; they do
    // nothing until it is given.
    void attachRecordDialog(RecordDialog &dialog);

    // Runs the list statement from the criteria controls and the sort state
    // and shows its result, the first row current. Errors reach the caller
    // (the grid is then empty).
    void RefreshGrid();

    // The list state as the controls and the sort state give it now (what
    // the print job restricts and orders the matching records by).
    ListState CurrentListState() const;

    // The texts of the current language: captions, hints, the grid's column
    // titles and the context menu's items.
    void retranslate();

    RecordGridModel *model() const { return m_model; }
    QTableView *grid() const { return m_s; }

    // Ctrl+F: the cursor into the first criterion.
    void focusFirstCriterion();

    // The actions, as their buttons and menu items run them.
    void addRecord();
    void viewOrModifyRecord();
    void deleteRecord();
    void toggleTopFlag();
    void eraseAllRecords();
    // A click on the title of a grid column.
    void sortByColumnTitle(int column);

Q_SIGNALS:
    // The import button was pressed.
    void importRequested();
    // The list was run again: it now holds `count` records.
    void recordCountChanged(int count);

protected:
    // Rows follow the grid's font when the interface font replaces it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void retranslateMenu();
    void setUpGrid();
    void fitRowHeight();
    void setUpMenu();
    void wireControls();
    // Runs a control's handler; its errors go to the general error handler.
    void handle(void (RecordsTab::*handler)());
    // A Yes/No question with No as the default button; true on Yes.
    bool askYesNo(i18n::Text caption, i18n::Text question);
    // The criteria of the controls into the list state.
    void readCriteria();
    // The list's current row follows the grid's.
    void followGridRow();
    void showCurrentRow();
    // The sort direction in the sorted column's title; the count to whoever shows it.
    void showListState();
    // The two text columns share the width the grid has beyond its designed columns.
    void fitTextColumns();
    // Enter or F2 opens the current record, Insert adds one, Delete deletes it.
    bool gridKey(const QKeyEvent &key);

    records::RecordDatabase &m_data;
    RecordList &m_list;
    RecordDialog *m_dialog = nullptr;
    RecordGridModel *m_model = nullptr;

    QGroupBox *m_gbcritere = nullptr;
    QLabel *m_labTexCb = nullptr;
    QLineEdit *m_texCb = nullptr;
    QLabel *m_labtext1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLabel *m_labtext2 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QGroupBox *m_gbtop = nullptr;
    QRadioButton *m_ratop = nullptr;
    QRadioButton *m_ranontop = nullptr;
    QRadioButton *m_ratoutes = nullptr;
    QToolButton *m_speedButton1 = nullptr;
    QTableView *m_s = nullptr;
    QPushButton *m_sAjout = nullptr;
    QPushButton *m_smodif = nullptr;
    QPushButton *m_ssupprime = nullptr;
    QPushButton *m_bimport = nullptr;
    QMenu *m_popupcompte = nullptr;
    QAction *m_majoutcompte = nullptr;
    QAction *m_mvisumodifcompte = nullptr;
    QAction *m_msupprimecompte = nullptr;
    QAction *m_changerletop1 = nullptr;
};

} // namespace etibarix::records

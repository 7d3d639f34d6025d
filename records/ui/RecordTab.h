#pragma once
// The record management of the main window: the grid `s` over the list
// query, its criteria and sorting, its context menu and the record commands.
// It works on any window that carries the named controls (TexCb, text1,
// text2, Ratop, ranontop, Ratoutes, SpeedButton1, s, sAjout, smodif,
// ssupprime, sdetruiretoutedonnee); a control that is missing is simply not
// wired. It creates the context menu popupcompte and its actions as children
// of the window.
//
// The handlers of the controls send their errors to the general error
// handler; the public operations let them reach the caller.

#include "records/ListState.h"

#include <QObject>
#include <QPointer>

class QAction;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTableView;
class QWidget;

namespace etibarix::records {

class RecordDatabase;
class RecordGridModel;
class RecordList;
class RecordDialog;

class RecordTab : public QObject {
    Q_OBJECT
public:
    RecordTab(QWidget *window, records::RecordDatabase &data, RecordList &list, RecordDialog &dialog);

    // Runs the list statement from the criteria controls and the sort state
    // and shows its result, the first row current. Errors reach the caller
    // (the grid is then empty).
    void RefreshGrid();

    // The list state as the controls and the sort state give it now (what
    // the print job restricts and orders the matching records by).
    ListState CurrentListState() const;

    // The grid's column titles and the context menu's items in the current language.
    void ApplyTexts();

    RecordGridModel *model() const { return m_model; }

    // The actions, as their buttons and menu items run them.
    void addRecord();
    void viewOrModifyRecord();
    void deleteRecord();
    void toggleTopFlag();
    void eraseAllRecords();
    // A click on the title of a grid column.
    void sortByColumnTitle(int column);

protected:
    // Rows follow the grid's font when the interface font replaces it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpGrid();
    void fitRowHeight();
    void setUpMenu();
    void wireControls();
    // Runs a control's handler; its errors go to the general error handler.
    void handle(void (RecordTab::*handler)());
    // The criteria of the controls into the list state.
    void readCriteria();
    // The list's current row follows the grid's.
    void followGridRow();
    void showCurrentRow();

    QWidget *m_window;
    records::RecordDatabase &m_data;
    RecordList &m_list;
    RecordDialog &m_dialog;
    RecordGridModel *m_model = nullptr;

    QPointer<QTableView> m_grid;
    QPointer<QLineEdit> m_texCb;
    QPointer<QLineEdit> m_text1;
    QPointer<QLineEdit> m_text2;
    QPointer<QRadioButton> m_ratop;
    QPointer<QRadioButton> m_ranontop;
    QMenu *m_popup = nullptr;
    QAction *m_majoutcompte = nullptr;
    QAction *m_mvisumodifcompte = nullptr;
    QAction *m_msupprimecompte = nullptr;
    QAction *m_changerletop = nullptr;
};

} // namespace etibarix::records

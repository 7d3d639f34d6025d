#pragma once
// The record grid's model: a read-only view of the list query's result. Cells
// are read from the result only when the view asks for them, so a list of
// 100,000 records costs nothing beyond the result itself.
//
// Columns: 0 num (hidden by the grid), 1 cb, 2 lib1, 3 lib2, 4 quantite,
// 5 topp. The grid's owner resets the model around every run of the list
// statement (RefreshGrid) and reports in-place changes of a row (RowChanged).

#include "i18n/Text.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QString>

#include <array>

namespace etibarix::store {
class Query;
}

namespace etibarix::records {

class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNum, ColCb, ColLib1, ColLib2, ColQuantite, ColTopp, ColumnCount };

    explicit RecordGridModel(store::Query &listQuery, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Column titles can be replaced (the window's texts); nothing else.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The field shown by a column ("cb", ...), empty outside 0..5.
    static QByteArray FieldName(int column);
    // The column's cell colour; its design width in pixels (0: the default).
    static QColor ColumnColor(int column);
    static int ColumnWidth(int column);
    // The text of a column's title (none for the hidden num).
    static i18n::Text TitleText(int column);

    // Titles from the current language.
    void ApplyTexts();

    // Around a run of the list statement: the result is replaced as a whole.
    void BeginRefresh();
    void EndRefresh();
    // A row of the result was changed in place.
    void RowChanged(int row);
    // The row marked in the indicator column (the list's current row), -1 none.
    void SetCurrentRow(int row);
    int CurrentRow() const { return m_currentRow; }

private:
    // The result's column behind each grid column, found again at every refresh.
    void mapColumns();

    store::Query &m_query;
    std::array<int, ColumnCount> m_resultColumn{};
    std::array<QString, ColumnCount> m_titles;
    int m_rows = 0;
    int m_currentRow = -1;
};

} // namespace etibarix::records

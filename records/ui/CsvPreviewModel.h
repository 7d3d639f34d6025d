#pragma once
// The import wizard's preview grid: one row per data line, columns 1 to 10
// holding fields 1 to 10. The lines are kept whole (cut after the tenth
// field) and split only when a cell is shown, so a file of 100,000 lines
// costs one byte array per line and no item per cell.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QStringList>

#include <vector>

namespace etibarix::records {

class CsvPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 10;

    explicit CsvPreviewModel(QObject *parent = nullptr);

    // The column headings (the fixed row); the row headings stay empty.
    void SetHeadings(const QStringList &headings);
    // The preview's lines and the separator that splits them.
    void SetLines(std::vector<QByteArray> lines, char separator);
    // Back to one empty row.
    void Clear();
    int LineCount() const { return static_cast<int>(m_lines.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<QByteArray> m_lines;
    char m_separator = ',';
    QStringList m_headings;
};

} // namespace etibarix::records

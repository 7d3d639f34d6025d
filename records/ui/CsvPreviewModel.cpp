#include "records/ui/CsvPreviewModel.h"

#include "base/Cp1252.h"
#include "i18n/TextFile.h"

namespace etibarix::records {

CsvPreviewModel::CsvPreviewModel(QObject *parent) : QAbstractTableModel(parent) {}

void CsvPreviewModel::SetHeadings(const QStringList &headings)
{
    m_headings = headings;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, Columns - 1);
}

void CsvPreviewModel::SetLines(std::vector<QByteArray> lines, char separator)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_separator = separator;
    endResetModel();
}

void CsvPreviewModel::Clear()
{
    SetLines({}, m_separator);
}

int CsvPreviewModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    // An empty preview still shows one empty row under the headings.
    return m_lines.empty() ? 1 : static_cast<int>(m_lines.size());
}

int CsvPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant CsvPreviewModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= m_lines.size())
        return QString();
    return base::fromCp1252(i18n::TextFile::Field(m_lines[row], m_separator, index.column() + 1));
}

QVariant CsvPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal && section >= 0 && section < m_headings.size())
        return m_headings.at(section);
    return QString();
}

} // namespace etibarix::records

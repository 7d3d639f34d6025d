#pragma once
// A window holding the main window's record tab (and the reset button of its
// parameters tab), over a real article table in a temporary program
// directory: what the record tests drive.

#include "records/RecordDatabase.h"
#include "records/RecordList.h"
#include "records/ui/RecordsTab.h"
#include "records/ui/RecordDialog.h"
#include "tests/support/TestSupport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <ostream>
#include <memory>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QRadioButton;
class QTableView;

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace etibarix::test {

class ModalAnswer;

// Answers the modal windows that come up, in turn, one step each. A window
// beyond the steps is closed and counted as unexpected, so no test hangs.
class AnswerInTurn {
public:
    using Step = std::function<void(QWidget *)>;
    explicit AnswerInTurn(std::vector<Step> steps);
    ~AnswerInTurn();
    int answered() const { return m_next; }
    int unexpected() const { return m_unexpected; }
    // Title and text ("title: text") of each window answered.
    const QStringList &seen() const { return m_seen; }

private:
    std::vector<Step> m_steps;
    int m_next = 0;
    int m_unexpected = 0;
    QStringList m_seen;
    std::unique_ptr<ModalAnswer> m_answer;
};

class RecordHost {
public:
    RecordHost();
    ~RecordHost();

    QWidget &window() { return *m_window; }
    records::RecordDatabase &data() { return *m_data; }
    records::RecordList &list() { return *m_list; }
    records::RecordDialog &dialog() { return *m_dialog; }
    records::RecordsTab &tab() { return *m_tab; }
    const QString &dir() const { return m_dirPath; }

    template <typename T>
    T *find(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    QTableView *grid() const;

    // Writes a record straight through the command query.
    void insert(int num, const QByteArray &cb, const QByteArray &lib1 = "L1", const QByteArray &lib2 = "L2",
        int quantite = 1, const QByteArray &topp = "O");
    // The table's records in num order, "num|cb|lib1|lib2|quantite|topp".
    QStringList tableRows();
    // The grid's visible cells of each row, "cb|lib1|lib2|quantite|topp".
    QStringList gridRows() const;
    // The list's current row (0-based), -1 when none.
    int currentRow() const;
    // Makes row current as a click in the grid would.
    void selectRow(int row);
    void clickTitle(int column);

private:
    DataDir m_dir;
    QString m_dirPath;
    std::unique_ptr<records::RecordDatabase> m_data;
    std::unique_ptr<records::RecordList> m_list;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<records::RecordDialog> m_dialog;
    records::RecordsTab *m_tab = nullptr;   // a child of the window
};

} // namespace etibarix::test

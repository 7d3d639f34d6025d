#pragma once
// The small stay-on-top window shown while the table engine rebuilds the
// record table's index: titled "Indexing <index file>...", it holds a bar of
// 100 "|" characters that loses one at each of the engine's 100 steps, and
// closes when the index is complete.
//
// Hook it into the table's callbacks before the table is opened:
//     store::TableCallbacks callbacks;           // with its message box etc.
//     indexingWindow->attach(callbacks);
//     data.table().setCallbacks(callbacks);

#include <QDialog>
#include <QString>

class QLabel;

namespace etibarix::store {

struct TableCallbacks;

class IndexingWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int BarLength = 100;

    explicit IndexingWindow(QWidget *parent = nullptr);

    // Sets indexBegin, indexStep and indexEnd of the callbacks to this window
    // (the other members stay as they are). The window must outlive the table.
    void attach(TableCallbacks &callbacks);

    // The engine's three calls.
    void Begin(const QString &title);
    void Step(int step);
    void End();

    // The bar as it stands ("|" characters).
    QString bar() const;

private:
    void centre();

    QLabel *m_bar;
};

} // namespace etibarix::store

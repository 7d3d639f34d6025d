#pragma once
// A stand-in for the main window in the tests of the print tab, the backup
// commands and the indexing window: a plain widget holding the archive
// buttons and a print tab, over a real data directory; plus a watchdog that
// turns a test stuck in a modal window into a failure instead of a hang.

#include "labels/formats/LabelFormats.h"
#include "labels/ui/PrintTab.h"
#include "records/ListState.h"
#include "records/RecordDatabase.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace etibarix::test {

class Host {
public:
    // language: 1 French, 2 English, 3 Portuguese. listState gives the print
    // tab the record list's criteria and order (default: none).
    explicit Host(int language = 2, std::function<records::ListState()> listState = {});
    ~Host();

    QWidget &window() { return m_window; }
    records::RecordDatabase &data() { return *m_data; }
    const DataDir &dir() const { return m_dir; }
    labels::PrintTab &printTab() { return *m_printTab; }
    // How the print tab's jobs ended, in turn.
    const std::vector<labels::PrintTab::JobEnd> &jobEnds() const { return m_jobEnds; }

    template <typename T> T *find(const char *name)
    {
        return m_window.findChild<T *>(QString::fromLatin1(name));
    }
    // Selects the label format entry n (1..13) in CombListeEtiquette.
    void selectFormat(int entry);

    // Appends a record through the command query.
    void insert(int num, const QByteArray &cb, const QByteArray &lib1, const QByteArray &lib2, int quantite,
                const QByteArray &topp = "O");
    // The live records as "cb/lib1/quantite" lines, in record order.
    QList<QByteArray> rows();

private:
    DataDir m_dir;
    QWidget m_window;
    std::unique_ptr<records::RecordDatabase> m_data;
    labels::LabelFormats m_formats;
    labels::PrintTab *m_printTab = nullptr;
    std::vector<labels::PrintTab::JobEnd> m_jobEnds;
};

// Fails the running test and closes every modal window (and cancels the
// print status window) when a test has not finished after `seconds`.
class Watchdog {
public:
    explicit Watchdog(int seconds = 30);
    ~Watchdog();
    bool fired() const { return m_fired; }

private:
    QTimer m_timer;
    bool m_fired = false;
};

} // namespace etibarix::test

#pragma once
// The record dialog: the one window in which the user types a record, to
// create it (mode "C") or to change the list's current record (mode "M").
// Confirming writes the record with one insert or update through the command
// query; in modify mode the list's current row takes the new values at once
// (RowChanged), without the list being run again.

#include "records/RecordStatements.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace etibarix::store {
class Query;
}

namespace etibarix::records {

class RecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecordDialog(QWidget *parent = nullptr);

    // The query that runs the insert or update and finds the next number.
    void SetCommandQuery(store::Query *commandQuery) { m_commandQuery = commandQuery; }

    // Set by the opener before the dialog is shown: "C" create, "M" modify.
    void SetMode(const QString &mode) { m_mode = mode; }
    const QString &Mode() const { return m_mode; }
    // The record being modified; in create mode, the number given to the
    // new record when it was saved.
    void SetRecordNum(std::int32_t num) { m_recordNum = num; }
    std::int32_t RecordNum() const { return m_recordNum; }
    // The list whose current row is being modified (modify mode).
    void SetRowSource(store::Query *rowSource) { m_rowSource = rowSource; }
    // "OK" once an entry was confirmed; cleared by a confirmed cancel; left
    // as it was otherwise (also when the window's close box closes it).
    const QString &Outcome() const { return m_outcome; }

    // The texts of the current language (caption, labels, button hints).
    void retranslate();

    // The buttons' work, as pressing them does it.
    void acceptRecord();
    void cancelRecord();

Q_SIGNALS:
    // Modify mode: the row source's current row now holds the saved values.
    void RowChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The typed record as stored bytes. Raises base::Error for a text that
    // cannot be stored as typed (a double quote, a character without a
    // Windows-1252 byte), so the entry stays in the window.
    RecordEntry typedEntry() const;
    void saveEntry(const RecordEntry &entry);
    void showRecord();

    store::Query *m_commandQuery = nullptr;
    store::Query *m_rowSource = nullptr;
    QString m_mode = QStringLiteral("C");
    std::int32_t m_recordNum = 0;
    QString m_outcome;

    QFrame *m_panel = nullptr;
    QLabel *m_labnom = nullptr;
    QLabel *m_labligne1 = nullptr;
    QLabel *m_labLigne2 = nullptr;
    QLabel *m_labQuantite = nullptr;
    QLabel *m_labtop = nullptr;
    QLineEdit *m_ecb = nullptr;
    QLineEdit *m_elib1 = nullptr;
    QLineEdit *m_elib2 = nullptr;
    QComboBox *m_combQuantite = nullptr;
    QComboBox *m_combTop = nullptr;
    QPushButton *m_boutok = nullptr;
    QPushButton *m_sretour = nullptr;
};

} // namespace etibarix::records

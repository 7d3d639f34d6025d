#pragma once
// The CSV import wizard. Page 1: the file, its separator, the header
// lines to skip, its encoding and whether lines already in the table are
// skipped; page 2: a preview of every data line and the field that
// feeds each part of the record; the import itself is records/CsvImport.
// The window is created once and reused; each opening puts the texts of the
// current language on and resets the choices, but keeps the chosen path.

#include "records/CsvImport.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace etibarix::store {
class Query;
}

namespace etibarix::records {

class CsvPreviewModel;

class ImportWizard : public QDialog {
    Q_OBJECT
public:
    explicit ImportWizard(QWidget *parent = nullptr);

    // The query the import writes through (the main window's command query).
    void SetCommandQuery(store::Query *commandQuery);

    void retranslate();
    void ResetWizard();
    void ShowPage();
    void chooseCsvFile();
    void goToNextPage();
    void goToPreviousPage();
    void openImportWizard();
    void closeWizard();
    // Errors of the reader reach the caller.
    void PreviewFile();
    // Errors of the reader and of the table reach the caller; the records
    // inserted before stay.
    void RunImport();

    int CurrentPage() const { return m_currentPage; }
    // The path as chosen, used for reading; LabchemFic shows it in capitals.
    const QString &ChosenPath() const { return m_chosenPath; }
    // What choosing the file in the dialog does (also lets tests do without it).
    void SetChosenPath(const QString &path);
    bool Importing() const { return m_importing; }
    const CsvImportResult &LastResult() const { return m_lastResult; }
    // Escape and sretour; does nothing while an import runs.
    void reject() override;

protected:
    // Every opening: texts, choices and grid reset, page 1.
    void showEvent(QShowEvent *event) override;
    // Neither the close box nor Escape ends the window while an import runs.
    void closeEvent(QCloseEvent *event) override;

private:
    void whenActivated();
    CsvImportOptions Choices() const;
    void SetImporting(bool importing);

    store::Query *m_commandQuery = nullptr;
    int m_currentPage = 1;
    QString m_chosenPath;
    bool m_importing = false;
    CsvImportResult m_lastResult;

    QStackedWidget *m_pages = nullptr;
    QGroupBox *m_gparametre = nullptr;
    QLabel *m_Labseparateur = nullptr;
    QComboBox *m_combSepa = nullptr;
    QLabel *m_labligne = nullptr;
    QComboBox *m_CombnbLentete = nullptr;
    QLabel *m_encodingLabel = nullptr;
    QComboBox *m_encodingList = nullptr;
    QCheckBox *m_skipExisting = nullptr;
    QLabel *m_labinfo = nullptr;
    QLabel *m_LabchemFicLabel = nullptr;
    QLineEdit *m_LabchemFic = nullptr;
    QPushButton *m_Souvrir = nullptr;
    QTableView *m_sgrille1 = nullptr;
    CsvPreviewModel *m_preview = nullptr;
    QGroupBox *m_gparchamp = nullptr;
    QLabel *m_labcodebarre = nullptr;
    QLabel *m_labtext1 = nullptr;
    QLabel *m_Labtext2 = nullptr;
    QLabel *m_labquantite = nullptr;
    QComboBox *m_combcb = nullptr;
    QComboBox *m_combt1 = nullptr;
    QComboBox *m_combt2 = nullptr;
    QComboBox *m_combQuantite = nullptr;
    QLabel *m_Labetatimport = nullptr;
    QPushButton *m_bprecedent = nullptr;
    QPushButton *m_bsuivant = nullptr;
    QPushButton *m_bimport = nullptr;
    QPushButton *m_sretour = nullptr;
};

} // namespace etibarix::records

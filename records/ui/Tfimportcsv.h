#pragma once
// The CSV import wizard window. The wizard's pages come with the import
// itself; until then the window says so and closes.

#include <QDialog>

class QLabel;

namespace etibarix::records {

class Tfimportcsv : public QDialog {
    Q_OBJECT
public:
    explicit Tfimportcsv(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_message = nullptr;
};

} // namespace etibarix::records

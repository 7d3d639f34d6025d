#pragma once
// The about box: the program's name, emblem and version, closed with OK.

#include <QDialog>

class QLabel;
class QPushButton;

namespace etibarix::info {

class Tfapropos : public QDialog {
    Q_OBJECT
public:
    explicit Tfapropos(QWidget *parent = nullptr);

    static QString Version() { return QStringLiteral("1.07"); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    QLabel *m_lversion = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace etibarix::info

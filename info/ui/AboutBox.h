#pragma once
// The about box: the program's name, emblem and version, closed with OK.

#include <QDialog>

class QLabel;
class QPushButton;

namespace etibarix::info {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    static QString Version() { return QStringLiteral("1.07"); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void whenFirstShown();

    QLabel *m_lversion = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace etibarix::info

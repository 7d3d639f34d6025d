#pragma once
// The about box: the program's name, emblem and version, closed with OK.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace etibarix::info {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    static QString Version() { return QStringLiteral("1.07"); }

    // The box's texts (the same in every language).
    void retranslate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void whenFirstShown();

    QFrame *m_panel1 = nullptr;
    QLabel *m_image1 = nullptr;
    QLabel *m_productName = nullptr;
    QLabel *m_lversion = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace etibarix::info

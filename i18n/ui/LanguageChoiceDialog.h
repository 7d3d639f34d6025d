#pragma once
// The language choice shown at the first start: three flags, three choices.
// Its texts are fixed; none comes from the language table.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace etibarix::i18n {

class LanguageChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit LanguageChoiceDialog(QWidget *parent = nullptr);

    // The language number the window stands for: 1 French, 2 English,
    // 3 Portuguese (1 when, against the group's rule, none is checked).
    int ChosenLanguage() const;

    // The window's texts (fixed: each language names itself).
    void retranslate();

private:
    QGroupBox *m_groupBox1 = nullptr;
    QLabel *m_images[3] = {};
    QRadioButton *m_lfrancais = nullptr;
    QRadioButton *m_langlais = nullptr;
    QRadioButton *m_lportugais = nullptr;
    QPushButton *m_boutok = nullptr;
};

} // namespace etibarix::i18n

#pragma once
// The parameters tab of the main window (`tabpara`): one inner page
// (`tabopdiv`) with the language group (flags, three language buttons and
// "Appliquer") and the exceptional operation (reset every record).

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace etibarix::app {

class ParametersTab : public QWidget {
    Q_OBJECT
public:
    explicit ParametersTab(QWidget *parent = nullptr);

    void retranslate();

    // Checks lfrancais, then langlais for 2 or lportugais for 3.
    void checkLanguage(int language);
    // 1, then 1 when lfrancais, 2 when langlais, 3 when lportugais is checked.
    int checkedLanguage() const;
    // A language file gives the texts: no choice of language.
    void hideLanguageGroup();

Q_SIGNALS:
    // "Appliquer" was pressed.
    void applyLanguage();
    // "Reinitialiser toutes les données" was pressed.
    void resetData();

private:
    QTabWidget *m_pageParametres = nullptr;
    QWidget *m_tabopdiv = nullptr;
    QGroupBox *m_gLangue = nullptr;
    QLabel *m_flags[3] = {};
    QRadioButton *m_lfrancais = nullptr;
    QRadioButton *m_langlais = nullptr;
    QRadioButton *m_lportugais = nullptr;
    QPushButton *m_btappliquer = nullptr;
    QGroupBox *m_gpopexe = nullptr;
    QPushButton *m_sdetruiretoutedonnee = nullptr;
};

} // namespace etibarix::app

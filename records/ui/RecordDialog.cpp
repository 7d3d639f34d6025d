#include "records/ui/RecordDialog.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/Pictures.h"
#include "i18n/LanguageTable.h"
#include "records/RecordCommands.h"
#include "records/RecordRules.h"
#include "store/Query.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QValidator>
#include <QVBoxLayout>

namespace etibarix::records {
namespace {

constexpr int kTextLimit = 100;

// Turns letters into capitals while they are typed (and pasted), as the
// stored barcode will hold them. A letter whose capital has no Windows-1252
// byte stays as it is.
class CapitalsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (!c.isLower())
                continue;
            if (const std::optional<QByteArray> byte = base::toCp1252(QStringView(&c, 1))) {
                const QString capital = base::fromCp1252(ToCapitals(*byte));
                if (capital.size() == 1)
                    input[i] = capital.at(0);
            }
        }
        return Acceptable;
    }
};

// Blanks and control characters at both ends removed.
QStringView trimmedBlanks(QStringView text)
{
    while (!text.isEmpty() && text.front().unicode() <= u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back().unicode() <= u' ')
        text.chop(1);
    return text;
}

// The text as stored bytes, or an error naming the first character that has
// no Windows-1252 byte.
QByteArray storedBytes(const QString &text, i18n::Text label)
{
    if (std::optional<QByteArray> bytes = base::toCp1252(text))
        return *bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = QStringView(text).sliced(i, length);
        if (!base::toCp1252(character))
            throw base::Error(i18n::LangString(i18n::Text::CharacterNotStorable)
                                  .arg(character.toString(), i18n::LangString(label).trimmed()));
        i += length - 1;
    }
    return {};
}

// The text Qt gives a standard button in the current translation.
QString standardButtonText(QDialogButtonBox::StandardButton which)
{
    QDialogButtonBox box(which);
    return box.button(which)->text();
}

} // namespace

RecordDialog::RecordDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fcremodcpte"));
    setModal(true);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panelzone"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_panel->setFrameShadow(QFrame::Raised);

    auto label = [this](const char16_t *name) {
        auto *l = new QLabel(m_panel);
        l->setObjectName(QString::fromUtf16(name));
        return l;
    };
    auto edit = [this](const char16_t *name, const char16_t *hint) {
        auto *e = new QLineEdit(m_panel);
        e->setObjectName(QString::fromUtf16(name));
        e->setToolTip(QString::fromUtf16(hint));
        e->setMaxLength(kTextLimit);
        return e;
    };
    m_labnom = label(u"Labnom");
    m_labligne1 = label(u"labligne1");
    m_labLigne2 = label(u"labLigne2");
    m_labQuantite = label(u"LabQuantite");
    m_labtop = label(u"labtop");
    m_ecb = edit(u"ecb", u"Numero code barres");
    m_ecb->setValidator(new CapitalsValidator(m_ecb));
    // The table's barcode field holds 50 characters: a longer one would be cut.
    m_ecb->setMaxLength(int(BarcodeWidth));
    m_elib1 = edit(u"elib1", u"ligne de commentaire 1");
    m_elib2 = edit(u"elib2", u"Ligne de commentaire 2");
    m_labnom->setBuddy(m_ecb);
    m_labligne1->setBuddy(m_elib1);
    m_labLigne2->setBuddy(m_elib2);

    m_combQuantite = new QComboBox(m_panel);
    m_combQuantite->setObjectName(QStringLiteral("CombQuantite"));
    m_combQuantite->setEditable(true);
    m_combQuantite->setInsertPolicy(QComboBox::NoInsert);   // typed numbers do not pile up in the list
    for (const int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 35, 40, 45, 50})
        m_combQuantite->addItem(QString::number(n));
    m_combQuantite->setMinimumContentsLength(5);
    // The field holds three digits: 1000 would be stored as asterisks.
    m_combQuantite->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), m_combQuantite));
    m_labQuantite->setBuddy(m_combQuantite);

    m_combTop = new QComboBox(m_panel);
    m_combTop->setObjectName(QStringLiteral("CombTop"));
    m_combTop->addItems({QStringLiteral("X"), QString()});
    m_combTop->setMinimumContentsLength(3);
    m_labtop->setBuddy(m_combTop);

    auto *grid = new QGridLayout(m_panel);
    grid->addWidget(m_labnom, 0, 0);
    grid->addWidget(m_ecb, 0, 1, 1, 4);
    grid->addWidget(m_labligne1, 1, 0);
    grid->addWidget(m_elib1, 1, 1, 1, 4);
    grid->addWidget(m_labLigne2, 2, 0);
    grid->addWidget(m_elib2, 2, 1, 1, 4);
    grid->addWidget(m_labQuantite, 3, 0);
    grid->addWidget(m_combQuantite, 3, 1);
    grid->addItem(new QSpacerItem(16, 1, QSizePolicy::Fixed), 3, 2);
    grid->addWidget(m_labtop, 3, 3, Qt::AlignRight);
    grid->addWidget(m_combTop, 3, 4, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);

    m_boutok = new QPushButton(ui::PictureIcon(ui::Picture::Ok), QString(), this);
    m_boutok->setObjectName(QStringLiteral("boutok"));
    m_boutok->setDefault(true);   // Enter confirms
    m_boutok->setAutoDefault(false);
    m_boutok->setMinimumWidth(100);
    m_sretour = new QPushButton(ui::PictureIcon(ui::Picture::Cancel), QString(), this);
    m_sretour->setObjectName(QStringLiteral("sretour"));
    m_sretour->setAutoDefault(false);
    m_sretour->setMinimumWidth(100);
    connect(m_boutok, &QPushButton::clicked, this, [this] { ui::GeneralErrorHandler::Run([this] { acceptRecord(); }, this); });
    connect(m_sretour, &QPushButton::clicked, this, [this] { ui::GeneralErrorHandler::Run([this] { cancelRecord(); }, this); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_boutok);
    buttons->addStretch(1);
    buttons->addWidget(m_sretour);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
    layout->addStretch(1);
    layout->addLayout(buttons);

    retranslate();
    resize(522, 224);
}

void RecordDialog::retranslate()
{
    setWindowTitle(i18n::LangString(i18n::Text::RecordDialogCaption));
    m_labnom->setText(i18n::LangString(i18n::Text::Barcode));
    m_labligne1->setText(i18n::LangString(i18n::Text::Text1));
    m_labLigne2->setText(i18n::LangString(i18n::Text::Text2));
    m_labQuantite->setText(i18n::LangString(i18n::Text::Quantity));
    m_labtop->setText(i18n::LangString(i18n::Text::Flag));
    m_boutok->setToolTip(i18n::LangString(i18n::Text::ConfirmEntryHint));
    m_sretour->setToolTip(i18n::LangString(i18n::Text::CancelEntry));
    // The buttons read like the message boxes' own buttons in this language.
    m_boutok->setText(standardButtonText(QDialogButtonBox::Ok));
    m_sretour->setText(standardButtonText(QDialogButtonBox::Cancel));
}

void RecordDialog::showEvent(QShowEvent *event)
{
    retranslate();
    if (m_mode == u"C") {
        m_ecb->clear();
        m_elib1->clear();
        m_elib2->clear();
        m_combQuantite->setEditText(QStringLiteral("1"));
        m_combTop->setCurrentIndex(0);   // a new record is flagged unless the user says otherwise
    } else if (m_mode == u"M") {
        showRecord();
    }
    m_panel->setEnabled(true);
    m_boutok->show();
    m_sretour->show();
    m_ecb->setFocus();
    QDialog::showEvent(event);
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void RecordDialog::showRecord()
{
    if (m_rowSource == nullptr || m_rowSource->recNo() < 1)
        return;
    m_recordNum = m_rowSource->integer("num");
    m_ecb->setText(base::fromCp1252(m_rowSource->text("cb")));
    m_elib1->setText(base::fromCp1252(m_rowSource->text("lib1")));
    m_elib2->setText(base::fromCp1252(m_rowSource->text("lib2")));
    m_combQuantite->setEditText(QString::number(m_rowSource->integer("quantite")));
    m_combTop->setCurrentIndex(m_rowSource->text("topp") == QByteArrayView("O") ? 0 : 1);
}

void RecordDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape does nothing: only the cancel button (with its question) or the
    // close box leave without saving.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

RecordEntry RecordDialog::typedEntry() const
{
    RecordEntry entry;
    entry.cb = storedBytes(m_ecb->text(), i18n::Text::Barcode);
    entry.lib1 = storedBytes(m_elib1->text(), i18n::Text::Text1);
    entry.lib2 = storedBytes(m_elib2->text(), i18n::Text::Text2);
    RefuseUnprintableBarcode(entry.cb);
    entry.quantite = 1;
    std::int32_t quantity = 0;
    if (IsInteger(base::toCp1252Lossy(m_combQuantite->currentText()), &quantity)) {
        if (quantity < 0 || quantity > QuantityLimit)
            throw base::Error(i18n::LangString(i18n::Text::QuantityNotInRange)
                                  .arg(i18n::LangString(i18n::Text::Quantity))
                                  .arg(QuantityLimit));
        entry.quantite = quantity;
    }
    entry.topp = m_combTop->currentIndex() == 0 ? QByteArray("O") : QByteArray("N");
    // The statement language has no escape for a double quote: refuse the
    // text now rather than let the command fail silently and lose the entry.
    RefuseDoubleQuote(entry);
    return entry;
}

void RecordDialog::acceptRecord()
{
    if (trimmedBlanks(m_ecb->text()).isEmpty()) {
        QMessageBox box(QMessageBox::Warning, i18n::LangString(i18n::Text::OperationImpossible), i18n::LangString(i18n::Text::EntryNotValid), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    const RecordEntry entry = typedEntry();
    m_outcome = QStringLiteral("OK");
    saveEntry(entry);
    accept();
}

void RecordDialog::saveEntry(const RecordEntry &entry)
{
    if (m_commandQuery == nullptr)
        throw base::Error(i18n::LangString(i18n::Text::NoTableForDialog));
    if (m_mode == u"C") {
        const NumberingLock numbering(*m_commandQuery);
        m_recordNum = NextRecordNum(*m_commandQuery);
        RunCommand(*m_commandQuery, InsertStatement(m_recordNum, entry));
        return;
    }
    RunCommand(*m_commandQuery, UpdateStatement(m_recordNum, entry));
    // Only the list's copy of the row changes; the list is not run again, so
    // the row keeps its place.
    if (m_rowSource == nullptr || m_rowSource->recNo() < 1)
        return;
    m_rowSource->setValue("num", m_recordNum);
    m_rowSource->setValue("cb", entry.cb);
    m_rowSource->setValue("lib1", entry.lib1);
    m_rowSource->setValue("lib2", entry.lib2);
    m_rowSource->setValue("quantite", entry.quantite);
    m_rowSource->setValue("topp", entry.topp);
    Q_EMIT RowChanged();
}

void RecordDialog::cancelRecord()
{
    QMessageBox box(QMessageBox::Question, i18n::LangString(i18n::Text::ConfirmationCaption), i18n::LangString(i18n::Text::CancelEntry),
        QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return;
    m_outcome.clear();
    reject();
}

} // namespace etibarix::records

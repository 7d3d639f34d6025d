#include "records/ui/Tfimportcsv.h"

#include "app/ui/Pictures.h"
#include "i18n/LanguageTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace etibarix::records {

Tfimportcsv::Tfimportcsv(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fimportcsv"));
    setModal(true);
    auto *picture = new QLabel(this);
    picture->setPixmap(app::DrawPicture(app::Picture::Import, 48));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("labinfo"));
    m_message->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &Tfimportcsv::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addWidget(m_message, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    resize(420, 150);
}

void Tfimportcsv::showEvent(QShowEvent *event)
{
    setWindowTitle(i18n::LangString(111));
    m_message->setText(QStringLiteral("The import of CSV files is not available in this version."));
    QDialog::showEvent(event);
}

} // namespace etibarix::records

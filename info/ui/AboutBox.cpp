#include "info/ui/AboutBox.h"

#include "base/ui/Pictures.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace etibarix::info {
namespace {

QFont msSansSerifBold(int pixelHeight)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

} // namespace

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fapropos"));
    QFont windowFont(QStringLiteral("System"));
    windowFont.setPixelSize(13);
    setFont(windowFont);
    setFixedSize(422, 399);
    setModal(true);

    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    // A lowered outer and a raised inner bevel: an etched frame.
    m_panel1->setFrameShape(QFrame::Box);
    m_panel1->setFrameShadow(QFrame::Sunken);
    m_panel1->setLineWidth(1);
    m_panel1->setMidLineWidth(0);
    m_panel1->setGeometry(9, 8, 405, 337);

    m_image1 = new QLabel(m_panel1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(ui::DrawPicture(ui::Picture::Emblem, 49));
    m_image1->setGeometry(16, 8, 49, 49);

    m_productName = new QLabel(m_panel1);
    m_productName->setObjectName(QStringLiteral("ProductName"));
    m_productName->setFont(msSansSerifBold(16));
    m_productName->setStyleSheet(QStringLiteral("color: black"));
    m_productName->move(87, 17);

    // The design caption; the first show puts the version in.
    m_lversion = new QLabel(QStringLiteral("V 1.01"), m_panel1);
    m_lversion->setObjectName(QStringLiteral("lversion"));
    m_lversion->setFont(msSansSerifBold(11));
    m_lversion->setStyleSheet(QStringLiteral("color: black"));
    m_lversion->move(88, 40);

    m_okButton = new QPushButton(ui::PictureIcon(ui::Picture::Ok), QString(), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFont(msSansSerifBold(11));
    m_okButton->setGeometry(173, 347, 77, 46);
    m_okButton->setIconSize(QSize(20, 20));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::accept);
    retranslate();
}

void AboutBox::retranslate()
{
    // The box reads the same in every language.
    setWindowTitle(QStringLiteral("A propos"));
    m_productName->setText(QStringLiteral("Etibarix"));
    m_productName->adjustSize();
    m_okButton->setText(QStringLiteral("OK"));
}

void AboutBox::showEvent(QShowEvent *event)
{
    whenFirstShown();
    QDialog::showEvent(event);
}

void AboutBox::whenFirstShown()
{
    m_lversion->setText(Version());
    m_lversion->adjustSize();
    m_okButton->setFocus();
}

} // namespace etibarix::info

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
    setWindowTitle(QStringLiteral("A propos"));
    QFont windowFont(QStringLiteral("System"));
    windowFont.setPixelSize(13);
    setFont(windowFont);
    setFixedSize(422, 399);
    setModal(true);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    // A lowered outer and a raised inner bevel: an etched frame.
    panel->setFrameShape(QFrame::Box);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    panel->setGeometry(9, 8, 405, 337);

    auto *image = new QLabel(panel);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(ui::DrawPicture(ui::Picture::Emblem, 49));
    image->setGeometry(16, 8, 49, 49);

    auto *productName = new QLabel(QStringLiteral("Etibarix"), panel);
    productName->setObjectName(QStringLiteral("ProductName"));
    productName->setFont(msSansSerifBold(16));
    productName->setStyleSheet(QStringLiteral("color: black"));
    productName->move(87, 17);
    productName->adjustSize();

    m_lversion = new QLabel(QStringLiteral("V 1.01"), panel);
    m_lversion->setObjectName(QStringLiteral("lversion"));
    m_lversion->setFont(msSansSerifBold(11));
    m_lversion->setStyleSheet(QStringLiteral("color: black"));
    m_lversion->move(88, 40);

    m_okButton = new QPushButton(ui::PictureIcon(ui::Picture::Ok), QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFont(msSansSerifBold(11));
    m_okButton->setGeometry(173, 347, 77, 46);
    m_okButton->setIconSize(QSize(20, 20));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::accept);
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

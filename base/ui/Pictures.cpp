#include "base/ui/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace etibarix::ui {
namespace {

// Every picture is drawn on a 32 x 32 grid and scaled to the wanted size.
constexpr qreal kGrid = 32.0;

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kGreen(0x2e, 0x9b, 0x4f);
const QColor kRed(0xc8, 0x3a, 0x32);
const QColor kOrange(0xe8, 0x9a, 0x2c);
const QColor kPaper(0xfb, 0xfb, 0xf6);

QPen inkPen(qreal width, const QColor &colour = kInk)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void roundedBox(QPainter &p, const QRectF &r, const QColor &fill, qreal radius = 3)
{
    p.setPen(inkPen(1.2));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// A small barcode: bars of varying width between x0 and x1.
void bars(QPainter &p, qreal x0, qreal x1, qreal top, qreal bottom)
{
    static const int widths[] = {2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 3, 2, 1};
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    qreal x = x0;
    bool dark = true;
    const qreal unit = (x1 - x0) / 29.0;
    for (int w : widths) {
        const qreal width = w * unit;
        if (x + width > x1 + 0.01)
            break;
        if (dark)
            p.drawRect(QRectF(x, top, width, bottom - top));
        x += width;
        dark = !dark;
    }
}

void circleBadge(QPainter &p, const QColor &fill)
{
    QRadialGradient g(QPointF(12, 10), 18);
    g.setColorAt(0, fill.lighter(140));
    g.setColorAt(1, fill);
    p.setPen(inkPen(1.2, fill.darker(150)));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 26, 26));
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &colour, qreal width = 3)
{
    p.setPen(inkPen(width, colour));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF a = line;
    a.setLength(6);
    a.setAngle(line.angle() + 35);
    QLineF b = line;
    b.setLength(6);
    b.setAngle(line.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

void folder(QPainter &p)
{
    QPainterPath back;
    back.moveTo(3, 9);
    back.lineTo(12, 9);
    back.lineTo(14, 12);
    back.lineTo(27, 12);
    back.lineTo(27, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.setPen(inkPen(1.2, QColor(0x9a, 0x6b, 0x12)));
    p.setBrush(QColor(0xf2, 0xc2, 0x4f));
    p.drawPath(back);
    QPolygonF front({{6, 15}, {30, 15}, {27, 27}, {3, 27}});
    p.setBrush(QColor(0xf7, 0xd6, 0x7a));
    p.drawPolygon(front);
}

void floppy(QPainter &p)
{
    p.setPen(inkPen(1.2));
    p.setBrush(kBlue);
    QPolygonF body({{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}});
    p.drawPolygon(body);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 4, 14, 9));
    p.setBrush(QColor(0x3a, 0x3a, 0x3a));
    p.drawRect(QRectF(17, 6, 3, 5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 17, 16, 11));
    p.setPen(inkPen(1, QColor(0x9a, 0xa8, 0xb8)));
    p.drawLine(QPointF(11, 21), QPointF(21, 21));
    p.drawLine(QPointF(11, 24), QPointF(21, 24));
}

void printer(QPainter &p)
{
    p.setPen(inkPen(1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 10));
    roundedBox(p, QRectF(3, 11, 26, 12), QColor(0x8d, 0x99, 0xa6));
    p.setBrush(kPaper);
    p.setPen(inkPen(1.2));
    p.drawRect(QRectF(8, 19, 16, 10));
    bars(p, 10, 22, 21, 27);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(24, 14, 3, 3));
}

void pencil(QPainter &p)
{
    p.save();
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(inkPen(1.2));
    p.setBrush(kOrange);
    p.drawRect(QRectF(-9, -3.5, 16, 7));
    p.setBrush(QColor(0xf0, 0x9e, 0xb0));
    p.drawRect(QRectF(7, -3.5, 4, 7));
    p.setBrush(QColor(0xf3, 0xdc, 0xb0));
    QPolygonF tip({{-9, -3.5}, {-15, 0}, {-9, 3.5}});
    p.drawPolygon(tip);
    p.restore();
}

void label(QPainter &p, const QRectF &r)
{
    roundedBox(p, r, kPaper, 2.5);
    bars(p, r.left() + 3, r.right() - 3, r.top() + 3, r.bottom() - 5);
    p.setPen(inkPen(1, QColor(0x88, 0x88, 0x88)));
    p.drawLine(QPointF(r.left() + 4, r.bottom() - 2.5), QPointF(r.right() - 4, r.bottom() - 2.5));
}

void tick(QPainter &p, const QColor &colour, qreal width = 4)
{
    p.setPen(inkPen(width, colour));
    p.setBrush(Qt::NoBrush);
    QPolygonF check({{7, 17}, {13, 23}, {25, 9}});
    p.drawPolyline(check);
}

void flagFrance(QPainter &p, const QRectF &r)
{
    const qreal w = r.width() / 3;
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(r.left(), r.top(), w, r.height()), QColor(0x00, 0x23, 0x95));
    p.fillRect(QRectF(r.left() + w, r.top(), w, r.height()), Qt::white);
    p.fillRect(QRectF(r.left() + 2 * w, r.top(), w, r.height()), QColor(0xed, 0x29, 0x39));
}

void flagUnitedKingdom(QPainter &p, const QRectF &r)
{
    const QColor blue(0x01, 0x21, 0x69);
    const QColor red(0xc8, 0x10, 0x2e);
    p.save();
    p.setClipRect(r);
    p.fillRect(r, blue);
    const qreal unit = r.height() / 30.0; // the flag is 60 x 30 units (shown 3:2 here)
    const QPointF tl = r.topLeft(), tr = r.topRight(), bl = r.bottomLeft(), br = r.bottomRight();
    p.setPen(QPen(Qt::white, 6 * unit));
    p.drawLine(tl, br);
    p.drawLine(tr, bl);
    p.setPen(QPen(red, 2 * unit));
    p.drawLine(tl, br);
    p.drawLine(tr, bl);
    const QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(r.left(), c.y() - 5 * unit, r.width(), 10 * unit), Qt::white);
    p.fillRect(QRectF(c.x() - 5 * unit, r.top(), 10 * unit, r.height()), Qt::white);
    p.fillRect(QRectF(r.left(), c.y() - 3 * unit, r.width(), 6 * unit), red);
    p.fillRect(QRectF(c.x() - 3 * unit, r.top(), 6 * unit, r.height()), red);
    p.restore();
}

void flagPortugal(QPainter &p, const QRectF &r)
{
    const qreal split = r.left() + r.width() * 2 / 5;
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(r.left(), r.top(), split - r.left(), r.height()), QColor(0x00, 0x66, 0x00));
    p.fillRect(QRectF(split, r.top(), r.right() - split, r.height()), QColor(0xff, 0x00, 0x00));
    const qreal radius = r.height() * 0.3;
    const QPointF c(split, r.center().y());
    p.setPen(QPen(QColor(0xff, 0xe0, 0x00), radius * 0.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(Qt::white, radius * 0.12));
    p.setBrush(QColor(0xff, 0x00, 0x00));
    p.drawRoundedRect(QRectF(c.x() - radius * 0.5, c.y() - radius * 0.6, radius, radius * 1.15), radius * 0.2, radius * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(c.x() - radius * 0.28, c.y() - radius * 0.35, radius * 0.56, radius * 0.7));
}

void drawOn(QPainter &p, Picture picture)
{
    switch (picture) {
    case Picture::LoadBackup:
        folder(p);
        arrow(p, QPointF(17, 23), QPointF(17, 3), kGreen);
        break;
    case Picture::SaveBackup:
        floppy(p);
        break;
    case Picture::Info:
        circleBadge(p, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(14, 7.5, 4, 4));
        p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
        break;
    case Picture::Help: {
        circleBadge(p, kGreen);
        p.setPen(inkPen(3.2, Qt::white));
        p.setBrush(Qt::NoBrush);
        QPainterPath q;
        q.moveTo(11.5, 12.5);
        q.cubicTo(11.5, 6.5, 21, 6.5, 20.5, 12.5);
        q.cubicTo(20, 16, 16, 16, 16, 19.5);
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(14.2, 22, 3.6, 3.6));
        break;
    }
    case Picture::Quit:
        p.setPen(inkPen(1.2));
        p.setBrush(QColor(0x9b, 0x6a, 0x3c));
        p.drawRect(QRectF(5, 3, 14, 26));
        p.setBrush(QColor(0xe9, 0xd8, 0xb8));
        p.drawPolygon(QPolygonF({{5, 3}, {13, 6}, {13, 30}, {5, 29}}));
        arrow(p, QPointF(16, 16), QPointF(29, 16), kRed);
        break;
    case Picture::Refresh: {
        p.setPen(inkPen(3, kGreen));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 40 * 16, 230 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({{19, 3}, {28, 9}, {19, 13}}));
        p.setPen(inkPen(3, kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 220 * 16, 60 * 16);
        break;
    }
    case Picture::Add:
        label(p, QRectF(2, 6, 22, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(16, 16, 14, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(22, 18.5, 2, 9));
        p.drawRect(QRectF(18.5, 22, 9, 2));
        break;
    case Picture::Modify:
        label(p, QRectF(2, 6, 22, 16));
        p.save();
        p.translate(6, 6);
        p.scale(0.8, 0.8);
        pencil(p);
        p.restore();
        break;
    case Picture::Delete:
        label(p, QRectF(2, 6, 22, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(QRectF(16, 16, 14, 14));
        p.setPen(inkPen(2.2, Qt::white));
        p.drawLine(QPointF(20, 20), QPointF(26, 26));
        p.drawLine(QPointF(26, 20), QPointF(20, 26));
        break;
    case Picture::Import: {
        p.setPen(inkPen(1.2));
        p.setBrush(kPaper);
        p.drawPolygon(QPolygonF({{12, 3}, {24, 3}, {29, 8}, {29, 29}, {12, 29}}));
        p.setPen(inkPen(1, QColor(0x88, 0x88, 0x88)));
        for (int y = 11; y <= 25; y += 4)
            p.drawLine(QPointF(16, y), QPointF(26, y));
        arrow(p, QPointF(2, 16), QPointF(15, 16), kBlue);
        break;
    }
    case Picture::Print:
        printer(p);
        break;
    case Picture::Apply:
    case Picture::Ok:
        tick(p, kGreen);
        break;
    case Picture::Cancel:
        p.setPen(inkPen(4, kRed));
        p.drawLine(QPointF(9, 9), QPointF(23, 23));
        p.drawLine(QPointF(23, 9), QPointF(9, 23));
        break;
    case Picture::Reset: {
        QPolygonF triangle({{16, 3}, {30, 28}, {2, 28}});
        p.setPen(inkPen(1.5, QColor(0x8a, 0x5a, 0x00)));
        p.setBrush(QColor(0xff, 0xc9, 0x2e));
        p.drawPolygon(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRoundedRect(QRectF(14.5, 10, 3, 10), 1.2, 1.2);
        p.drawEllipse(QRectF(14.3, 22, 3.4, 3.4));
        break;
    }
    case Picture::TabRecords:
        label(p, QRectF(2, 3, 24, 15));
        label(p, QRectF(6, 14, 24, 15));
        break;
    case Picture::TabPrinting:
        printer(p);
        break;
    case Picture::TabParameters: {
        p.save();
        p.translate(16, 16);
        p.setPen(inkPen(1.2));
        p.setBrush(QColor(0x8d, 0x99, 0xa6));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            QPainterPath tooth;
            tooth.addRect(QRectF(-3, -14, 6, 8));
            gear = gear.united(QTransform().rotate(i * 45).map(tooth));
        }
        QPainterPath ring;
        ring.addEllipse(QPointF(0, 0), 10, 10);
        gear = gear.united(ring);
        QPainterPath hole;
        hole.addEllipse(QPointF(0, 0), 4, 4);
        p.drawPath(gear.subtracted(hole));
        p.restore();
        break;
    }
    case Picture::FlagFrance:
        flagFrance(p, QRectF(1, 6, 30, 20));
        break;
    case Picture::FlagUnitedKingdom:
        flagUnitedKingdom(p, QRectF(1, 6, 30, 20));
        break;
    case Picture::FlagPortugal:
        flagPortugal(p, QRectF(1, 6, 30, 20));
        break;
    case Picture::Emblem: {
        QLinearGradient g(0, 0, 0, 32);
        g.setColorAt(0, QColor(0x4b, 0x8f, 0xe0));
        g.setColorAt(1, QColor(0x1f, 0x4f, 0x96));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
        p.setBrush(kPaper);
        p.setPen(inkPen(0.8));
        p.drawRoundedRect(QRectF(4, 7, 24, 18), 2.5, 2.5);
        bars(p, 7, 25, 9.5, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x70, 0x70, 0x70));
        p.drawRect(QRectF(9, 21.5, 14, 1.5));
        break;
    }
    }
}

} // namespace

QPixmap DrawPicture(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    drawOn(p, picture);
    return pixmap;
}

QIcon PictureIcon(Picture picture)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(DrawPicture(picture, size));
    return icon;
}

} // namespace etibarix::ui

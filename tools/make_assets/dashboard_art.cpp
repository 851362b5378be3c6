#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <array>
#include <cmath>

#include "dashboard/gauge_art.h"
#include "kit.h"
#include "pictures.h"
#include "widgets.h"

namespace kvrns::assets {
namespace {

using dashboard::GaugeKind;

// Places on the dashboard, in window pixels; the window lays its controls at
// exactly these points.
constexpr QSize kWindow{995, 712};
constexpr double kCorner = 18.0;
constexpr QRect kTitle{56, 24, 213, 35};
constexpr std::array<int, 3> kCaptionX{880, 904, 928};
constexpr int kCaptionY = 32;
constexpr std::array<QPoint, 3> kGauges{QPoint(96, 120), QPoint(392, 120), QPoint(688, 120)};
constexpr std::array<int, 4> kButtonX{64, 160, 256, 352};
constexpr int kButtonY = 280;
constexpr QRectF kTable{40, 330, 924, 358};  // the light aluminium inset
constexpr QRectF kButtonChannel{55, 272, 389, 45};
constexpr QRectF kCaptionRecess{873, 26, 82, 32};

void recess(QPainter& p, const QRectF& r, double radius, const QColor& top, const QColor& bottom)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Lit lower lip outside the recess, then the cut itself.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 16));
    p.drawRoundedRect(r.adjusted(-1, -0.5, 1, 1.2), radius + 1, radius + 1);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.adjusted(-1, -1, 1, 0.3), radius + 1, radius + 1);
    p.setBrush(vertical(r, top, bottom));
    p.drawRoundedRect(r, radius, radius);
    p.restore();
    innerShadow(p, r, radius, 5, 90);
}

void engravedLine(QPainter& p, double x0, double x1, double y, const QColor& dark, const QColor& light)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    auto pen = [&](const QColor& c) {
        QLinearGradient g(x0, 0, x1, 0);
        QColor clear = c;
        clear.setAlpha(0);
        g.setColorAt(0.0, clear);
        g.setColorAt(0.06, c);
        g.setColorAt(0.94, c);
        g.setColorAt(1.0, clear);
        return QPen(QBrush(g), 1.0);
    };
    p.setPen(pen(dark));
    p.drawLine(QPointF(x0, y + 0.5), QPointF(x1, y + 0.5));
    p.setPen(pen(light));
    p.drawLine(QPointF(x0, y + 1.5), QPointF(x1, y + 1.5));
    p.restore();
}

void gaugeBezel(QPainter& p, const QPoint& at)
{
    const QRectF g(at, dashboard::kGaugeSize);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Shadow under the bezel.
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(0, 0, 0, 22));
        p.drawRoundedRect(g.adjusted(-8 - i, -7 - i + 1, 8 + i, 8 + i + 1), 17 + i, 17 + i);
    }
    // Turned metal lip, light from above.
    QLinearGradient lip(g.topLeft() - QPointF(0, 8), g.bottomLeft() + QPointF(0, 8));
    lip.setColorAt(0.0, QColor(150, 156, 166));
    lip.setColorAt(0.12, QColor(92, 98, 108));
    lip.setColorAt(0.6, QColor(50, 54, 61));
    lip.setColorAt(1.0, QColor(26, 28, 32));
    p.setBrush(lip);
    p.drawRoundedRect(g.adjusted(-8, -8, 8, 8), 17, 17);
    p.setBrush(vertical(g, QColor(30, 33, 38), QColor(20, 22, 26)));
    p.drawRoundedRect(g.adjusted(-6.7, -6.7, 6.7, 6.7), 15.7, 15.7);
    // Throat that the dial sits in: the same flat colour as the dial's corners.
    const QRgb surround = dashboard::gaugeFace(GaugeKind::Power).pixel(0, 0);
    p.setBrush(QColor::fromRgb(surround));
    p.drawRoundedRect(g.adjusted(-3.5, -3.5, 3.5, 3.5), 12.5, 12.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    p.drawRoundedRect(g.adjusted(-3.5, -3.5, 3.5, 3.5), 12.5, 12.5);
    p.restore();
}

QImage titlePicture(const QImage& skinBeforeTitle)
{
    QImage image = skinBeforeTitle.copy(kTitle);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintEmblem(p, QRectF(2, 2.5, 30, 30));

    const QFont font = typeface("Liberation Sans", 23, true, 5.0);
    QPainterPath word;
    word.addText(QPointF(42, 26.5), font, QStringLiteral("TALVORN"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawPath(word.translated(0, 1.2));
    QLinearGradient silver(0, 9, 0, 27);
    silver.setColorAt(0.0, QColor(255, 255, 255));
    silver.setColorAt(0.48, QColor(222, 226, 232));
    silver.setColorAt(0.52, QColor(176, 182, 192));
    silver.setColorAt(1.0, QColor(214, 218, 226));
    p.setBrush(silver);
    p.drawPath(word);
    // A blue hairline under the wordmark ties it to the dashboard's accent.
    const QRectF bounds = word.boundingRect();
    QLinearGradient accent(bounds.left(), 0, bounds.right(), 0);
    accent.setColorAt(0.0, QColor(0, 133, 219, 230));
    accent.setColorAt(1.0, QColor(0, 133, 219, 0));
    p.fillRect(QRectF(bounds.left() + 1, 30.5, bounds.width() + 20, 1.2), accent);
    return image;
}

QImage headerBar(int width, int visibleWidth)
{
    QImage image = clearCanvas(width, 27);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0, 0, visibleWidth, 27);
    QLinearGradient g(0, 0, 0, 27);
    g.setColorAt(0.0, QColor(18, 146, 232));
    g.setColorAt(0.48, QColor(0, 118, 200));
    g.setColorAt(0.52, QColor(0, 104, 182));
    g.setColorAt(1.0, QColor(0, 90, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(body, 4, 4);
    p.end();
    brush(image, roundedRect(body, 4), 3.0, 41);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    bevel(p, body, 4, QColor(160, 214, 255, 170), QColor(0, 40, 80, 200));
    // Gloss over the upper half.
    QLinearGradient gloss(0, 1, 0, 13);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 46));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(body.adjusted(1, 1, -1, -13.5), 3, 3);
    return image;
}

QImage namePlate()
{
    // The plate body leaves the last 6 columns clear: the value cell to its
    // right overlaps them.
    QImage image = clearCanvas(50, 29);
    const QRectF body(0, 0, 44, 29);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(body, QColor(204, 208, 214), QColor(152, 157, 165)));
    p.drawRoundedRect(body, 4, 4);
    p.end();
    brush(image, roundedRect(body, 4), 6.0, 23);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    bevel(p, body, 4, QColor(255, 255, 255, 200), QColor(70, 74, 80, 220));
    p.setPen(QPen(QColor(96, 100, 108, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    return image;
}

QImage cell(int width)
{
    QImage image = clearCanvas(width, 29);
    const QRectF body(0, 0, width, 29);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 146, 154));
    p.drawRoundedRect(body, 5, 5);
    p.setBrush(vertical(body, QColor(255, 255, 255), QColor(236, 238, 241)));
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 4, 4);
    p.setPen(QPen(QColor(0, 0, 0, 22), 1.0));
    p.drawLine(QPointF(4, 1.5), QPointF(width - 4, 1.5));
    return image;
}

QImage lever(bool up)
{
    QImage image = clearCanvas(31, 67);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(0, 0, 31, 67);
    // Dark mounting plate with a slot for the bat.
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(plate, QColor(70, 75, 84), QColor(30, 33, 38)));
    p.drawRoundedRect(plate, 7, 7);
    bevel(p, plate, 7, QColor(255, 255, 255, 90), QColor(0, 0, 0, 200));
    const QRectF slot(11.5, 8, 8, 51);
    p.setBrush(QColor(8, 9, 11));
    p.drawRoundedRect(slot, 4, 4);
    p.setPen(QPen(QColor(255, 255, 255, 36), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(slot.adjusted(-0.5, 0, 0.5, 1), 4, 4);
    innerShadow(p, slot, 4, 4, 150);

    const QPointF pivot(15.5, 33.5);
    // Hex bushing around the pivot.
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = (30.0 + 60.0 * i) * 3.14159265358979 / 180.0;
        hex << pivot + QPointF(7.2 * std::cos(a), 7.2 * std::sin(a));
    }
    p.setPen(QPen(QColor(20, 22, 26), 0.8));
    QLinearGradient nut(pivot - QPointF(0, 7), pivot + QPointF(0, 7));
    nut.setColorAt(0.0, QColor(220, 224, 230));
    nut.setColorAt(0.5, QColor(140, 146, 155));
    nut.setColorAt(1.0, QColor(80, 85, 94));
    p.setBrush(nut);
    p.drawPolygon(hex);

    // Chrome bat: a tapered shaft ending in a rounded head.
    const double dir = up ? -1.0 : 1.0;
    const double headY = pivot.y() + dir * 25.0;
    QPainterPath shaft;
    shaft.moveTo(pivot.x() - 2.6, pivot.y());
    shaft.lineTo(pivot.x() - 3.6, headY);
    shaft.lineTo(pivot.x() + 3.6, headY);
    shaft.lineTo(pivot.x() + 2.6, pivot.y());
    shaft.closeSubpath();
    shaft.addEllipse(QPointF(pivot.x(), headY), 4.6, 4.6);
    shaft.setFillRule(Qt::WindingFill);
    // Shadow, cast down and to the right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(shaft.translated(1.5, 2.0));
    QLinearGradient chrome(pivot.x() - 4.6, 0, pivot.x() + 4.6, 0);
    chrome.setColorAt(0.0, QColor(70, 74, 82));
    chrome.setColorAt(0.3, QColor(250, 251, 253));
    chrome.setColorAt(0.55, QColor(170, 176, 186));
    chrome.setColorAt(1.0, QColor(60, 64, 72));
    p.setBrush(chrome);
    p.setPen(QPen(QColor(30, 32, 36, 200), 0.6));
    p.drawPath(shaft.simplified());
    // Highlight on the head, from above.
    QRadialGradient shine(QPointF(pivot.x() - 1.5, headY - 1.8), 3.5);
    shine.setColorAt(0.0, QColor(255, 255, 255, 230));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(QPointF(pivot.x(), headY), 4.2, 4.2);
    // Centre rivet of the bushing.
    p.setBrush(QColor(40, 43, 48));
    p.drawEllipse(pivot, 2.2, 2.2);
    p.setBrush(QColor(200, 205, 212));
    p.drawEllipse(pivot - QPointF(0.5, 0.5), 1.1, 1.1);
    return image;
}

// A speech bubble: body from `body`, a pointer tail ending at `tip` whose base
// spans `baseFrom` to `baseTo` along the body's edge.
QImage bubble(int width, int height, const QRectF& body, const QPointF& baseFrom, const QPointF& baseTo,
              const QPointF& tip)
{
    QImage image = clearCanvas(width, height);
    QPainterPath shape = roundedRect(body, 8);
    QPainterPath tail;
    tail.moveTo(baseFrom);
    tail.lineTo(tip);
    tail.lineTo(baseTo);
    tail.closeSubpath();
    shape = shape.united(tail).simplified();

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(body, QColor(40, 45, 53), QColor(24, 27, 32)));
    p.drawPath(shape);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccentBlue, 1.0));
    p.drawPath(shape);
    // Faint inner highlight along the top of the body.
    QLinearGradient sheen(0, body.top(), 0, body.top() + 12);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 26));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(body.adjusted(1.5, 1.5, -1.5, -body.height() / 2), 7, 7);
    return image;
}

QImage skinBase()
{
    QImage image = opaqueCanvas(kWindow.width(), kWindow.height());
    const QRectF window(QPointF(0, 0), QSizeF(kWindow));
    const QPainterPath panel = roundedRect(window, kCorner);
    {
        QPainter p(&image);
        QLinearGradient g(0, 0, 0, kWindow.height());
        g.setColorAt(0.0, QColor(43, 47, 55));
        g.setColorAt(0.12, QColor(37, 41, 48));
        g.setColorAt(0.5, QColor(31, 34, 40));
        g.setColorAt(1.0, QColor(25, 27, 32));
        p.fillRect(window, g);
    }
    brush(image, QPainterPath(), 3.5, 1);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Title bar strip and its engraved rule.
    engravedLine(p, 24, 971, 73, QColor(6, 7, 9, 220), QColor(255, 255, 255, 18));

    recess(p, kCaptionRecess, 16, QColor(14, 15, 18), QColor(21, 23, 27));

    // Gauges.
    const GaugeKind kinds[] = {GaugeKind::Power, GaugeKind::Efficiency, GaugeKind::Temperature};
    for (int i = 0; i < 3; ++i) {
        gaugeBezel(p, kGauges[i]);
        p.drawImage(kGauges[i], dashboard::gaugeFace(kinds[i]));
    }

    // Channel that holds the image buttons, and a quiet maker's line to its
    // right.
    recess(p, kButtonChannel, 12, QColor(17, 19, 22), QColor(24, 26, 30));
    engravedLine(p, 462, 748, 294, QColor(8, 9, 11, 200), QColor(255, 255, 255, 16));
    p.setFont(typeface("Liberation Sans", 9, true, 2.4));
    engrave(p, QRectF(752, 287, 200, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("DIGITAL POWER MONITOR"),
            QColor(104, 110, 120), QColor(0, 0, 0, 160));

    // The light aluminium inset that carries the output and input tables.
    const QPainterPath table = roundedRect(kTable, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 20));
    p.drawRoundedRect(kTable.adjusted(-1.5, -1, 1.5, 1.8), 11.5, 11.5);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(kTable.adjusted(-1, -1.5, 1, 0.5), 11, 11);
    p.setBrush(vertical(kTable, QColor(212, 215, 219), QColor(186, 190, 196)));
    p.drawPath(table);
    p.end();
    brush(image, table, 7.0, 2);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    innerShadow(p, kTable, 10, 6, 80);
    // Separator between the output table and the input readings.
    engravedLine(p, 536, 956, 546, QColor(140, 145, 152), QColor(246, 247, 249));

    const QPointF screws[] = {{22, 22}, {973, 22}, {22, 690}, {973, 690}};
    const double turns[] = {18, 63, 141, 102};
    for (int i = 0; i < 4; ++i) screw(p, screws[i], 5.0, turns[i]);

    // Outer edge: a dark line right at the outline, a lit bevel inside it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(7, 8, 10), 1.6));
    p.drawRoundedRect(window.adjusted(0.8, 0.8, -0.8, -0.8), kCorner - 0.8, kCorner - 0.8);
    bevel(p, window.adjusted(1.5, 1.5, -1.5, -1.5), kCorner - 1.5, QColor(150, 158, 172, 150), QColor(0, 0, 0, 160));
    p.end();
    return image;
}

}  // namespace

std::vector<Picture> dashboardPictures()
{
    std::vector<Picture> out;
    QImage skin = skinBase();
    const QImage title = titlePicture(skin);
    {
        QPainter p(&skin);
        p.drawImage(kTitle.topLeft(), title);
    }
    keyOutside(skin, roundedRect(QRectF(0, 0, kWindow.width(), kWindow.height()), kCorner));
    out.push_back({"dashboard/skin.png", skin});
    out.push_back({"dashboard/title.png", title});

    const char* states[] = {"normal", "pressed", "hover"};
    const ButtonState stateOf[] = {ButtonState::Normal, ButtonState::Pressed, ButtonState::Hover};
    for (int i = 0; i < 3; ++i) {
        const QString s = QString::fromLatin1(states[i]);
        out.push_back({"dashboard/minimise_" + s + ".png", captionButton(Glyph::Minimise, stateOf[i], Tone::Dark)});
        out.push_back({"dashboard/close_" + s + ".png", captionButton(Glyph::Close, stateOf[i], Tone::Dark)});
        out.push_back({"dashboard/mini_" + s + ".png", captionButton(Glyph::Mini, stateOf[i], Tone::Dark)});
        out.push_back({"dashboard/button_" + s + ".png", pillButton(83, 29, stateOf[i], Tone::Dark)});
        out.push_back({"dashboard/minus_" + s + ".png", arrowButton(false, stateOf[i])});
        out.push_back({"dashboard/plus_" + s + ".png", arrowButton(true, stateOf[i])});
    }
    out.push_back({"dashboard/minus_disabled.png", arrowButton(false, ButtonState::Disabled)});
    out.push_back({"dashboard/plus_disabled.png", arrowButton(true, ButtonState::Disabled)});

    out.push_back({"dashboard/nameplate.png", namePlate()});
    out.push_back({"dashboard/cell.png", cell(105)});
    out.push_back({"dashboard/cell_wide.png", cell(120)});
    out.push_back({"dashboard/lever_up.png", lever(true)});
    out.push_back({"dashboard/lever_down.png", lever(false)});
    out.push_back({"dashboard/header_current.png", headerBar(500, 500)});
    // The voltage bar is placed so that its full width would run past the
    // window's right edge; its visible part ends with the table's last column.
    out.push_back({"dashboard/header_voltage.png", headerBar(437, 393)});

    out.push_back({"dashboard/bubble_warning.png",
                   bubble(220, 60, QRectF(0.5, 0.5, 219, 49), QPointF(9, 49.5), QPointF(25, 49.5), QPointF(16, 59.5))});
    out.push_back({"dashboard/bubble_lever.png",
                   bubble(280, 80, QRectF(10.5, 0.5, 269, 79), QPointF(11, 17), QPointF(11, 37), QPointF(0.5, 26.7))});
    out.push_back({"dashboard/bubble_finetune.png",
                   bubble(280, 67, QRectF(0.5, 9.5, 279, 57), QPointF(203, 10), QPointF(221, 10), QPointF(212, 0.5))});
    out.push_back({"dashboard/bubble_voltwarn.png",
                   bubble(220, 67, QRectF(0.5, 9.5, 219, 57), QPointF(171, 10), QPointF(189, 10), QPointF(180, 0.5))});

    out.push_back({"dashboard/gauge_power_face.png", dashboard::gaugeFrame(GaugeKind::Power, 0)});
    out.push_back({"dashboard/gauge_efficiency_face.png", dashboard::gaugeFrame(GaugeKind::Efficiency, 75)});
    out.push_back({"dashboard/gauge_temperature_face.png", dashboard::gaugeFrame(GaugeKind::Temperature, 0)});
    return out;
}

}  // namespace kvrns::assets

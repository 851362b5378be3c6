#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "kit.h"
#include "pictures.h"
#include "widgets.h"

namespace kvrns::assets {
namespace {

constexpr double kDialogCorner = 14.0;
constexpr double kBandHeight = 54.0;

enum class Band { Red, Blue };

// Light brushed-aluminium dialog with a coloured title band across the top
// and a recess for the two caption buttons at (captionX, captionY).
QImage lightDialog(int width, int height, Band band, int captionX, int captionY, const QString& engravedTitle = {})
{
    QImage image = opaqueCanvas(width, height);
    const QRectF all(0, 0, width, height);
    {
        QPainter p(&image);
        p.fillRect(all, vertical(all, QColor(242, 243, 245), QColor(212, 215, 219)));
    }
    brush(image, QPainterPath(), 6.0, 5);

    const QRectF bandRect(0, 0, width, kBandHeight);
    {
        QPainter p(&image);
        QLinearGradient g(0, 0, 0, kBandHeight);
        if (band == Band::Red) {
            g.setColorAt(0.0, QColor(226, 48, 42));
            g.setColorAt(0.5, QColor(196, 28, 26));
            g.setColorAt(1.0, QColor(160, 16, 16));
        } else {
            g.setColorAt(0.0, QColor(18, 146, 232));
            g.setColorAt(0.5, QColor(0, 112, 192));
            g.setColorAt(1.0, QColor(0, 86, 152));
        }
        p.fillRect(bandRect, g);
    }
    QPainterPath bandPath;
    bandPath.addRect(bandRect);
    brush(image, bandPath, 4.0, 6);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Gloss on the upper half of the band, a dark edge and a lit line below it.
    QLinearGradient gloss(0, 0, 0, kBandHeight / 2);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 60));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 8));
    p.fillRect(QRectF(0, 0, width, kBandHeight / 2), gloss);
    p.fillRect(QRectF(0, kBandHeight - 1, width, 1), band == Band::Red ? QColor(100, 8, 8) : QColor(0, 50, 92));
    p.fillRect(QRectF(0, kBandHeight, width, 1), QColor(255, 255, 255, 200));
    QLinearGradient drop(0, kBandHeight + 1, 0, kBandHeight + 7);
    drop.setColorAt(0.0, QColor(0, 0, 0, 40));
    drop.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, kBandHeight + 1, width, 6), drop);

    // Recess for the caption buttons.
    const QRectF recessRect(captionX - 6, captionY - 4, 56, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(recessRect.adjusted(-0.5, 0, 0.5, 1.2), 14, 14);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(recessRect, 14, 14);
    innerShadow(p, recessRect, 14, 4, 80);

    if (!engravedTitle.isEmpty()) {
        p.setFont(typeface("Liberation Sans", 18, true, 0.5));
        p.setPen(QColor(0, 0, 0, 90));
        p.drawText(QRectF(24, 16, 480, 25).translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, engravedTitle);
        p.setPen(QColor(255, 255, 255));
        p.drawText(QRectF(24, 16, 480, 25), Qt::AlignLeft | Qt::AlignVCenter, engravedTitle);
    }

    // The maker's mark, small and quiet, in the lower left corner.
    paintEmblem(p, QRectF(22, height - 38, 18, 18));
    p.setFont(typeface("Liberation Sans", 11, true, 2.6));
    engrave(p, QRectF(46, height - 38, 160, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TALVORN"),
            QColor(130, 134, 140), QColor(255, 255, 255, 200));
    p.end();
    return image;
}

// Hairline outline with a lit inner edge, then the key colour outside.
void finishOutline(QImage& image, double corner)
{
    const QRectF all(0, 0, image.width(), image.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(86, 90, 98), 1.6));
    p.drawRoundedRect(all.adjusted(0.8, 0.8, -0.8, -0.8), corner - 0.8, corner - 0.8);
    bevel(p, all.adjusted(1.5, 1.5, -1.5, -1.5), corner - 1.5, QColor(255, 255, 255, 150), QColor(0, 0, 0, 50));
    p.end();
    keyOutside(image, roundedRect(all, corner));
}

void warningSign(QPainter& p, const QPointF& centre, double size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double h = size * 0.87;
    const QPointF top = centre + QPointF(0, -h * 0.58);
    const QPointF left = centre + QPointF(-size / 2, h * 0.42);
    const QPointF right = centre + QPointF(size / 2, h * 0.42);
    QPainterPath tri;
    tri.moveTo(top);
    tri.lineTo(right);
    tri.lineTo(left);
    tri.closeSubpath();
    const QPen round(Qt::black, size * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPainterPath outer = QPainterPathStroker(round).createStroke(tri).united(tri);

    // Soft shadow below the sign.
    for (int i = 0; i < 5; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 12));
        p.drawPath(outer.translated(1.5, 3 + i * 0.8));
    }
    p.setBrush(vertical(outer.boundingRect(), QColor(226, 40, 34), QColor(156, 14, 14)));
    p.drawPath(outer);
    QTransform inset;
    inset.translate(centre.x(), centre.y() + h * 0.08);
    inset.scale(0.78, 0.78);
    inset.translate(-centre.x(), -centre.y() - h * 0.08);
    const QPainterPath inner = inset.map(tri);
    // Amber, never pure yellow: pure yellow would punch a hole in the window.
    p.setBrush(vertical(inner.boundingRect(), QColor(255, 214, 64), QColor(250, 168, 20)));
    p.drawPath(inner);
    // Gloss on the upper part.
    QLinearGradient gloss(0, top.y(), 0, centre.y());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawPath(inner.intersected(roundedRect(QRectF(left.x(), top.y() - 10, size, h * 0.55 + 10), 0)));
    // Exclamation mark.
    p.setBrush(QColor(30, 24, 20));
    const double w = size * 0.085;
    QPainterPath bar;
    bar.moveTo(centre.x() - w, centre.y() - h * 0.22);
    bar.lineTo(centre.x() + w, centre.y() - h * 0.22);
    bar.lineTo(centre.x() + w * 0.6, centre.y() + h * 0.14);
    bar.lineTo(centre.x() - w * 0.6, centre.y() + h * 0.14);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QPointF(centre.x(), centre.y() + h * 0.25), w * 0.95, w * 0.95);
    p.restore();
}

QImage warningBackground()
{
    QImage image = lightDialog(665, 391, Band::Red, 584, 21);
    QPainter p(&image);
    warningSign(p, QPointF(578, 310), 104);
    p.end();
    finishOutline(image, kDialogCorner);
    return image;
}

QImage introBackground()
{
    // 740 x 395: a graphite welcome panel over a light lower part that carries
    // the product line and the "Do not remind me again" button.
    const int w = 740;
    const int h = 395;
    QImage image = opaqueCanvas(w, h);
    const QRectF all(0, 0, w, h);
    const double split = 146;
    {
        QPainter p(&image);
        p.fillRect(all, vertical(all, QColor(242, 243, 245), QColor(210, 213, 218)));
        p.fillRect(QRectF(0, 0, w, split), vertical(QRectF(0, 0, w, split), QColor(44, 48, 56), QColor(26, 29, 34)));
    }
    brush(image, QPainterPath(), 5.0, 9);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Blue accent line under the welcome panel.
    QLinearGradient accent(0, 0, w, 0);
    accent.setColorAt(0.0, QColor(0, 90, 160));
    accent.setColorAt(0.5, QColor(0, 150, 236));
    accent.setColorAt(1.0, QColor(0, 90, 160));
    p.fillRect(QRectF(0, split, w, 3), accent);
    p.fillRect(QRectF(0, split + 3, w, 1), QColor(255, 255, 255, 200));

    paintEmblem(p, QRectF(40, 34, 76, 76));
    const QFont word = typeface("Liberation Sans", 44, true, 9.0);
    QPainterPath mark;
    mark.addText(QPointF(134, 86), word, QStringLiteral("TALVORN"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 160));
    p.drawPath(mark.translated(0, 2));
    QLinearGradient silver(0, 54, 0, 88);
    silver.setColorAt(0.0, QColor(255, 255, 255));
    silver.setColorAt(0.48, QColor(222, 226, 232));
    silver.setColorAt(0.52, QColor(170, 176, 186));
    silver.setColorAt(1.0, QColor(214, 218, 226));
    p.setBrush(silver);
    p.drawPath(mark);
    p.setFont(typeface("Liberation Sans", 12, true, 3.2));
    p.setPen(QColor(140, 148, 160));
    p.drawText(QRectF(136, 94, 400, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DIGITAL POWER MONITOR"));
    // The product's abbreviation, large and quiet at the right.
    p.setFont(typeface("Liberation Sans", 30, true, 4.0));
    p.setPen(QColor(0, 133, 219));
    p.drawText(QRectF(470, 96, 232, 36), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("KVRNS"));

    // Recess for the caption buttons.
    const QRectF recessRect(661, 12, 56, 28);
    p.setBrush(QColor(255, 255, 255, 16));
    p.drawRoundedRect(recessRect.adjusted(-0.5, 0, 0.5, 1.2), 14, 14);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(recessRect, 14, 14);
    innerShadow(p, recessRect, 14, 4, 90);

    p.end();
    finishOutline(image, kDialogCorner);
    return image;
}

QImage miniBackground()
{
    const int w = 215;
    const int h = 79;
    QImage image = opaqueCanvas(w, h);
    const QRectF all(0, 0, w, h);
    {
        QPainter p(&image);
        p.fillRect(all, vertical(all, QColor(44, 48, 56), QColor(24, 27, 32)));
    }
    brush(image, QPainterPath(), 3.5, 12);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Blue hairline along the top, like the dashboard's headers.
    QLinearGradient accent(0, 0, w, 0);
    accent.setColorAt(0.0, QColor(0, 133, 219, 0));
    accent.setColorAt(0.5, QColor(0, 150, 236, 230));
    accent.setColorAt(1.0, QColor(0, 133, 219, 0));
    p.fillRect(QRectF(12, 3, w - 24, 1.2), accent);
    // Two engraved dividers between the three readings.
    for (double x : {98.5, 140.5}) {
        p.fillRect(QRectF(x, 24, 1, 42), QColor(0, 0, 0, 140));
        p.fillRect(QRectF(x + 1, 24, 1, 42), QColor(255, 255, 255, 16));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(7, 8, 10), 1.6));
    p.drawRoundedRect(all.adjusted(0.8, 0.8, -0.8, -0.8), 9.2, 9.2);
    bevel(p, all.adjusted(1.5, 1.5, -1.5, -1.5), 8.5, QColor(150, 158, 172, 150), QColor(0, 0, 0, 160));
    p.end();
    keyOutside(image, roundedRect(all, 10));
    return image;
}

// Soft-cornered value box of the mini window.
QImage miniBox(int width, int height, const QColor& top, const QColor& bottom)
{
    QImage image = clearCanvas(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, width - 1.0, height - 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(r, top, bottom));
    p.drawRoundedRect(r, 6, 6);
    bevel(p, r, 6, QColor(255, 255, 255, 120), QColor(0, 0, 0, 120));
    return image;
}

// Glossy ball behind the mini window's temperature.
QImage miniBall(const QColor& colour)
{
    QImage image = clearCanvas(36, 36);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(18, 18);
    QRadialGradient body(c + QPointF(-4, -6), 22);
    body.setColorAt(0.0, colour.lighter(150));
    body.setColorAt(0.55, colour);
    body.setColorAt(1.0, colour.darker(220));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(c, 17, 17);
    QLinearGradient gloss(0, 2, 0, 18);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QRectF(8, 2.5, 20, 13));
    return image;
}

QImage icon(int size)
{
    QImage image = clearCanvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    const double r = s * 0.2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(tile.translated(0, s * 0.012), r, r);
    p.setBrush(vertical(tile, QColor(52, 57, 66), QColor(24, 27, 32)));
    p.drawRoundedRect(tile, r, r);
    bevel(p, tile, r, QColor(190, 198, 210, 170), QColor(0, 0, 0, 200), std::max(1.0, s / 128.0));
    paintEmblem(p, QRectF(s * 0.15, s * 0.15, s * 0.7, s * 0.7));
    return image;
}

}  // namespace

std::vector<Picture> warningPictures()
{
    std::vector<Picture> out;
    out.push_back({"warnings/background.png", warningBackground()});
    const char* states[] = {"normal", "pressed", "hover"};
    const ButtonState stateOf[] = {ButtonState::Normal, ButtonState::Pressed, ButtonState::Hover};
    for (int i = 0; i < 3; ++i) {
        const QString s = QString::fromLatin1(states[i]);
        out.push_back({"warnings/minimise_" + s + ".png", captionButton(Glyph::Minimise, stateOf[i], Tone::Light)});
        out.push_back({"warnings/close_" + s + ".png", captionButton(Glyph::Close, stateOf[i], Tone::Light)});
        out.push_back({"warnings/textbutton_" + s + ".png", pillButton(185, 41, stateOf[i], Tone::Light)});
    }
    return out;
}

std::vector<Picture> dialogPictures()
{
    std::vector<Picture> out;
    out.push_back({"dialogs/intro.png", introBackground()});

    QImage reset = lightDialog(666, 392, Band::Blue, 584, 22);
    finishOutline(reset, kDialogCorner);
    out.push_back({"dialogs/reset.png", reset});

    QImage product = lightDialog(667, 331, Band::Blue, 584, 22, QStringLiteral("Product Information"));
    finishOutline(product, kDialogCorner);
    out.push_back({"dialogs/product.png", product});

    QImage save = lightDialog(667, 331, Band::Blue, 584, 22, QStringLiteral("Save Records"));
    finishOutline(save, kDialogCorner);
    out.push_back({"dialogs/save.png", save});

    QImage usage = lightDialog(665, 329, Band::Blue, 584, 22, QStringLiteral("Usage Statistics"));
    finishOutline(usage, kDialogCorner);
    out.push_back({"dialogs/usage.png", usage});

    out.push_back({"dialogs/mini.png", miniBackground()});
    out.push_back({"dialogs/mini_power.png", miniBox(66, 23, QColor(226, 52, 44), QColor(150, 18, 18))});
    out.push_back({"dialogs/mini_efficiency.png", miniBox(51, 23, QColor(24, 150, 236), QColor(0, 84, 150))});
    out.push_back({"dialogs/mini_temperature_cool.png", miniBall(QColor(0, 133, 219))});
    out.push_back({"dialogs/mini_temperature_warm.png", miniBall(QColor(255, 134, 56))});
    out.push_back({"dialogs/mini_temperature_hot.png", miniBall(QColor(230, 30, 24))});
    return out;
}

std::vector<Picture> iconPictures()
{
    return {{"icons/kvrns.png", icon(256)}, {"icons/kvrns-64.png", icon(64)}};
}

}  // namespace kvrns::assets

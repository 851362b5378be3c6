#include <QFontMetricsF>
#include <QPainter>
#include <map>

#include "dashboard/gauge_art.h"
#include "kit.h"
#include "pictures.h"

namespace kvrns::assets {
namespace {

// Text as a window label draws it: the top of the line box at `top`.
void label(QPainter& p, double left, double top, double width, const QString& text, const QFont& font,
           const QColor& colour, Qt::Alignment align = Qt::AlignLeft)
{
    p.setFont(font);
    p.setPen(colour);
    const QFontMetricsF m(font);
    p.drawText(QRectF(left, top, width, m.height() * (text.count(QLatin1Char('\n')) + 1)), int(align | Qt::AlignTop),
               text);
}

}  // namespace

QImage dashboardPreview(const std::vector<Picture>& dashboard)
{
    std::map<QString, QImage> pic;
    for (const Picture& picture : dashboard) pic[picture.path.section('/', 1)] = picture.image;

    QImage image = pic["skin.png"].convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    auto put = [&](const QString& name, double x, double y, double w = -1) {
        const QImage& img = pic[name];
        p.drawImage(QRectF(x, y, w < 0 ? img.width() : w, img.height()), img);
    };
    const QFont arial = typeface("Liberation Sans", 11, true);
    const QFont title = typeface("Liberation Sans", 18, true);
    const QColor silver(192, 192, 192);
    const QColor caption(64, 64, 64);

    put("minimise_normal.png", 880, 32);
    put("mini_hover.png", 904, 32);
    put("close_normal.png", 928, 32);

    using dashboard::GaugeKind;
    p.drawImage(96, 120, dashboard::gaugeFrame(GaugeKind::Power, 39));
    p.drawImage(392, 120, dashboard::gaugeFrame(GaugeKind::Efficiency, 94));
    p.drawImage(688, 120, dashboard::gaugeFrame(GaugeKind::Temperature, 45));
    label(p, 96, 92, 237, "TOTAL OUTPUT POWER", title, silver, Qt::AlignHCenter);
    label(p, 392, 92, 237, "EFFICIENCY", title, silver, Qt::AlignHCenter);
    label(p, 688, 92, 237, "TEMPERATURE", title, silver, Qt::AlignHCenter);

    const QFont digits = typeface("Liberation Sans", 32, true);
    const QFont effDigits = typeface("Liberation Sans", 39, true);
    const QColor grey(128, 128, 128), blue(0, 133, 219), orange(255, 134, 56), red(255, 0, 0);
    const int px[] = {173, 193, 213, 233};
    const char* power = "0255";
    for (int i = 0; i < 4; ++i) label(p, px[i], 205, 20, QString(QChar(power[i])), digits, i == 0 ? grey : red);
    label(p, 485, 204, 24, "9", effDigits, blue);
    label(p, 509, 204, 24, "4", effDigits, blue);
    const int tx[] = {769, 791, 811};
    const char* temp = "045";
    for (int i = 0; i < 3; ++i) label(p, tx[i], 208, 22, QString(QChar(temp[i])), digits, i == 0 ? grey : orange);

    const char* buttons[] = {"Reset", "Product Info.", "Save", "Usage"};
    for (int i = 0; i < 4; ++i) {
        put(i == 1 ? "button_hover.png" : (i == 2 ? "button_pressed.png" : "button_normal.png"), 64 + 96 * i, 280);
        label(p, 64 + 96 * i, 288, 83, buttons[i], arial, silver, Qt::AlignHCenter);
    }

    label(p, 56, 340, 200, "DC Output", title, QColor(40, 40, 40));
    label(p, 544, 560, 200, "AC Input", title, QColor(40, 40, 40));
    put("header_current.png", 53, 368);
    put("header_voltage.png", 560, 368);
    label(p, 53, 374, 500, "Current(A)", arial, Qt::white, Qt::AlignHCenter);
    label(p, 560, 374, 393, "Voltage(V)", arial, Qt::white, Qt::AlignHCenter);
    label(p, 96, 400, 106, "Actual Reading", arial, caption, Qt::AlignHCenter);
    label(p, 280, 400, 106, "OCP", arial, caption, Qt::AlignHCenter);
    label(p, 392, 400, 106, "Warning Point", arial, caption, Qt::AlignHCenter);
    label(p, 603, 400, 120, "Actual Reading", arial, caption, Qt::AlignHCenter);
    label(p, 731, 400, 105, "OCP", arial, caption, Qt::AlignHCenter);
    label(p, 840, 400, 93, "Warning Point", arial, caption, Qt::AlignHCenter);

    const QFont plateFont = typeface("Liberation Sans", 13, true);
    const char* rails[] = {"+3.3V", "+5V", "+12V1", "+12V2", "+12V3", "+12V4", "+12V5", "+12V6"};
    const char* actual[] = {"5.02", "4.10", "10.25", "8.20"};
    for (int i = 0; i < 8; ++i) {
        const int top = 419 + 31 * i;
        const int top2 = 416 + 31 * i;
        put("nameplate.png", 53, top);
        label(p, 49, top + 5, 49, rails[i], plateFont, i >= 4 ? QColor(150, 150, 150) : Qt::black, Qt::AlignHCenter);
        const QColor fill = i < 4 ? Qt::white : QColor(230, 230, 230);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(96, top, 106, 29), 6, 6);
        p.drawRoundedRect(QRectF(280, top2, 106, 29), 6, 6);
        p.drawRoundedRect(QRectF(392, top2, 106, 29), 6, 6);
        if (i < 4) {
            label(p, 112, top + 5, 72, QString(actual[i]) + "A", plateFont, Qt::black, Qt::AlignHCenter);
            label(p, 296, top2 + 5, 72, "25A", plateFont, Qt::black, Qt::AlignHCenter);
            label(p, 408, top2 + 5, 72, "20A", plateFont, Qt::black, Qt::AlignHCenter);
        }
        const QString state = i >= 4 ? "disabled" : (i == 1 ? "hover" : "normal");
        put("plus_" + state + ".png", 504, i == 0 ? top2 : top2 + 1);
        put("minus_" + state + ".png", 504, (i == 0 ? top2 : top2 + 1) + 15);
    }
    const char* volts[] = {"3.31", "5.05", "12.10"};
    for (int j = 0; j < 3; ++j) {
        const int top = 419 + 31 * j;
        put("nameplate.png", 560, top);
        label(p, 556, top + 5, 49, j == 2 ? "+12V" : rails[j], plateFont, Qt::black, Qt::AlignHCenter);
        if (j < 2) {
            put("cell_wide.png", 603, top);
        } else {
            put("cell.png", 603, top, 97);
            put("plus_normal.png", 705, top + 1);
            put("minus_normal.png", 705, top + 16);
        }
        put("cell.png", 731, top);
        put("cell.png", 840, top, 93);
        label(p, 616, top + 5, 80, QString(volts[j]) + "V", plateFont, Qt::black, Qt::AlignHCenter);
        label(p, 745, top + 5, 80, "13.50V", plateFont, Qt::black, Qt::AlignHCenter);
        label(p, 842, top + 5, 90, "13.00V", plateFont, Qt::black, Qt::AlignHCenter);
        put("plus_normal.png", 936, top + 1);
        put("minus_pressed.png", 936, top + 16);
    }

    const QColor leverBlue(35, 131, 218);
    label(p, 170, 481, 140, "+12V  Single rail", arial, leverBlue, Qt::AlignHCenter);
    put("lever_down.png", 224, 496);
    label(p, 170, 566, 140, "+12V  multiple rails", arial, leverBlue, Qt::AlignHCenter);

    const int ax[] = {544, 645, 747, 848};
    const char* ac[] = {"230.00", "1.25", "271.28", "0.94"};
    const char* acCaption[] = {"Voltage(V)", "Current(A)", "Watt(W)", "Power Factor(PF)"};
    for (int k = 0; k < 4; ++k) {
        put("cell.png", ax[k], 600, 97);
        label(p, ax[k], 605, 97, ac[k], plateFont, Qt::black, Qt::AlignHCenter);
        label(p, ax[k] - 10, 632, 117, acCaption[k], arial, caption, Qt::AlignHCenter);
    }

    put("bubble_voltwarn.png", 936 + 8 - 180, 419 + 31 * 2 + 30);
    label(p, 936 + 8 - 170, 419 + 31 * 2 + 44, 200, "Set the +12V warning point", arial, Qt::white);
    return image;
}

QImage dialogsPreview(const std::vector<Picture>& all)
{
    std::map<QString, QImage> pic;
    for (const Picture& picture : all) pic[picture.path] = picture.image;
    QImage sheet(1480, 1260, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(90, 110, 130));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    auto put = [&](const QString& name, double x, double y, double w = -1, double h = -1) {
        const QImage& img = pic[name];
        p.drawImage(QRectF(x, y, w < 0 ? img.width() : w, h < 0 ? img.height() : h), img);
    };
    const QFont titleFont = typeface("Liberation Sans", 18, true);
    const QFont body = typeface("Liberation Sans", 17, false);
    const QFont buttonFont = typeface("Liberation Sans", 13, true);

    // Over-temperature warning.
    put("warnings/background.png", 10, 10);
    label(p, 34, 26, 297, "Over Temperature Warning", titleFont, Qt::white);
    label(p, 74, 98, 449,
          "The PSU internal temperature is high. Please\n1. Check if your system has sufficient cooling", body,
          QColor(30, 30, 30));
    put("warnings/minimise_normal.png", 594, 31);
    put("warnings/close_hover.png", 618, 31);
    put("warnings/textbutton_normal.png", 74, 266);
    label(p, 74, 278, 185, "Remide me later", buttonFont, Qt::red, Qt::AlignHCenter);
    put("warnings/textbutton_hover.png", 274, 266);
    label(p, 274, 278, 185, "Don't reminder me", buttonFont, Qt::red, Qt::AlignHCenter);

    put("dialogs/intro.png", 700, 10);
    label(p, 788, 170, 569, "TALVORN Kavorine (KVRNS).", typeface("Liberation Sans", 21, true), Qt::black,
          Qt::AlignHCenter);
    put("warnings/textbutton_normal.png", 1164, 218, 235, 35);
    label(p, 1164, 226, 235, "Do not remind me again", typeface("Liberation Sans", 16, true), Qt::black,
          Qt::AlignHCenter);
    put("warnings/minimise_normal.png", 1367, 26);
    put("warnings/close_normal.png", 1391, 26);

    put("dialogs/reset.png", 10, 420);
    label(p, 34, 436, 137, "Reset", titleFont, Qt::white);
    label(p, 74, 540, 449, "Are you sure you want to reset to the default setting?", body, QColor(30, 30, 30));
    put("warnings/textbutton_normal.png", 58, 596, 92, 44);
    label(p, 58, 608, 92, "YES", buttonFont, Qt::red, Qt::AlignHCenter);
    put("warnings/textbutton_pressed.png", 162, 596, 92, 44);
    label(p, 162, 608, 92, "NO", buttonFont, Qt::red, Qt::AlignHCenter);
    put("warnings/minimise_normal.png", 594, 442);
    put("warnings/close_normal.png", 618, 442);

    put("dialogs/product.png", 700, 420);
    label(p, 772, 516, 449, "TALVORN KVRNS software.\nRev 1.1\nSupported PSU:\n1. TALVORN QUORLANE", body,
          QColor(30, 30, 30));
    put("dialogs/usage.png", 10, 830);
    put("dialogs/save.png", 700, 830);

    put("dialogs/mini.png", 1000, 1180 - 100);
    label(p, 1008, 1107, 89, "Total Output", typeface("Liberation Sans", 11, true), Qt::white, Qt::AlignHCenter);
    label(p, 1104, 1107, 25, "Eff.", typeface("Liberation Sans", 11, true), Qt::white, Qt::AlignHCenter);
    label(p, 1152, 1104, 25, "Tem.", typeface("Liberation Sans", 11, true), Qt::white, Qt::AlignHCenter);
    put("dialogs/mini_power.png", 1025, 1122);
    put("dialogs/mini_efficiency.png", 1104, 1122);
    put("dialogs/mini_temperature_warm.png", 1168, 1115);
    const QFont value = typeface("Liberation Sans", 19, true);
    label(p, 1024, 1122, 65, "255W", value, Qt::white, Qt::AlignHCenter);
    label(p, 1104, 1122, 49, "94%", value, Qt::white, Qt::AlignHCenter);
    label(p, 1169, 1121, 33, "72", value, Qt::white, Qt::AlignHCenter);

    put("icons/kvrns.png", 1220, 990);
    put("icons/kvrns-64.png", 1400, 1180);
    return sheet;
}

}  // namespace kvrns::assets

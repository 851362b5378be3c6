#include "dashboard/mini_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>

#include "chrome/picture_label.h"

namespace kvrns::dashboard {
namespace {

const QString kPictures = QStringLiteral(":/assets/dialogs/");

QPixmap badgePicture(int number)
{
    static const char* names[] = {"mini_temperature_cool.png", "mini_temperature_warm.png", "mini_temperature_hot.png"};
    return QPixmap(kPictures + QLatin1String(names[number - 3]));
}

}  // namespace

MiniWindow::MiniWindow(Hooks hooks, QWidget* parent) : SkinnedWindow(parent), hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("Smallfrm"));
    setWindowTitle(QStringLiteral("TALVORN"));
    setSkin(QPixmap(kPictures + QStringLiteral("mini.png")));
    if (skin().isNull()) setFixedSize(twips().px(3225), twips().px(1185));
    // Only the left button drags this window; the right one opens its menu.
    setDragButtons({Qt::LeftButton, Qt::LeftButton, Qt::LeftButton});

    const QStringList captions{QStringLiteral("Total Output"), QStringLiteral("Eff."), QStringLiteral("Tem.")};
    const QRect captionPlaces[] = {{120, 405, 1335, 255}, {1560, 400, 375, 255}, {2280, 360, 375, 255}};
    const QRect boxPlaces[] = {{375, 630, 990, 345}, {1560, 630, 765, 345}, {2520, 525, 540, 540}};
    const QRect valuePlaces[] = {{360, 635, 975, 375}, {1560, 630, 735, 375}, {2535, 615, 495, 375}};
    for (int i = 0; i < 3; ++i) {
        auto* box = new chrome::PictureLabel(this);
        box->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        box->setGeometry(twips().rect(boxPlaces[i].x(), boxPlaces[i].y(), boxPlaces[i].width(), boxPlaces[i].height()));
        box->setAttribute(Qt::WA_TransparentForMouseEvents);  // the whole face handles the mouse
        if (i < 2) box->showPicture(QPixmap(kPictures + (i == 0 ? QStringLiteral("mini_power.png") : QStringLiteral("mini_efficiency.png"))), i + 1);
        else badge_ = box;
        addLabel(QStringLiteral("ALabel(%1)").arg(i), captions[i], captionPlaces[i], QStringLiteral("Arial"), 8, true,
                 Qt::white, Qt::AlignHCenter | Qt::AlignTop)
            ->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (int i = 0; i < 3; ++i) {
        // Fixed sizes, not scaled with the screen.
        values_[i] = addLabel(QStringLiteral("Label1_txt(%1)").arg(i), {}, valuePlaces[i], QStringLiteral("Arial"), 14,
                              true, Qt::white, Qt::AlignHCenter | Qt::AlignTop);
        QFont font = values_[i]->font();
        font.setPointSizeF(14);
        values_[i]->setFont(font);
        values_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    badge_->showPicture(badgePicture(3), 3);

    timer1_ = new QTimer(this);
    timer1_->setInterval(3000);
    connect(timer1_, &QTimer::timeout, this, &MiniWindow::refresh);
}

void MiniWindow::showBeside(const QRect& screenArea)
{
    if (!placed_) {
        placed_ = true;
        // 200 twips from the right edge, 800 above the bottom.
        move(screenArea.right() + 1 - width() - twips().px(200), screenArea.bottom() + 1 - height() - twips().px(800));
        refresh();
        timer1_->start();
    }
    show();
    raise();
    activateWindow();
}

int MiniWindow::badgeFor(const std::string& temperature, NumberLocale locale)
{
    const double t = std::floor(parseNumber(temperature, locale).value_or(0));
    return t <= 60 ? 3 : t <= 85 ? 4 : 5;
}

void MiniWindow::refresh()
{
    const Telemetry t = hooks_.telemetry ? hooks_.telemetry() : Telemetry{};
    values_[0]->setText(QString::fromStdString(t.outputPower) + QLatin1Char('W'));
    values_[1]->setText(QString::fromStdString(t.efficiency) + QLatin1Char('%'));
    values_[2]->setText(QString::fromStdString(t.temperature));
    const int number = badgeFor(t.temperature, hooks_.locale);
    badge_->showPicture(badgePicture(number), number);
}

int MiniWindow::badge() const
{
    return badge_->shownIndex();
}

void MiniWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        raise();
        activateWindow();
        if (hooks_.popupMenu) hooks_.popupMenu(event->globalPosition().toPoint());
        return;
    }
    SkinnedWindow::mousePressEvent(event);
}

void MiniWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    if (hooks_.showDashboard) hooks_.showDashboard();
    hide();
}

void MiniWindow::closeEvent(QCloseEvent* event)
{
    // Closing the mini window ends the program, without writing the settings.
    event->accept();
    if (hooks_.end) hooks_.end();
}

}  // namespace kvrns::dashboard

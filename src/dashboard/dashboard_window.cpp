#include "dashboard/dashboard_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include "chrome/messages.h"
#include "chrome/picture_label.h"
#include "common/uptime.h"
#include "settings/dialogs/settings_dialogs.h"
#include "dashboard/engine_bridge.h"
#include "dashboard/gauge_view.h"
#include "settings/settings.h"
#include "warnings/warning_points.h"

namespace kvrns::dashboard {
namespace {

// The layout, in twips from the window's top-left corner.
constexpr int kRowStep = 470;
constexpr int kNamePlateX = 795, kNamePlateTop = 6285;
constexpr int kActualX = 1440, kCellTop = 6285;
constexpr int kOcpX = 4200, kWarnX = 5880, kWarnTop = 6240;
constexpr int kCellW = 1590, kCellH = 435;
constexpr int kPlusX = 7560, kMinusBelow = 220, kArrowW = 255, kArrowH = 195;
constexpr int kVoltNameX = 8400, kVoltActualX = 9045, kFineTuneX = 10580, kOvpX = 10960, kVoltWarnX = 12600,
              kVoltPlusX = 14040;
constexpr std::array<int, 3> kVoltActualW{1795, 1800, 1460};
constexpr std::array<int, 3> kVoltActualTextX{9240, 9240, 9120};
constexpr std::array<int, 4> kAcX{8160, 9675, 11200, 12720};
constexpr int kAcY = 9000, kAcW = 1455;

const QColor kCaptionGrey(64, 64, 64);
const QColor kLeverBlue(35, 131, 218);
const QColor kSilver(192, 192, 192);
const QColor kLightGrey(230, 230, 230);
const QColor kDimGrey(128, 128, 128);

const QString kMakerSite = QStringLiteral("https://www.talvorn.com/");

QColor qColour(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

}  // namespace

DashboardWindow::DashboardWindow(Setup setup, QWidget* parent)
    : SkinnedWindow(parent),
      setup_(std::move(setup)),
      imageList1_(dashboardImageList1()),
      imageList2_(dashboardImageList2())
{
    setObjectName(QStringLiteral("talvornfrm"));
    const QString caption = setup_.simulated ? QStringLiteral("TALVORN (simulated supply)") : QStringLiteral("TALVORN");
    setWindowTitle(caption);
    setSkin(QPixmap(QStringLiteral(":/assets/dashboard/skin.png")));
    if (skin().isNull()) setFixedSize(twips().px(14925), twips().px(10680));

    createFrame();
    createGauges();
    createImageButtons();
    createTableCaptions();
    createCurrentGroup();
    createVoltageGroup();
    createRailLever();
    createAcInput();
    createHelpOverlays();
    createTimers();
}

DashboardWindow::~DashboardWindow() = default;

QLabel* DashboardWindow::addText(const QString& name, const QString& text, QRect r, double points, bool bold,
                                 QColor colour, Qt::Alignment align, const QString& family)
{
    return addLabel(name, text, r, family, points, bold, colour, align);
}

chrome::PictureLabel* DashboardWindow::addPicture(const QString& name, const QPixmap& picture, int index, QRect r)
{
    auto* label = new chrome::PictureLabel(this);
    label->setObjectName(name);
    label->setGeometry(twips().rect(r.x(), r.y(), r.width(), r.height()));
    label->showPicture(picture, index);
    return label;
}

CellShape* DashboardWindow::addCell(const QString& name, QRect r, QColor fill)
{
    auto* cell = new CellShape(this);
    cell->setObjectName(name);
    cell->setGeometry(twips().rect(r.x(), r.y(), r.width(), r.height()));
    cell->setFill(fill);
    return cell;
}

void DashboardWindow::createFrame()
{
    picTitleBar_ = addPicture(QStringLiteral("picTitleBar"), imageList1_.at(14), 14, {840, 360, 3195, 525});
    picTitleBar_->setCursor(Qt::PointingHandCursor);
    addDragHandle(picTitleBar_);
    connect(picTitleBar_, &chrome::PictureLabel::doubleClicked, this,
            [] { QDesktopServices::openUrl(QUrl(kMakerSite)); });

    addMinimiseButton({imageList2_.at(1), imageList2_.at(2), imageList2_.at(3)}, {13200, 480})
        ->setObjectName(QStringLiteral("Image1"));
    auto* mini = addCaptionButton({imageList2_.at(7), imageList2_.at(8), imageList2_.at(9)}, {13560, 480});
    mini->setObjectName(QStringLiteral("Image2"));
    mini->showPicture(imageList2_.at(7), 7);
    connect(mini, &chrome::PictureLabel::clicked, this, [this] {
        if (openMiniWindow_) openMiniWindow_();
    });
    addCloseButton({imageList2_.at(4), imageList2_.at(5), imageList2_.at(6)}, {13920, 480})
        ->setObjectName(QStringLiteral("Image3"));
    findChild<chrome::PictureLabel*>(QStringLiteral("Image3"))->showPicture(imageList2_.at(4), 4);

    // The section titles sit on the light aluminium inset.
    const QColor engraved(48, 52, 58);
    addText(QStringLiteral("TitleDC"), QStringLiteral("DC Output"), {840, 4980, 3000, 420}, 13.5, true, engraved);
    addText(QStringLiteral("TitleAC"), QStringLiteral("AC Input"), {8160, 8400, 3000, 420}, 13.5, true, engraved);
}

void DashboardWindow::createGauges()
{
    const std::array<const char*, 3> titles{"TOTAL OUTPUT POWER", "EFFICIENCY", "TEMPERATURE"};
    const std::array<int, 3> xs{1440, 5880, 10320};
    const std::array<GaugeKind, 3> kinds{GaugeKind::Power, GaugeKind::Efficiency, GaugeKind::Temperature};
    for (int g = 0; g < 3; ++g) {
        addText(indexed("GaugeTitle", g), QLatin1String(titles[g]), {xs[g], 1380, 3555, 420}, 13.5, true, kSilver,
                Qt::AlignHCenter | Qt::AlignTop);
        auto* view = new GaugeView(kinds[g], this);
        view->setObjectName(QStringLiteral("QLabel%1").arg(g + 1));
        view->setGeometry(twips().rect(xs[g], 1800, 3555, 2085));
        gaugeViews_[g] = view;
    }
    gaugeViews_[0]->showFace(imageList2_.at(21));
    gaugeViews_[1]->showFace(imageList2_.at(22));
    gaugeViews_[2]->showFace(QPixmap(QStringLiteral(":/assets/dashboard/gauge_temperature_face.png")));

    const std::array<int, 4> powerX{2600, 2900, 3200, 3500};
    for (int i = 0; i < 4; ++i)
        DLabel_[i] = addText(indexed("DLabel", i), QStringLiteral("0"), {powerX[i], 3080, 300, 555}, 24, true, kDimGrey,
                             Qt::AlignHCenter | Qt::AlignTop);
    const std::array<int, 2> efficiencyX{7280, 7640};
    for (int i = 0; i < 2; ++i)
        DLabel2_[i] = addText(indexed("DLabel2", i), QStringLiteral("0"), {efficiencyX[i], 3060, 360, 690}, 29.25, true,
                              kDimGrey, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Arial"));
    const std::array<int, 3> temperatureX{11535, 11865, 12165};
    for (int i = 0; i < 3; ++i)
        DLabel3_[i] = addText(indexed("DLabel3", i), QStringLiteral("0"), {temperatureX[i], 3120, 330, 555}, 24, true,
                              kDimGrey, Qt::AlignHCenter | Qt::AlignTop);
}

void DashboardWindow::createImageButtons()
{
    const std::array<const char*, 4> captions{"Reset", "Product Info.", "Save", "Usage"};
    const std::array<int, 4> xs{960, 2400, 3840, 5280};
    for (int i = 0; i < 4; ++i) {
        BLabel_[i] = addPicture(indexed("BLabel", i), imageList2_.at(10), 10, {xs[i], 4200, 1245, 435});
        BLabel_txt_[i] = addText(indexed("BLabel_txt", i), QLatin1String(captions[i]), {xs[i], 4290, 1245, 300}, 8.25,
                                 true, kSilver, Qt::AlignHCenter | Qt::AlignTop);
        BLabel_txt_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);  // the caption clicks its picture
        auto* button = BLabel_[i];
        connect(button, &chrome::PictureLabel::pressed, this,
                [this, button] { button->showPicture(imageList2_.at(11), 11); });
        connect(button, &chrome::PictureLabel::released, this,
                [this, button] { button->showPicture(imageList2_.at(10), 10); });
        connect(button, &chrome::PictureLabel::pointerMoved, this, [this, i] {
            if (lastButtonIndex_ != i) {
                if (lastButtonIndex_ >= 0 && lastButtonIndex_ < 4)
                    BLabel_[lastButtonIndex_]->showPicture(imageList2_.at(10), 10);
                BLabel_[i]->showPicture(imageList2_.at(12), 12);
            }
            hoverArea_ = 4;
            lastButtonIndex_ = i;
        });
        connect(button, &chrome::PictureLabel::clicked, this, [this, i] { openDialog(i); });
    }
}

void DashboardWindow::createTableCaptions()
{
    addPicture(QStringLiteral("HeaderCurrent"), imageList1_.at(12), 12, {795, 5520, 7500, 400});
    addPicture(QStringLiteral("HeaderVoltage"), imageList1_.at(13), 13, {8370, 5520, 6555, 400});
    addText(QStringLiteral("HeaderCurrent_txt"), QStringLiteral("Current(A)"), {795, 5560, 7500, 330}, 9.75, true,
            Qt::white, Qt::AlignHCenter | Qt::AlignTop);
    addText(QStringLiteral("HeaderVoltage_txt"), QStringLiteral("Voltage(V)"), {8370, 5560, 6555, 330}, 9.75, true,
            Qt::white, Qt::AlignHCenter | Qt::AlignTop);

    struct Caption {
        int index;
        const char* text;
        QRect place;
    };
    const Caption captions[] = {
        {0, "Actual Reading", {kActualX, 5985, kCellW, 255}},
        {3, "OCP", {kOcpX, 5985, kCellW, 255}},
        {4, "Warning Point", {kWarnX, 5985, kCellW, 255}},
        {5, "Actual Reading", {kVoltActualX, 5985, 1795, 255}},
        {6, "OCP", {kOvpX, 5985, 1575, 255}},
        {7, "Warning Point", {kVoltWarnX, 5985, 1400, 255}},
    };
    for (const auto& c : captions)
        CLabel_[c.index] = addText(indexed("CLabel", c.index), QLatin1String(c.text), c.place, 8.25, true, kCaptionGrey,
                                   Qt::AlignHCenter | Qt::AlignTop);
}

void DashboardWindow::createCurrentGroup()
{
    const std::array<const char*, 8> names{"+3.3V", "+5V", "+12V1", "+12V2", "+12V3", "+12V4", "+12V5", "+12V6"};
    for (int i = 0; i < 8; ++i) {
        const int top = kCellTop + kRowStep * i;
        const int warnTop = kWarnTop + kRowStep * i;
        const QColor fill = i < 3 ? Qt::white : kLightGrey;
        ELabel_[i] = addPicture(indexed("ELabel", i), imageList2_.at(19), 19,
                                {kNamePlateX, kNamePlateTop + kRowStep * i, 750, kCellH});
        FLabel_[i] = addCell(indexed("FLabel", i), {kActualX, top, kCellW, kCellH}, fill);
        GLabel_[i] = addCell(indexed("GLabel", i), {kOcpX, warnTop, kCellW, kCellH}, fill);
        HLabel_[i] = addCell(indexed("HLabel", i), {kWarnX, warnTop, kCellW, kCellH}, fill);
        ELabel_BB_[i] = addText(indexed("ELabel_BB", i), QLatin1String(names[i]), {730, 6360 + 480 * i, 735, 255}, 9.75,
                                true, Qt::black, Qt::AlignHCenter | Qt::AlignTop);
        FLabel_txt_[i] = addText(indexed("FLabel_txt", i), {}, {1680, 6360 + kRowStep * i, 1080, 300}, 9.75, true);
        GLabel_txt_[i] = addText(indexed("GLabel_txt", i), {}, {4440, 6320 + kRowStep * i, 1080, 300}, 9.75, true);
        HLabel_txt_[i] = addText(indexed("HLabel_txt", i), {}, {6120, 6320 + kRowStep * i, 1080, 300}, 9.75, true);

        const int plusTop = i == 0 ? kWarnTop : warnTop + 20;
        const bool enabled = i < 4;
        plusTwips_[i] = {kPlusX, plusTop, kArrowW, kArrowH};
        minusTwips_[i] = plusTwips_[i].translated(0, kMinusBelow);
        LabelA_[i] =
            addPicture(indexed("LabelA", i), imageList2_.at(enabled ? 16 : 31), enabled ? 16 : 31, plusTwips_[i]);
        LabelB_[i] =
            addPicture(indexed("LabelB", i), imageList2_.at(enabled ? 13 : 32), enabled ? 13 : 32, minusTwips_[i]);
        if (!enabled) {
            LabelA_[i]->setEnabled(false);
            LabelB_[i]->setEnabled(false);
            ELabel_[i]->setEnabled(false);
            ELabel_BB_[i]->setEnabled(false);
        }
    }
    // Texts of rows 1..7 start empty; actual and warning texts of rows 0..3 show 0.
    for (int i = 0; i < 4; ++i) {
        FLabel_txt_[i]->setText(QStringLiteral("0"));
        HLabel_txt_[i]->setText(QStringLiteral("0"));
    }
}

void DashboardWindow::createVoltageGroup()
{
    const std::array<const char*, 3> names{"+3.3V", "+5V", "+12V"};
    for (int j = 0; j < 3; ++j) {
        const int top = kNamePlateTop + kRowStep * j;
        ELabel_[8 + j] = addPicture(indexed("ELabel", 8 + j), imageList2_.at(19), 19, {kVoltNameX, top, 750, kCellH});
        ELabel_BB_[8 + j] =
            addText(indexed("ELabel_BB", 8 + j), QLatin1String(names[j]), {kVoltNameX, 6360 + 480 * j, 735, 255}, 9.75,
                    true, Qt::black, Qt::AlignHCenter | Qt::AlignTop);
        const int cellPicture = j < 2 ? 30 : 20;
        ILabel_[j] = addPicture(indexed("ILabel", j), imageList2_.at(cellPicture), cellPicture,
                                {kVoltActualX, top, kVoltActualW[j], kCellH});
        KLabel_[j] = addPicture(indexed("KLabel", j), imageList2_.at(20), 20, {kOvpX, top, 1575, kCellH});
        LLabel_[j] = addPicture(indexed("LLabel", j), imageList2_.at(20), 20, {kVoltWarnX, top, 1400, kCellH});
        ILabel_txt_[j] = addText(indexed("ILabel_txt", j), {}, {kVoltActualTextX[j], top + 60, 1080, 300}, 9.75, true);
        KLabel_txt_[j] = addText(indexed("KLabel_txt", j), {}, {11100, top + 60, 1200, 300}, 9.75, true);
        LLabel_txt_[j] = addText(indexed("LLabel_txt", j), {}, {12640, top + 60, 1200, 300}, 9.75, true);

        const int fine = 8 + j, warn = 11 + j;
        plusTwips_[fine] = {kFineTuneX, top + 20, kArrowW, kArrowH};
        minusTwips_[fine] = plusTwips_[fine].translated(0, kMinusBelow);
        plusTwips_[warn] = {kVoltPlusX, top + 20, kArrowW, kArrowH};
        minusTwips_[warn] = plusTwips_[warn].translated(0, kMinusBelow);
        LabelA_[fine] = addPicture(indexed("LabelA", fine), imageList2_.at(16), 16, plusTwips_[fine]);
        LabelB_[fine] = addPicture(indexed("LabelB", fine), imageList2_.at(13), 13, minusTwips_[fine]);
        // Only the +12V output can be fine-tuned from the dashboard.
        LabelA_[fine]->setVisible(fine == 10);
        LabelB_[fine]->setVisible(fine == 10);
        LabelA_[warn] = addPicture(indexed("LabelA", warn), imageList2_.at(16), 16, plusTwips_[warn]);
        LabelB_[warn] = addPicture(indexed("LabelB", warn), imageList2_.at(13), 13, minusTwips_[warn]);
    }
}

void DashboardWindow::createRailLever()
{
    Image14_ = addPicture(QStringLiteral("Image14"), imageList2_.at(24), 24, {3360, 7440, 465, 1005});
    CLabel_[1] = addText(indexed("CLabel", 1), QStringLiteral("    +12V    Single rail"), {3030, 6960, 1170, 450}, 8.25,
                         true, kLeverBlue, Qt::AlignHCenter | Qt::AlignBottom);
    CLabel_[2] = addText(indexed("CLabel", 2), QStringLiteral("    +12V      multiple rails"), {3030, 8460, 1170, 450},
                         8.25, true, kLeverBlue, Qt::AlignHCenter | Qt::AlignTop);
    CLabel_[1]->setWordWrap(true);
    CLabel_[2]->setWordWrap(true);
}

void DashboardWindow::createAcInput()
{
    const std::array<const char*, 4> captions{"Voltage(V)", "Current(A)", "Watt(W)", "Power Factor(PF)"};
    for (int i = 0; i < 4; ++i) {
        NLabel_[i] = addPicture(indexed("NLabel", i), imageList2_.at(20), 20, {kAcX[i], kAcY, kAcW, kCellH});
        NLabel_txt_[i] =
            addText(indexed("NLabel_txt", i), QStringLiteral("0"), {kAcX[i] + 120, kAcY + 60, kAcW - 240, 300}, 9.75,
                    true, Qt::black, Qt::AlignHCenter | Qt::AlignTop);
        CLabel_[8 + i] =
            addText(indexed("CLabel", 8 + i), QLatin1String(captions[i]), {kAcX[i] - 200, kAcY + 500, kAcW + 400, 255},
                    8.25, true, kCaptionGrey, Qt::AlignHCenter | Qt::AlignTop);
    }
}

void DashboardWindow::createHelpOverlays()
{
    const std::array<const char*, 4> names{"lbltooltip", "lbltooltip1", "lbltooltip2", "lbltooltip3"};
    for (int i = 0; i < 4; ++i) {
        const QPixmap& bubble = imageList1_.at(i + 1);
        tooltips_[i] =
            addPicture(QLatin1String(names[i]), bubble, i + 1, {0, 0, bubble.width() * 15, bubble.height() * 15});
        tooltips_[i]->hide();
    }
    lbltooltip_txt_ = addText(QStringLiteral("lbltooltip_txt"), {}, {0, 0, 3300, 900}, 8.25, true, Qt::white);
    lbltooltip_txt_->hide();
}

void DashboardWindow::createTimers()
{
    auto timer = [this](int ms, bool singleShot) {
        auto* t = new QTimer(this);
        t->setInterval(ms);
        t->setSingleShot(singleShot);
        return t;
    };
    tmrDelay_ = timer(1000, false);
    timer1_ = timer(20, false);
    timer3_ = timer(50, false);
    timer2_ = timer(200, true);
    timer5_ = timer(3000, true);
    connect(tmrDelay_, &QTimer::timeout, this, &DashboardWindow::pollTick);
    connect(timer1_, &QTimer::timeout, this, &DashboardWindow::stepPowerAndTemperature);
    connect(timer3_, &QTimer::timeout, this, &DashboardWindow::stepEfficiency);
    connect(timer2_, &QTimer::timeout, this, &DashboardWindow::helpTick);
    connect(timer5_, &QTimer::timeout, this, &DashboardWindow::hideHelp);
    connectArrows();
    installHelpClearing();
}

void DashboardWindow::load()
{
    showSettings();
    tmrDelay_->start();
    timer2_->start();
    connect(&setup_.engine, &EngineBridge::tickReported, this, &DashboardWindow::applyReport);
    connect(&setup_.engine, &EngineBridge::requestDone, this, &DashboardWindow::applyRequest);
}

void DashboardWindow::showSettings()
{
    const settings::SettingValues values = setup_.settings.values();
    co2FactorCopy_ = QString::fromStdString(values[settings::Co2Factor]);
    fareCopy_ = QString::fromStdString(values[settings::ElectricityFare]);
    const int railMode = setup_.settings.railMode();
    const settings::SettingsView view = settings::viewOf(values, railMode, setup_.locale);
    for (int i = 0; i < 3; ++i) {
        GLabel_txt_[i]->setText(q(view.GLabel_txt[i]));
        HLabel_txt_[i]->setText(q(view.HLabel_txt[i]));
        KLabel_txt_[i]->setText(q(view.KLabel_txt[i]));
        LLabel_txt_[i]->setText(q(view.LLabel_txt[i]));
        ILabel_txt_[i]->setText(q(view.ILabel_txt[i]));
    }
    showRailMode();
}

void DashboardWindow::showSecondRail(bool shown)
{
    for (CellShape* cell : {GLabel_[3], FLabel_[3], HLabel_[3]}) cell->setFill(shown ? Qt::white : kLightGrey);
    for (QLabel* text : {GLabel_txt_[3], FLabel_txt_[3], HLabel_txt_[3]}) {
        text->setVisible(shown);
        if (!shown) text->clear();
    }
}

void DashboardWindow::helpTick()
{
    timer2_->stop();
    if (!focusClickDone_) {
        // The one-time start-up activation: to the front, focused, and the
        // stored fine-tune steps and rail mode due for delivery.
        raise();
        activateWindow();
        focusClickDone_ = true;
        setup_.engine.clearSetVolNum();
    }
    if (hoverArea_ == bottonB_num_) {
        if (hoverArea_ == 1 && lastPlusIndex_ == OPA_num_) return;
        if (hoverArea_ == 2 && lastMinusIndex_ == OPB_num_) return;
        if (hoverArea_ != 1 && hoverArea_ != 2) return;
    }
    const QString setText = QStringLiteral("Click + or - to set\nthe warning point");
    if (hoverArea_ == 1 || hoverArea_ == 2) {
        const int i = hoverArea_ == 1 ? lastPlusIndex_ : lastMinusIndex_;
        const QRect arrow = hoverArea_ == 1 ? plusTwips_[i] : minusTwips_[i];
        if (i <= 7) {
            const QSize size = tooltips_[0]->size() * 15;
            placeHelp(0, {arrow.left() + 250, arrow.top() - 160 - arrow.height(), size.width(), size.height()},
                      {500, 230}, size.width(), setText);
        } else if (i <= 10) {
            const QSize size = tooltips_[2]->size() * 15;
            placeHelp(2, {arrow.left() - size.width() + 1020, arrow.top() + 180, size.width(), size.height()},
                      {360, 360}, size.width(),
                      QStringLiteral("Click + or - to fine tune the output\nvoltage. Range +/- 3%"));
        } else {
            const QSize size = tooltips_[3]->size() * 15;
            placeHelp(3, {arrow.left() - size.width() + 600, arrow.top() + 240, size.width(), size.height()},
                      {320, 360}, size.width(), setText);
        }
        (hoverArea_ == 1 ? OPA_num_ : OPB_num_) = i;
    } else if (hoverArea_ == 3) {
        const QSize size = tooltips_[1]->size() * 15;
        placeHelp(1, {3360 + 500, 7440 - 360, size.width(), size.height()}, {460, 260}, size.width() - 600,
                  QStringLiteral("Switch lever up for single +12V\nrail; switch lever down for\nmultiple +12V rails"));
    }
    bottonB_num_ = hoverArea_;
    timer5_->start();
}

void DashboardWindow::placeHelp(int bubble, QRect b, QPoint textOffset, int textWidth, const QString& text)
{
    tooltips_[bubble]->setGeometry(twips().rect(b.x(), b.y(), b.width(), b.height()));
    lbltooltip_txt_->setText(text);
    lbltooltip_txt_->setGeometry(twips().rect(b.x() + textOffset.x(), b.y() + textOffset.y(), textWidth,
                                              std::max(0, b.height() - textOffset.y())));
    tooltips_[bubble]->show();
    tooltips_[bubble]->raise();
    lbltooltip_txt_->show();
    lbltooltip_txt_->raise();
}

void DashboardWindow::hideHelp()
{
    timer5_->stop();
    for (auto* bubble : tooltips_) bubble->hide();
    lbltooltip_txt_->hide();
}

void DashboardWindow::connectArrows()
{
    for (int i = 0; i < warnings::kArrowCount; ++i) {
        for (const bool plus : {true, false}) {
            chrome::PictureLabel* arrow = plus ? LabelA_[i] : LabelB_[i];
            connect(arrow, &chrome::PictureLabel::pointerMoved, this, [this, i, plus] { pointAtArrow(i, plus); });
            connect(arrow, &chrome::PictureLabel::pressed, this, [this, i, plus] { pressArrow(i, plus); });
            connect(arrow, &chrome::PictureLabel::released, this,
                    [this, i, plus](Qt::MouseButton button) { releaseArrow(i, plus, button); });
        }
    }
    connect(Image14_, &chrome::PictureLabel::pointerMoved, this, [this] { pointAtLever(); });
    connect(Image14_, &chrome::PictureLabel::clicked, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) switchRail();
    });
}

void DashboardWindow::enterHelpArea(int area, std::initializer_list<int> bubblesToHide, bool hideText)
{
    if (hoverArea_ != area) {
        for (int bubble : bubblesToHide) tooltips_[bubble]->hide();
        if (hideText) lbltooltip_txt_->hide();
        timer2_->stop();
    }
    hoverArea_ = area;
    if (!timer2_->isActive()) timer2_->start();  // a start while it runs leaves it running
}

void DashboardWindow::pointAtArrow(int index, bool plus)
{
    if (plus) {
        lastPlusIndex_ = index;
        LabelA_[index]->showPicture(imageList2_.at(18), 18);
        LabelB_[lastMinusIndex_]->showPicture(imageList2_.at(13), 13);
        enterHelpArea(1, {0, 2, 3}, false);
    } else {
        lastMinusIndex_ = index;
        LabelB_[index]->showPicture(imageList2_.at(15), 15);
        LabelA_[lastPlusIndex_]->showPicture(imageList2_.at(16), 16);
        enterHelpArea(2, {0, 2, 3}, false);
    }
}

void DashboardWindow::pointAtLever()
{
    enterHelpArea(3, {1}, true);
}

void DashboardWindow::pressArrow(int index, bool plus)
{
    if (plus)
        LabelA_[index]->showPicture(imageList2_.at(17), 17);
    else
        LabelB_[index]->showPicture(imageList2_.at(14), 14);
}

void DashboardWindow::releaseArrow(int index, bool plus, Qt::MouseButton button)
{
    // A released plus arrow keeps its pressed picture until the pointer moves.
    if (!plus) LabelB_[index]->showPicture(imageList2_.at(13), 13);
    if (button != Qt::LeftButton) return;
    const warnings::ArrowPress press = warnings::pressArrow(index, plus, setup_.settings, setup_.locale);
    if (press.fineTuneRail) setup_.engine.fineTune(*press.fineTuneRail, press.fineTuneStep);
    if (!press.changed) return;
    if (warnings::isCurrentWarningArrow(index))
        HLabel_txt_[index]->setText(q(press.shownText));
    else
        LLabel_txt_[index - 11]->setText(q(press.shownText));
}

void DashboardWindow::switchRail()
{
    warnings::switchRail(setup_.settings);
    showRailMode();
    setup_.engine.switchRailMode();
}

void DashboardWindow::showRailMode()
{
    const int railMode = setup_.settings.railMode();
    const settings::SettingsView view = settings::viewOf(setup_.settings.values(), railMode, setup_.locale);
    Image14_->showPicture(imageList2_.at(railMode != 0 ? 24 : 23), railMode != 0 ? 24 : 23);
    showSecondRail(railMode != 0);
    GLabel_txt_[2]->setText(q(view.GLabel_txt[2]));
    HLabel_txt_[2]->setText(q(view.HLabel_txt[2]));
    if (railMode != 0) {
        GLabel_txt_[3]->setText(q(view.GLabel_txt[3]));
        HLabel_txt_[3]->setText(q(view.HLabel_txt[3]));
        FLabel_txt_[3]->setText(q(telemetry_.current12V2));
    }
}

void DashboardWindow::applyRequest(const RequestOutcome& outcome)
{
    // A write answered in read form carries the rail's voltage: shown at once.
    if (outcome.ack.voltageShown && outcome.state.USBAdj >= 1 && outcome.state.USBAdj <= 3)
        ILabel_txt_[outcome.state.USBAdj - 1]->setText(q(*outcome.ack.voltageShown));
}

void DashboardWindow::clearHelp(bool arrowsNormal, bool resetShownArea, std::initializer_list<int> bubbles,
                                bool hideText)
{
    if (arrowsNormal) {
        LabelA_[lastPlusIndex_]->showPicture(imageList2_.at(16), 16);
        LabelB_[lastMinusIndex_]->showPicture(imageList2_.at(13), 13);
    }
    hoverArea_ = 0;
    if (resetShownArea) bottonB_num_ = 0;
    for (int bubble : bubbles) tooltips_[bubble]->hide();
    if (hideText) lbltooltip_txt_->hide();
}

void DashboardWindow::installHelpClearing()
{
    // Pointing at these controls clears the help as the table of rules says;
    // their texts let the pointer through to them.
    for (QLabel* text : ILabel_txt_) text->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel* text : KLabel_txt_) text->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel* text : LLabel_txt_) text->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel* caption : CLabel_)
        if (caption) {
            caption->setMouseTracking(true);
            caption->installEventFilter(this);
        }
    lbltooltip_txt_->setMouseTracking(true);
    lbltooltip_txt_->installEventFilter(this);
    for (auto* cell : KLabel_)
        connect(cell, &chrome::PictureLabel::pointerMoved, this, [this] { clearHelp(false, false, {2}, false); });
    for (auto* cell : ILabel_)
        connect(cell, &chrome::PictureLabel::pointerMoved, this, [this] { clearHelp(true, true, {2}, false); });
    for (auto* cell : LLabel_)
        connect(cell, &chrome::PictureLabel::pointerMoved, this, [this] { clearHelp(true, true, {3}, true); });
    const std::array<bool, 4> bubbleResetsArrows{true, false, true, true};
    for (int b = 0; b < 4; ++b)
        connect(tooltips_[b], &chrome::PictureLabel::pointerMoved, this,
                [this, b, resets = bubbleResetsArrows[b]] { clearHelp(resets, false, {b}, true); });
}

bool DashboardWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == lbltooltip_txt_)
            clearHelp(false, false, {0, 1, 2, 3}, true);
        else
            clearHelp(false, false, {1}, true);  // a caption
        return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void DashboardWindow::pollTick()
{
    if (cycleHeld_) return;  // the last cycle's windows are still open
    setup_.engine.tick();
}

void DashboardWindow::applyReport(const TickReport& report)
{
    if (report.kind == TickKind::Failed) {
        cycleHeld_ = true;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Message"), q(report.error), QMessageBox::Ok, this);
        box.exec();
        cycleHeld_ = false;
        return;
    }
    if (report.kind != TickKind::Cycle) return;

    telemetry_ = report.telemetry;
    showReadout(report.readout);
    gauges_.setTargets(telemetry_.loadPercent, telemetry_.efficiencyGauge, telemetry_.temperature);
    if (report.warnings.empty() || !presentWarnings_) {
        if (!report.warnings.empty()) setup_.engine.warningsClosed();
        finishCycle();
        return;
    }
    cycleHeld_ = true;
    presentWarnings_(report.warnings, [this] {
        cycleHeld_ = false;
        setup_.engine.warningsClosed();
        finishCycle();
    });
}

void DashboardWindow::finishCycle()
{
    startGauges();
}

void DashboardWindow::showReadout(const Readout& r)
{
    const bool multipleRails = setup_.settings.railMode() == 1;
    for (int i = 0; i < 4; ++i) {
        if (i < 3 || multipleRails || FLabel_txt_[3]->isVisible()) FLabel_txt_[i]->setText(q(r.FLabel_txt[i]));
    }
    for (int i = 0; i < 3; ++i) ILabel_txt_[i]->setText(q(r.ILabel_txt[i]));
    for (int i = 0; i < 4; ++i) NLabel_txt_[i]->setText(q(r.NLabel_txt[i]));

    auto paint = [](QLabel* label, int digit, Rgb colour) {
        label->setText(QString::number(digit));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, qColour(colour));
        label->setPalette(palette);
    };
    for (int i = 0; i < 4; ++i) paint(DLabel_[i], r.DLabel[i], r.DLabelColour[i]);
    for (int i = 0; i < 2; ++i) paint(DLabel2_[i], r.DLabel2[i], r.DLabel2Colour[i]);
    for (int i = 0; i < 3; ++i) paint(DLabel3_[i], r.DLabel3[i], r.DLabel3Colour[i]);
}

void DashboardWindow::startGauges()
{
    if (!firstReadingShown_) {
        firstReadingShown_ = true;
        gaugeViews_[0]->showPosition(gauges_.position(Gauge::Power));
        gaugeViews_[1]->showPosition(gauges_.position(Gauge::Efficiency));
        gaugeViews_[2]->showPosition(gauges_.position(Gauge::Temperature));
    }
    gauges_.start();
    timer1_->start();
    timer3_->start();
}

void DashboardWindow::stepPowerAndTemperature()
{
    const bool running = gauges_.stepPowerAndTemperature();
    gaugeViews_[0]->showPosition(gauges_.position(Gauge::Power));
    gaugeViews_[2]->showPosition(gauges_.position(Gauge::Temperature));
    if (!running) timer1_->stop();
}

void DashboardWindow::stepEfficiency()
{
    const bool running = gauges_.stepEfficiency();
    gaugeViews_[1]->showPosition(gauges_.position(Gauge::Efficiency));
    if (!running) timer3_->stop();
}

void DashboardWindow::hoverReset()
{
    SkinnedWindow::hoverReset();
    findChild<chrome::PictureLabel*>(QStringLiteral("Image2"))->showPicture(imageList2_.at(7), 7);
    if (hoverArea_ != 0) {
        if (lastButtonIndex_ >= 0 && lastButtonIndex_ < 4)
            BLabel_[lastButtonIndex_]->showPicture(imageList2_.at(10), 10);
        LabelA_[lastPlusIndex_]->showPicture(imageList2_.at(16), 16);
        LabelB_[lastMinusIndex_]->showPicture(imageList2_.at(13), 13);
    }
    hoverArea_ = 0;
    bottonB_num_ = 0;
    lastButtonIndex_ = 5;
    for (auto* bubble : tooltips_) bubble->hide();
    lbltooltip_txt_->hide();
}

void DashboardWindow::backgroundPressed(Qt::MouseButton)
{
    raise();
    activateWindow();
}

void DashboardWindow::minimiseButtonClicked()
{
    raise();
    activateWindow();
    showMinimized();
}

void DashboardWindow::closeButtonClicked()
{
    std::string error;
    const auto status = settings::writeSettingsFile(setup_.settingsPath, setup_.settings.values(), &error);
    if (status == WriteStatus::AccessDenied) {
        QMessageBox box(
            QMessageBox::Critical, QStringLiteral("TALVORN"),
            QString::fromUtf8(settings::kFailureMessage.data(), static_cast<int>(settings::kFailureMessage.size())),
            QMessageBox::Ok, this);
        box.exec();
    }
    if (end_) end_();
}

void DashboardWindow::closeEvent(QCloseEvent* event)
{
    // Closed by any other means: the program ends without writing.
    event->accept();
    if (end_) end_();
}

QWidget* DashboardWindow::openDialog(int index)
{
    settings::DialogWindow* dialog = nullptr;
    switch (index) {
    case 0:
        dialog = new settings::ResetWindow(setup_.settingsPath, [this] { readSetting(); });
        break;
    case 1:
        dialog = new settings::ProductWindow;
        break;
    case 2: {
        settings::SaveWindow::Snapshot snapshot{[this] { return telemetry_; },
                                                [this] { return setup_.settings.railMode(); },
                                                [this] { return setup_.settings.values(); }, setup_.locale};
        // The program's folder when it may be written, else beside the settings.
        QString folder = QCoreApplication::applicationDirPath();
        if (!QFileInfo(folder).isWritable()) folder = QString::fromStdString(setup_.settingsPath.parent_path().string());
        dialog = new settings::SaveWindow(std::move(snapshot), folder,
                                          chooseRecordFile_ ? chooseRecordFile_ : settings::SaveWindow::systemFileChooser());
        break;
    }
    case 3:
        usageFactors_ = {co2FactorCopy_, fareCopy_};
        dialog = new settings::UsageWindow(telemetry_, [this] { return telemetry_; },
                                           uptime_ ? uptime_() : millisecondsSinceBoot(), usageFactors_, setup_.settings,
                                           setup_.settingsPath, setup_.locale);
        connect(dialog, &settings::DialogWindow::closed, this, [this] {
            co2FactorCopy_ = usageFactors_.co2;
            fareCopy_ = usageFactors_.fare;
        });
        break;
    default:
        return nullptr;
    }
    dialog->open();
    return dialog;
}

void DashboardWindow::readSetting()
{
    auto outcome = settings::readSettingsFile(setup_.settingsPath, setup_.locale);
    if (!outcome.values) {
        chrome::showFileFailure(this);
        if (end_) end_();
        return;
    }
    setup_.settings.replace(std::move(*outcome.values));
    showSettings();
    if (focusClickDone_) setup_.engine.clearSetVolNum();
}

}  // namespace kvrns::dashboard

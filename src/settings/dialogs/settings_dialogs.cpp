#include "settings/dialogs/settings_dialogs.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "chrome/messages.h"
#include "chrome/text_buttons.h"
#include "settings/record.h"

namespace kvrns::settings {
namespace {

const QString kArial = QStringLiteral("Arial");
const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QColor kRed(255, 0, 0);

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::vector<chrome::TextButtonSpec> yesNo(QPoint yesPicture, int noPictureX)
{
    const int textDx = 80, textDy = 160;
    return {{{yesPicture.x(), yesPicture.y(), 1380, 660},
             {yesPicture.x() + textDx, yesPicture.y() + textDy, 1215, 375},
             QStringLiteral("YES")},
            {{noPictureX, yesPicture.y(), 1380, 660}, {noPictureX + textDx, yesPicture.y() + textDy, 1215, 375},
             QStringLiteral("NO")}};
}

}  // namespace

// ---- Resetwfrm ----

ResetWindow::ResetWindow(std::filesystem::path settingsPath, std::function<void()> readSetting, QWidget* parent)
    : DialogWindow(QStringLiteral("Resetwfrm"), QStringLiteral("reset.png"), {9990, 5880}, 200, parent),
      settingsPath_(std::move(settingsPath)), readSetting_(std::move(readSetting))
{
    addLabel(QStringLiteral("LabelTitle"), QStringLiteral("Reset"), {360, 240, 2055, 375}, kArial, 13.5, true,
             Qt::white);
    addLabel(QStringLiteral("Label1(1)"), QStringLiteral("Are you sure you want to reset to the default setting?"),
             {960, 1800, 6735, 735}, kArial, 13, false)
        ->setWordWrap(true);
    buttons_ = new chrome::TextButtons(this, yesNo({720, 2640}, 2280), QStringLiteral("Segoe UI Symbol"), 11.25, kRed);
    connect(buttons_, &chrome::TextButtons::clicked, this, [this](int index) {
        if (index == 0) yes();
        close();
    });
}

void ResetWindow::yes()
{
    if (writeSettingsLine(settingsPath_, kDefaultLine) == WriteStatus::AccessDenied) chrome::showFileFailure(this);
    // The settings are read again whether or not the write went through, so
    // the dashboard always shows what the file holds.
    if (readSetting_) readSetting_();
}

void ResetWindow::hoverReset()
{
    DialogWindow::hoverReset();
    buttons_->reset();
}

// ---- Productfrm ----

ProductWindow::ProductWindow(QWidget* parent)
    : DialogWindow(QStringLiteral("Productfrm"), QStringLiteral("product.png"), {10005, 4965}, 200, parent)
{
    QString shown = productText();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    addLabel(QStringLiteral("Label1(2)"), shown, {1080, 1440, 6735, 1215}, kArial, 13, false);
}

QString ProductWindow::productText()
{
    return QStringLiteral("TALVORN KVRNS software.\r\nRev 1.1\r\nSupported PSU:\r\n1. TALVORN QUORLANE");
}

// ---- Savefrm ----

SaveWindow::SaveWindow(Snapshot snapshot, QString initialFolder, FileChooser chooser, QWidget* parent)
    : DialogWindow(QStringLiteral("Savefrm"), QStringLiteral("save.png"), {10005, 4965}, 10, parent),
      snapshot_(std::move(snapshot)), initialFolder_(std::move(initialFolder)), chooser_(std::move(chooser))
{
    addLabel(QStringLiteral("Label1(0)"), QStringLiteral("The records will be save as *.txt."), {960, 1320, 6735, 615},
             kArial, 13, false);
    buttons_ = new chrome::TextButtons(this, yesNo({840, 1920}, 2400), QStringLiteral("Segoe UI Symbol"), 11.25, kRed);
    connect(buttons_, &chrome::TextButtons::clicked, this, [this](int index) {
        if (index == 0) yes();
        close();
    });
}

void SaveWindow::yes()
{
    const QDate today = QDate::currentDate();
    const QString suggested =
        QDir(initialFolder_).filePath(q(suggestedRecordName(today.year(), today.month(), today.day())));
    const QString chosen = chooser_ ? chooser_(this, suggested, QStringLiteral("(*.txt) (*.txt)")) : QString();
    if (chosen.isEmpty()) return;  // cancelled: nothing is written

    const std::string record =
        recordText(snapshot_.telemetry(), snapshot_.railMode(), snapshot_.values(), snapshot_.locale);
    std::string error;
    const WriteStatus status = writeRecord(chosen.toStdString(), record, &error);
    if (status == WriteStatus::AccessDenied) chrome::showFileFailure(this);
    // A record that did not reach the disk is said so, never passed over.
    else if (status == WriteStatus::Failed)
        chrome::showError(this, QStringLiteral("The record could not be written: %1").arg(q(error)));
}

SaveWindow::FileChooser SaveWindow::systemFileChooser()
{
    return [](QWidget* parent, const QString& suggestedPath, const QString& filter) {
        // Exactly the path chosen: no extension is added to it.
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Save"), suggestedPath, filter);
    };
}

void SaveWindow::hoverReset()
{
    DialogWindow::hoverReset();
    buttons_->reset();
}

// ---- Usagefrm ----

UsageWindow::UsageWindow(Telemetry readings, std::function<Telemetry()> latest, std::uint64_t millisecondsSinceBoot,
                         Factors& copies, SettingsStore& settings, std::filesystem::path settingsPath,
                         NumberLocale locale, QWidget* parent)
    : DialogWindow(QStringLiteral("Usagefrm"), QStringLiteral("usage.png"), {9975, 4935}, 200, parent),
      readings_(std::move(readings)), latest_(std::move(latest)), time_(operationTimeOf(millisecondsSinceBoot)),
      copies_(copies), settings_(settings), settingsPath_(std::move(settingsPath)), locale_(locale)
{
    struct Text {
        int index;
        const char* text;
        QRect place;
    };
    const Text texts[] = {
        {1, "Operation Time since KVRNS started:_________hr_________min.", {720, 1200, 7815, 375}},
        {0, "Enter your regional CO2 emission factor:", {840, 1560, 4575, 375}},
        {3, "Kg/KwH", {6480, 1560, 1695, 375}},
        {2, "Estimated CO2 emission since KVRNS started:_________Kg", {840, 1920, 8535, 375}},
        {5, "Enter your region\u2019s average electricity fare:", {840, 2280, 4695, 375}},
        {6, "$/KwH", {6600, 2280, 1095, 375}},
        {7, "Estimated electricity power consumption since KVRNS started:_________KwH", {840, 2640, 8415, 375}},
        {8, "Estimated electricity cost: $____________", {840, 3000, 5895, 375}},
    };
    for (const auto& t : texts)
        addLabel(QStringLiteral("Label1(%1)").arg(t.index), QString::fromUtf8(t.text), t.place, kArial, 11, false);

    const QRect valuePlaces[] = {
        {4440, 1155, 1080, 315}, {5800, 1155, 960, 315}, {5760, 1875, 840, 315}, {7080, 2595, 960, 315},
        {3600, 2955, 1200, 315}};
    for (int i = 0; i < 5; ++i)
        values_[i] = addLabel(QStringLiteral("Label2(%1)").arg(i), {}, valuePlaces[i], kSansSerif, 12, true, Qt::black,
                              Qt::AlignHCenter | Qt::AlignTop);
    values_[0]->setText(q(time_.hoursText()));
    values_[1]->setText(q(time_.minutesText()));

    auto makeBox = [this](const QString& name, QRect place) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setGeometry(twips().rect(place.x(), place.y(), place.width(), place.height()));
        QFont font(kSansSerif);
        font.setPointSizeF(twips().points(9.75));
        font.setBold(true);
        box->setFont(font);
        box->setAlignment(Qt::AlignCenter);
        box->setFrame(false);
        box->setMaxLength(6);
        box->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(128,128,128); color: black; border: none; }"));
        // The settings separator would split the stored line: refused.
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^;]*")), box));
        return box;
    };
    text1_ = makeBox(QStringLiteral("Text1"), {4920, 1560, 1455, 285});
    text2_ = makeBox(QStringLiteral("Text2"), {5040, 2280, 1455, 285});

    // The boxes' own change handling runs as they are filled, then the
    // estimates are computed in order.
    connect(text1_, &QLineEdit::textChanged, this, [this] {
        readings_.inputWatt = latest_ ? latest_().inputWatt : readings_.inputWatt;
        showCo2();
    });
    connect(text2_, &QLineEdit::textChanged, this, &UsageWindow::showCost);
    text1_->setText(copies_.co2.remove(QLatin1Char(';')));
    text2_->setText(copies_.fare.remove(QLatin1Char(';')));
    showCo2();
    values_[3]->setText(q(energyEstimate(readings_, time_, locale_)));
    showCost();
}

void UsageWindow::showCo2()
{
    values_[2]->setText(q(co2Estimate(readings_, time_, text1_->text().toStdString(), locale_)));
}

void UsageWindow::showCost()
{
    values_[4]->setText(q(costEstimate(values_[3]->text().toStdString(), text2_->text().toStdString(), locale_)));
}

QString UsageWindow::shown(int valueIndex) const
{
    return values_[static_cast<std::size_t>(valueIndex)]->text();
}

void UsageWindow::closeButtonClicked()
{
    copies_.co2 = text1_->text();
    copies_.fare = text2_->text();
    settings_.setValue(Co2Factor, copies_.co2.toStdString());
    settings_.setValue(ElectricityFare, copies_.fare.toStdString());
    if (writeSettingsFile(settingsPath_, settings_.values()) == WriteStatus::AccessDenied)
        chrome::showFileFailure(this);
    close();
}

}  // namespace kvrns::settings

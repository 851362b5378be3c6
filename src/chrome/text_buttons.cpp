#include "chrome/text_buttons.h"

#include "chrome/picture_label.h"

namespace kvrns::chrome {

TextButtons::TextButtons(SkinnedWindow* window, const std::vector<TextButtonSpec>& buttons, const QString& fontFamily,
                         double points, QColor colour, Numbers numbers)
    : QObject(window), numbers_(numbers)
{
    const QString d = QStringLiteral(":/assets/warnings/");
    normal_ = QPixmap(d + QStringLiteral("textbutton_normal.png"));
    pressed_ = QPixmap(d + QStringLiteral("textbutton_pressed.png"));
    hover_ = QPixmap(d + QStringLiteral("textbutton_hover.png"));
    const TwipScale& twips = window->twips();
    const bool single = buttons.size() == 1;

    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int index = static_cast<int>(i);
        const QString suffix = single ? QString() : QStringLiteral("(%1)").arg(index);
        auto* picture = new PictureLabel(window);
        picture->setObjectName(QStringLiteral("AALabel") + suffix);
        const QRect p = buttons[i].pictureTwips;
        picture->setGeometry(twips.rect(p.x(), p.y(), p.width(), p.height()));
        auto* text = new PictureLabel(window);
        text->setObjectName(QStringLiteral("AALabel_txt") + suffix);
        const QRect t = buttons[i].textTwips;
        text->setGeometry(twips.rect(t.x(), t.y(), t.width(), t.height()));
        text->setText(buttons[i].text);
        text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont font(fontFamily);
        font.setPointSizeF(twips.points(points));
        font.setBold(true);
        text->setFont(font);
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText, colour);
        text->setPalette(palette);
        pictures_.push_back(picture);
        texts_.push_back(text);

        for (PictureLabel* part : {picture, text}) {
            connect(part, &PictureLabel::clicked, this, [this, index](Qt::MouseButton) { emit clicked(index); });
            connect(part, &PictureLabel::pointerMoved, this, [this, index] {
                for (int other = 0; other < static_cast<int>(pictures_.size()); ++other)
                    show(other, other == index ? numbers_.hover : numbers_.normal);
            });
        }
        // Only the picture reacts to press and release; the text does not.
        connect(picture, &PictureLabel::pressed, this, [this, index] { show(index, numbers_.pressed); });
        connect(picture, &PictureLabel::released, this, [this, index] { show(index, numbers_.normal); });
        show(index, numbers_.normal);
    }
}

void TextButtons::show(int index, int number)
{
    const QPixmap& picture = number == numbers_.pressed ? pressed_ : number == numbers_.hover ? hover_ : normal_;
    pictures_[static_cast<std::size_t>(index)]->showPicture(picture, number);
}

int TextButtons::shownNumber(int index) const
{
    return pictures_[static_cast<std::size_t>(index)]->shownIndex();
}

void TextButtons::reset()
{
    for (int i = 0; i < static_cast<int>(pictures_.size()); ++i) show(i, numbers_.normal);
}

}  // namespace kvrns::chrome

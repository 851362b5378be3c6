// The dialogs' text buttons: a stretched picture (AALabel) under a text
// (AALabel_txt). A click on either does the button's action; the picture
// follows the pointer (normal, pressed, pointer over).
#pragma once

#include <QObject>
#include <QPixmap>
#include <QRect>
#include <array>
#include <vector>

#include "chrome/skinned_window.h"

class QLabel;

namespace kvrns::chrome {

class PictureLabel;

struct TextButtonSpec {
    QRect pictureTwips;
    QRect textTwips;
    QString text;
};

// Picture numbers as the window's list has them: the two-button windows use
// 7 normal, 8 pressed, 9 pointer over; the intro notice 9, 8, 7.
struct TextButtonNumbers {
    int normal = 7, pressed = 8, hover = 9;
};

class TextButtons : public QObject {
    Q_OBJECT
public:
    using Numbers = TextButtonNumbers;

    TextButtons(SkinnedWindow* window, const std::vector<TextButtonSpec>& buttons, const QString& fontFamily,
                double points, QColor colour, TextButtonNumbers numbers = TextButtonNumbers());

    PictureLabel* picture(int index) const { return pictures_[static_cast<std::size_t>(index)]; }
    PictureLabel* text(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    int shownNumber(int index) const;
    // Every button back to its normal picture (the pointer is on the background).
    void reset();

signals:
    void clicked(int index);

private:
    void show(int index, int number);

    Numbers numbers_;
    std::vector<PictureLabel*> pictures_;
    std::vector<PictureLabel*> texts_;
    QPixmap normal_, pressed_, hover_;
};

}  // namespace kvrns::chrome

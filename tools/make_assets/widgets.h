#pragma once

// Buttons shared by the dashboard and the dialogs, in their pointer states.

#include <QImage>

namespace kvrns::assets {

enum class ButtonState { Normal, Pressed, Hover, Disabled };
enum class Glyph { Minimise, Close, Mini };
// Dark buttons sit on the graphite dashboard, light ones on the light dialogs.
enum class Tone { Dark, Light };

// Round 20 x 20 caption button.
QImage captionButton(Glyph glyph, ButtonState state, Tone tone);

// Rounded button background that the program writes a caption on.
QImage pillButton(int width, int height, ButtonState state, Tone tone);

// 17 x 13 step button: an up triangle for plus, a down triangle for minus.
QImage arrowButton(bool plus, ButtonState state);

}  // namespace kvrns::assets

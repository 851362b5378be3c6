#pragma once

class QWidget;
class QString;

namespace kvrns::chrome {

// A message box with the error icon under the program's title "TALVORN".
void showError(QWidget* parent, const QString& text);
// "The File permission denied or read only", the one message for every
// file that cannot be written or read.
void showFileFailure(QWidget* parent);

}  // namespace kvrns::chrome

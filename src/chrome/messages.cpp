#include "chrome/messages.h"

#include <QMessageBox>

namespace kvrns::chrome {

void showError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TALVORN"), text, QMessageBox::Ok, parent);
    box.exec();
}

void showFileFailure(QWidget* parent)
{
    showError(parent, QStringLiteral("The File permission denied or read only"));
}

}  // namespace kvrns::chrome

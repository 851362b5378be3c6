#pragma once

// The pictures of the program, each with the path it is written to under the
// assets folder.

#include <QImage>
#include <QString>
#include <vector>

namespace kvrns::assets {

struct Picture {
    QString path;  // relative to the assets folder, e.g. "dashboard/skin.png"
    QImage image;
};

std::vector<Picture> dashboardPictures();
std::vector<Picture> warningPictures();
std::vector<Picture> dialogPictures();
std::vector<Picture> iconPictures();

// The dashboard as it looks with every picture in its place, for checking the
// artwork by eye; not shipped.
QImage dashboardPreview(const std::vector<Picture>& dashboard);

// The dialogs, the mini window and the icon with sample texts on them.
QImage dialogsPreview(const std::vector<Picture>& all);

// The power-supply emblem (a lightning bolt in a rounded badge), shared by
// the title picture and the program icon.
void paintEmblem(class QPainter& p, const class QRectF& box);

}  // namespace kvrns::assets

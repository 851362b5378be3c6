// Pictures addressed by their 1-based index in a window's list, as the
// window's controls name them.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <map>

namespace kvrns::dashboard {

class PictureList {
public:
    explicit PictureList(std::map<int, QString> paths) : paths_(std::move(paths)) {}
    // A null picture for an index the list does not hold.
    const QPixmap& at(int index) const;

private:
    std::map<int, QString> paths_;
    mutable QHash<int, QPixmap> loaded_;
};

// The dashboard's lists: ImageList1 (help bubbles, header bars, title) and
// ImageList2 (buttons, cells, gauge faces, lever).
PictureList dashboardImageList1();
PictureList dashboardImageList2();

}  // namespace kvrns::dashboard

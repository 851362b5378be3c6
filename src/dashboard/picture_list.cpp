#include "dashboard/picture_list.h"

namespace kvrns::dashboard {

const QPixmap& PictureList::at(int index) const
{
    auto cached = loaded_.find(index);
    if (cached != loaded_.end()) return *cached;
    const auto path = paths_.find(index);
    return *loaded_.insert(index, path == paths_.end() ? QPixmap() : QPixmap(path->second));
}

PictureList dashboardImageList1()
{
    const QString d = QStringLiteral(":/assets/dashboard/");
    return PictureList({{1, d + "bubble_warning.png"},
                        {2, d + "bubble_lever.png"},
                        {3, d + "bubble_finetune.png"},
                        {4, d + "bubble_voltwarn.png"},
                        {12, d + "header_current.png"},
                        {13, d + "header_voltage.png"},
                        {14, d + "title.png"}});
}

PictureList dashboardImageList2()
{
    const QString d = QStringLiteral(":/assets/dashboard/");
    return PictureList({{1, d + "minimise_normal.png"},   {2, d + "minimise_pressed.png"},
                        {3, d + "minimise_hover.png"},    {4, d + "close_normal.png"},
                        {5, d + "close_pressed.png"},     {6, d + "close_hover.png"},
                        {7, d + "mini_normal.png"},       {8, d + "mini_pressed.png"},
                        {9, d + "mini_hover.png"},        {10, d + "button_normal.png"},
                        {11, d + "button_pressed.png"},   {12, d + "button_hover.png"},
                        {13, d + "minus_normal.png"},     {14, d + "minus_pressed.png"},
                        {15, d + "minus_hover.png"},      {16, d + "plus_normal.png"},
                        {17, d + "plus_pressed.png"},     {18, d + "plus_hover.png"},
                        {19, d + "nameplate.png"},        {20, d + "cell.png"},
                        {21, d + "gauge_power_face.png"}, {22, d + "gauge_efficiency_face.png"},
                        {23, d + "lever_up.png"},         {24, d + "lever_down.png"},
                        {30, d + "cell_wide.png"},        {31, d + "plus_disabled.png"},
                        {32, d + "minus_disabled.png"}});
}

}  // namespace kvrns::dashboard

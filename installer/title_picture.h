#pragma once
// The splash's title picture: a code sheet under a magnifying glass.

#include <QPixmap>

namespace trawlex::installer {

QPixmap DrawTitlePicture(int size);

}  // namespace trawlex::installer

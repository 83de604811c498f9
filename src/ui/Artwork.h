#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code so they need no image files.
namespace Artwork {

QPixmap banner();         // 600 by 75, for the Search panel
QPixmap iconPixmap(int size = 32);
QIcon appIcon();

} // namespace Artwork

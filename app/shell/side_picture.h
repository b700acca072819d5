// The picture that runs down the main window's side panel.
#pragma once

#include <QPixmap>

namespace SidePicture {
QPixmap make(int width, int height);
}

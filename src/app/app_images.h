#pragma once

#include <QIcon>

// The program's icon in the sizes the window system asks for.
QIcon AppIcon();

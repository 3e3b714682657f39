#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The image `name` (without ".png") from the program's resources. Read as PNG
// by name: left to guess the format, Qt would load every image plugin it has,
// which costs start-up time and memory.
QPixmap ResourceImage(const QString& name);

// The program's icon in the sizes the window system asks for.
QIcon AppIcon();

#pragma once

#include <QPushButton>

// A command button that shows a small image beside its text, and a second
// image while the button has the focus.
class ImageButton : public QPushButton {
  Q_OBJECT

 public:
  explicit ImageButton(const QString& text, QWidget* parent = nullptr);
};

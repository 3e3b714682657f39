#pragma once

#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

namespace vexa::testing {

// What a screen reader calls the widget: the name given to it, else what its
// accessibility interface makes of it (a button's text, for one).
inline QString AccessibleName(QWidget* widget) {
  if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The control of this type under `root` that a screen reader calls `name`,
// as the engineer's tools find it; a test failure when there is none.
template <typename Widget>
Widget* FindControl(const QWidget* root, const QString& name) {
  for (Widget* widget : root->findChildren<Widget*>()) {
    if (AccessibleName(widget) == name) return widget;
  }
  ADD_FAILURE() << "no control named " << name.toStdString();
  return nullptr;
}

}  // namespace vexa::testing

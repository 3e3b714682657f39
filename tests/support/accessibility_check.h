#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>
#include <string>
#include <vector>

namespace vexa::testing {

// The text a control shows of itself, as a sighted user reads it: a button's
// or label's text without its mnemonic marks, a group box's title. Empty for
// controls whose text is their content (edits, lists).
inline QString VisibleText(QWidget* widget) {
  QString text;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    text = label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text())
               ? QString()  // rich text is read as its plain text; not compared here
               : label->text();
  }
  if (auto* box = qobject_cast<QGroupBox*>(widget)) text = box->title();
  text.remove('&');
  return text.simplified();
}

// Widgets that a screen reader or automation meets as controls.
inline bool IsControl(QWidget* widget) {
  return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
         qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
         qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
         qobject_cast<QProgressBar*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
         qobject_cast<QTextEdit*>(widget) || qobject_cast<QTabBar*>(widget) ||
         qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget);
}

// True for the parts Qt builds inside a control: a combo box's line edit, a
// list's viewport, headers and in-place editors, the scroll bars of anything
// that scrolls.
inline bool IsPartOfAControl(QWidget* widget) {
  QWidget* parent = widget->parentWidget();
  QWidget* grandparent = parent ? parent->parentWidget() : nullptr;
  if (widget->objectName().startsWith("qt_")) return true;
  if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent) ||
      qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QAbstractItemView*>(grandparent)) {
    return true;
  }
  // A scroll area keeps its scroll bars in containers of its own, beside its viewport.
  auto* area = qobject_cast<QAbstractScrollArea*>(grandparent);
  return area && parent != area->viewport();
}

// Every control under `root` that would be visible with `root` shown and that
// a screen reader cannot name: no accessible name, or a name that does not
// contain the control's visible text. Labels without text are skipped, and so
// are the parts Qt builds inside a control.
inline std::vector<std::string> AccessibilityProblems(QWidget* root) {
  std::vector<std::string> problems;
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(root) || !IsControl(widget) || IsPartOfAControl(widget)) continue;
    const QString visible = VisibleText(widget);
    if (qobject_cast<QLabel*>(widget) && visible.isEmpty()) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    const QString name = accessible ? accessible->text(QAccessible::Name).simplified() : QString();
    const std::string what = std::string(widget->metaObject()->className()) + " \"" +
                             visible.toStdString() + "\" named \"" + name.toStdString() + "\"";
    if (name.isEmpty()) {
      problems.push_back(what + ": no accessible name");
    } else if (!name.contains(visible)) {
      problems.push_back(what + ": the name does not contain the visible text");
    }
  }
  return problems;
}

// The control with the keyboard focus under `root`, as the accessibility tree
// tells it to a screen reader or automation: the root's focus child, and only
// if every interface up from it to `root` lists it among its children. Null
// when the tree does not lead to it.
inline QAccessibleInterface* FocusedControl(QAccessibleInterface* root) {
  QAccessibleInterface* focused = root ? root->focusChild() : nullptr;
  if (focused == nullptr || !focused->state().focused) return nullptr;
  for (QAccessibleInterface* child = focused; child->object() != root->object();) {
    QAccessibleInterface* parent = child->parent();
    if (parent == nullptr || parent->indexOfChild(child) < 0) return nullptr;
    child = parent;
  }
  return focused;
}

}  // namespace vexa::testing

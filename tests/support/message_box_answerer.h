#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

namespace vexa::testing {

// While it lives, answers every message box that opens as the engineer does,
// with Enter once the box has shown, and keeps the boxes' texts: a real box
// in a real event loop, with the focus changes it brings.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }

  std::vector<std::string> texts;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    // Seen on one tick, answered on the next: whatever its opening sets off happens first.
    if (box != seen_) {
      seen_ = box;
      texts.push_back(box->text().toStdString());
      return;
    }
    QTest::keyClick(box, Qt::Key_Return);
  }

  QTimer timer_;
  QPointer<QMessageBox> seen_;
};

}  // namespace vexa::testing

#pragma once

#include <QComboBox>
#include <QStringList>

// The "Connection:" list. Its IDs are taken afresh from the phone book every
// time the list drops down; it starts with nothing selected.
class DeviceSelector : public QComboBox {
  Q_OBJECT

 public:
  explicit DeviceSelector(QWidget* parent = nullptr);

  // Replaces the items; the ID shown before stays shown if it is still listed.
  void Fill(const QStringList& ids);
  void showPopup() override;

 signals:
  // The list is about to drop down: whoever listens calls Fill.
  void aboutToShowPopup();
};

#include "app/device_selector.h"

DeviceSelector::DeviceSelector(QWidget* parent) : QComboBox(parent) {
  setMinimumContentsLength(8);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void DeviceSelector::Fill(const QStringList& ids) {
  const QString shown = currentText();
  clear();
  addItems(ids);
  setCurrentIndex(shown.isEmpty() ? -1 : ids.indexOf(shown));
}

void DeviceSelector::showPopup() {
  emit aboutToShowPopup();
  QComboBox::showPopup();
}

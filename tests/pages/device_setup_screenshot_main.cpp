// Renders the Device Setup page after a sample "#1" reply into a PNG file,
// for the documentation: device_setup_screenshot <file.png>
#include <QApplication>
#include <QPixmap>

#include "pages/device_setup/device_setup_page.h"
#include "support/offline_page_objects.h"

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) return 2;

  vexa::OfflinePageObjects objects("vexa-screenshot");
  CTarvoKSet1Dlg page(objects.context(), nullptr);
  page.resize(997, 586);  // the page's place inside the device tab sheet
  page.ReadGroup1Reply(
      "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;"
      "AP1:+491709876543;AP2:;ER:01;IA:1;XH:21;OUT1:0010;OUT2:0005;#");
  page.ShowInfo("BJ-GSM TEST OK CSQ:21");
  page.show();
  return page.grab().save(argv[1]) ? 0 : 1;
}

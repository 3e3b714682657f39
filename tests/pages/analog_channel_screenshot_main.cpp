// Renders the Analog Channel page filled from the simulated logger's "#2"
// reply into a PNG file, for the documentation: analog_channel_screenshot <file.png>
#include <QApplication>
#include <QPixmap>

#include "pages/analog/analog_channel_page.h"
#include "sim/simulated_logger.h"
#include "support/offline_page_objects.h"

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) return 2;

  vexa::OfflinePageObjects objects("vexa-screenshot");
  CTarvoKSet2Dlg1 page(objects.context(), nullptr);
  page.resize(997, 586);  // the page's place inside the device tab sheet
  vexa::sim::SimulatedLogger logger(vexa::sim::DemoLoggers().front());
  page.FirstStatusReply();
  page.ReadGroup2Reply(logger.Handle("135791#CHEACK2#"));
  page.TickCalibrationState();
  page.show();
  return page.grab().save(argv[1]) ? 0 : 1;
}

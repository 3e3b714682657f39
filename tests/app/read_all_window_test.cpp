// The Read All button: one progress display over Status, "#1", "#2" and "#3",
// on either route, with every page filled as its own button fills it.
#include <gmock/gmock.h>

#include <QLineEdit>
#include <set>

#include "window_fixture.h"

namespace vexa::testing {
namespace {

using ReadAllWindowTest = WindowTest;

TEST_F(ReadAllWindowTest, OneProgressOverFourCommandsOnEitherRoute) {
  for (const bool gsm : {false, true}) {
    OpenWindow(logger_record_);
    ConnectAndSelect(gsm);
    Click("Read All");
    std::set<QString> shown;
    QProgressBar* bar = Control<QProgressBar>("Command progress");
    int last_value = 0;
    bool backwards = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          if (!bar->isVisible()) return true;
          shown.insert(StatusText());
          backwards = backwards || bar->value() < last_value;
          last_value = bar->value();
          return false;
        },
        60000))
        << DataLog().toStdString();
    EXPECT_EQ(StatusText(), "Command Success") << gsm;
    EXPECT_TRUE(shown.contains("Read All: #1, 2 of 4")) << gsm;
    EXPECT_TRUE(shown.contains("Read All: #3, 4 of 4")) << gsm;
    EXPECT_FALSE(backwards) << gsm;
    EXPECT_EQ(PageControl<QLineEdit>(kDeviceSetupPage, "Station ID")->text(), "000041") << gsm;
    EXPECT_EQ(DevicePages()->currentIndex(), kRelayOutputPage) << gsm;
  }
}

TEST_F(ReadAllWindowTest, RefusedAndEndedAsTheButtonsAre) {
  // No logger chosen: the Status button's own message.
  Click("Status");
  ASSERT_FALSE(notifier_.messages.empty());
  const std::string refused = notifier_.Last();
  notifier_.messages.clear();
  Click("Read All");
  ASSERT_EQ(notifier_.messages.size(), 1u);
  EXPECT_EQ(notifier_.Last(), refused);

  // Chosen, but the line closed since: ended at once.
  notifier_.messages.clear();
  ConnectAndSelect(false);
  Click("Disconnect");
  Click("Read All");
  EXPECT_EQ(StatusText(), "Communication Error");
  EXPECT_FALSE(Control<QProgressBar>("Command progress")->isVisible());
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

}  // namespace
}  // namespace vexa::testing

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstdio>

#include "page_fixture.h"
#include "pages/alarms/analog_alarm_page.h"
#include "pages/alarms/input_alarm_page.h"
#include "pages/page_widgets.h"
#include "support/accessibility_check.h"

namespace vexa::testing {
namespace {

struct ExpectedRow {
  const char* label;
  int channel;
  const char* subject;
};

// Both pages, top to bottom: the AD page's fifteen rows, then the IN page's five.
const ExpectedRow kRows[] = {
    {"Humidity: (AD00)", 0, "Humidity Channel"},
    {"Analog Channel: (AD01)", 1, "Analog Channel AD01"},
    {"Analog Channel: (AD02)", 2, "Analog Channel AD02"},
    {"Analog Channel: (AD03)", 3, "Analog Channel AD03"},
    {"Analog Channel: (AD04)", 4, "Analog Channel AD04"},
    {"Analog Channel: (AD05)", 5, "Analog Channel AD05"},
    {"Analog Channel: (AD06)", 6, "Analog Channel AD06"},
    {"Temperature_3: (AD07)", 7, "Analog Channel AD07"},
    {"Temperature_4: (AD08)", 8, "Analog Channel AD08"},
    {"Temperature_5: (AD09)", 9, "Analog Channel AD09"},
    {"Temperature_6: (AD10)", 10, "Analog Channel AD10"},
    {"Temperature_7: (AD11)", 11, "Analog Channel AD11"},
    {"Temperature_8: (AD12)", 12, "Analog Channel AD12"},
    {"Temperature_1: (AD13)", 13, "Temperature 1 Channel"},
    {"Temperature_2: (AD14)", 14, "Temperature 2 Channel"},
    {"Power Source: (Power Alert)", 15, "Power Source"},
    {"Digital Input Channel: (IN01)", 16, "Digital Input Channel IN01"},
    {"Digital Input Channel: (IN02)", 17, "Digital Input Channel IN02"},
    {"Digital Input Channel: (IN03)", 18, "Digital Input Channel IN03"},
    {"Digital Input Channel: (IN04)", 19, "Digital Input Channel IN04"},
};

std::string TwoDigits(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

class AlarmMessagePageTest : public PageTest {
 protected:
  AlarmMessagePageTest() {
    for (QWidget* page : {static_cast<QWidget*>(&analog), static_cast<QWidget*>(&input)}) {
      page->show();
    }
  }

  // The control of either page: the row labels tell the pages apart.
  template <typename Widget>
  Widget* Find(const QString& name) {
    for (QWidget* page : {static_cast<QWidget*>(&analog), static_cast<QWidget*>(&input)}) {
      for (Widget* widget : page->findChildren<Widget*>()) {
        if (AccessibleName(widget) == name) return widget;
      }
    }
    ADD_FAILURE() << "no control named " << name.toStdString();
    return nullptr;
  }
  QCheckBox* Box(const QString& label) { return Find<QCheckBox>(label + " Text Message"); }
  QLineEdit* Content(const QString& label) { return Find<QLineEdit>(label + " Message Content"); }
  std::string Text(const QString& label) { return Latin1(Content(label)->text()); }

  std::string Click(const QString& action, const QString& label) {
    return Press(Find<QPushButton>(action + " " + label));
  }
  std::string Set(const QString& label, bool checked, const QString& content) {
    Box(label)->setChecked(checked);
    Content(label)->setText(content);
    return Click("Set", label);
  }

  // Delivers a reply to both pages while the command that `action` sends on
  // the row is in flight, as the main window does.
  void Reply(const QString& action, const QString& label, const std::string& reply) {
    QTest::mouseClick(Find<QPushButton>(action + " " + label), Qt::LeftButton);
    analog.AlarmTextReply(reply);
    input.AlarmTextReply(reply);
    EndCommand();
  }

  CTarvoKSet5Dlg analog{context, nullptr};
  CTarvoKSet5Dlg2 input{context, nullptr};
};

TEST_F(AlarmMessagePageTest, EveryRowSetsAndReadsItsChannelUnderItsCodes) {
  for (const ExpectedRow& row : kRows) {
    const std::string channel = TwoDigits(row.channel);
    EXPECT_EQ(Set(row.label, true, "HIGH LEVEL"), "246802#SMSSET" + channel + ":1,10,HIGH LEVEL# " +
                                                      std::to_string(19000 + row.channel));
    EXPECT_EQ(Recorded(19000 + row.channel), "246802#SMSSET" + channel + ":1,10,HIGH LEVEL#");
    EXPECT_EQ(Click("Read", row.label),
              "135791#SMS:" + channel + "# " + std::to_string(19100 + row.channel));
    EXPECT_EQ(Recorded(19100 + row.channel), "<none>");

    EXPECT_EQ(Set(row.label, true, ""), "") << row.label;
    EXPECT_EQ(notifier.Last(), std::string(row.subject) + " Content is empty!");
    EXPECT_EQ(notifier.messages.back().caption, "Error");
    EXPECT_EQ(notifier.messages.back().icon, MessageIcon::kError);
  }
  EXPECT_EQ(command_buffer.Count(), 20u);
  // The labels stand in this order, and the IN page shows no rows beyond IN04.
  QStringList labels;
  for (QWidget* page : {static_cast<QWidget*>(&analog), static_cast<QWidget*>(&input)}) {
    for (QLabel* label : page->findChildren<QLabel*>()) {
      if (label->text().contains(": (")) labels << label->text();
    }
  }
  ASSERT_EQ(labels.size(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(labels[i], kRows[i].label);
}

TEST_F(AlarmMessagePageTest, ContentIsCountedInBytesOfTheCodePageAndSentAsTyped) {
  const struct {
    const char* label;
    bool checked;
    QString content;
    const char* sent;  // after the setup password; nullptr when refused
  } cases[] = {
      {"Humidity: (AD00)", true, "ABCDEFGHIJKLMN", "#SMSSET00:1,14,ABCDEFGHIJKLMN#"},
      {"Humidity: (AD00)", true, "ABCDEFGHIJKLMNO", nullptr},
      {"Humidity: (AD00)", false, "ABCDEFGHIJKLMNO", nullptr},  // checked even when not sent
      {"Humidity: (AD00)", false, "", "#SMSSET00:0#"},
      {"Temperature_2: (AD14)", false, "HIGH", "#SMSSET14:0#"},
      {"Temperature_2: (AD14)", true, "X", "#SMSSET14:1,01,X#"},
      {"Digital Input Channel: (IN03)", true, "A,B#C:D", "#SMSSET18:1,07,A,B#C:D#"},
      {"Digital Input Channel: (IN03)", true, QString::fromUtf8("Temp \u00e9lev\u00e9e"),
       "#SMSSET18:1,11,Temp \xe9lev\xe9"
       "e#"},
      {"Digital Input Channel: (IN02)", true, QString::fromUtf8("ABCDEFGHIJKL\u20ac\U0001F600"),
       "#SMSSET17:1,14,ABCDEFGHIJKL??#"},
      {"Digital Input Channel: (IN02)", false, QString::fromUtf8("ABCDEFGHIJKLM\u20ac\U0001F600"),
       nullptr},
  };
  for (const auto& c : cases) {
    command_buffer.Clear();
    notifier.messages.clear();
    const std::string sent = Set(c.label, c.checked, c.content);
    if (c.sent) {
      EXPECT_EQ(sent.substr(0, sent.rfind(' ')), std::string("246802") + c.sent) << c.sent;
      EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
    } else {
      EXPECT_EQ(sent, "") << c.content.toStdString();
      EXPECT_EQ(command_buffer.Count(), 0u);
      EXPECT_TRUE(notifier.Last().ends_with(" Content over 14 byte!")) << notifier.Last();
    }
  }
  EXPECT_EQ(notifier.Last(), "Digital Input Channel IN02 Content over 14 byte!");
}

TEST_F(AlarmMessagePageTest, AMissingSetupPasswordBlocksReadToo) {
  SelectDevice("000045");
  for (const char* action : {"Set", "Read"}) {
    notifier.messages.clear();
    EXPECT_EQ(Click(action, "Power Source: (Power Alert)"), "") << action;
    EXPECT_EQ(notifier.Last(), "Device SetupPassword is empty ,please Edit Phone Book!");
  }
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(AlarmMessagePageTest, ReadReplyFillsItsRow) {
  const struct {
    const char* label;
    bool box_before;
    std::string reply;
    bool box_after;
    const char* shown;
  } cases[] = {
      {"Temperature_1: (AD13)", false, "1,TANK ALRM!", true, "TANK ALARM!"},
      {"Temperature_1: (AD13)", true, "0,", false, ""},
      {"Temperature_1: (AD13)", true, "1", true, ""},
      {"Temperature_1: (AD13)", true, "X,ALRM!", true, "X,ALARM!"},
      {"Temperature_1: (AD13)", false, "2,HI", false, "2,HI"},
      {"Temperature_1: (AD13)", false, "1,ALM! ALRM!ALRM!", true, "ALM! ALARM!ALARM!"},
      {"Power Source: (Power Alert)", false, "1,POWER ALM!", true, "POWER ALARM!"},
      {"Power Source: (Power Alert)", false, "1,ALRM! ALM!", true, "ALARM! ALARM!"},
      {"Digital Input Channel: (IN01)", false, "1,DOOR ALM!", true, "DOOR ALM!"},
      {"Digital Input Channel: (IN04)", true, "0,DOOR ALRM!", false, "DOOR ALARM!"},
  };
  for (const auto& c : cases) {
    Box(c.label)->setChecked(c.box_before);
    Content(c.label)->setText("old");
    Reply("Read", c.label, c.reply);
    EXPECT_EQ(Box(c.label)->isChecked(), c.box_after) << c.reply;
    EXPECT_EQ(Text(c.label), c.shown) << c.reply;
  }
  // An empty reply changes nothing.
  Content("Temperature_1: (AD13)")->setText("old");
  Reply("Read", "Temperature_1: (AD13)", "");
  EXPECT_EQ(Text("Temperature_1: (AD13)"), "old");
}

TEST_F(AlarmMessagePageTest, ReplyReachesOnlyTheRowWhoseReadIsInFlight) {
  const auto texts = [this] {
    std::vector<std::string> all;
    for (const ExpectedRow& row : kRows) all.push_back(Text(row.label));
    return all;
  };
  const std::vector<std::string> untouched(20, "");
  Reply("Set", "Analog Channel: (AD03)", "1,SET CODE");  // under 19003: not a read
  Reply("Set", "Power Source: (Power Alert)", "1,SET CODE");
  EXPECT_EQ(texts(), untouched);

  Reply("Read", "Analog Channel: (AD03)", "1,AD03 ONLY");
  std::vector<std::string> expected = untouched;
  expected[3] = "AD03 ONLY";
  EXPECT_EQ(texts(), expected);
  Reply("Read", "Digital Input Channel: (IN04)", "1,IN04 ONLY");
  expected[19] = "IN04 ONLY";
  EXPECT_EQ(texts(), expected);
}

TEST_F(AlarmMessagePageTest, ClearEmptiesTextsAndUnchecksOnlyTheBoxesItsPageClears) {
  for (const ExpectedRow& row : kRows) {
    Box(row.label)->setChecked(true);
    Content(row.label)->setText("TEXT");
  }
  analog.ClearPage();
  input.ClearPage();
  for (const ExpectedRow& row : kRows) {
    const bool keeps_box = (row.channel >= 1 && row.channel <= 6) || row.channel >= 15;
    EXPECT_EQ(Box(row.label)->isChecked(), keeps_box) << row.label;
    EXPECT_EQ(Text(row.label), "") << row.label;
  }
}

TEST_F(AlarmMessagePageTest, EveryControlIsNamedAndThePageSaysWhatItHolds) {
  EXPECT_EQ(AccessibilityProblems(&analog), std::vector<std::string>{});
  EXPECT_EQ(AccessibilityProblems(&input), std::vector<std::string>{});
  for (QWidget* page : {static_cast<QWidget*>(&analog), static_cast<QWidget*>(&input)}) {
    ASSERT_EQ(page->findChildren<QGroupBox*>().size(), 1);
    EXPECT_EQ(page->findChildren<QGroupBox*>().front()->title(), "Alarm Message Setup");
    QStringList texts;
    for (QLabel* label : page->findChildren<QLabel*>()) texts << label->text();
    for (const char* text :
         {"Set", "Text Message", "Message Content", "Read",
          "Alarm Text Message will be uploaded when \"Text Message\" is enabled.",
          "Live Data will be uploaded as default when \"Text Message\" is disabled."}) {
      EXPECT_TRUE(texts.contains(text)) << text;
    }
  }
}

}  // namespace
}  // namespace vexa::testing

#include "phonebook/phone_book_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "support/file_bytes.h"
#include "support/message_box_answerer.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Also notes what the page showed at the moment of each message.
class WatchingNotifier : public RecordingNotifier {
 public:
  void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
    RecordingNotifier::Show(text, caption, icon);
    if (on_show) on_show();
  }
  std::function<void()> on_show;
};

std::string PhoneBookFile(const std::vector<PhoneBookEntry>& entries) {
  std::string records;
  for (const PhoneBookEntry& entry : entries) records += Record(entry);
  return PhoneBook(records);
}

const PhoneBookEntry kA{"000041", "+491701000041", "135791", "246802"};
const PhoneBookEntry kB{"000042", "+491701000042", "111111", "222222"};

class PhoneBookPageTest : public ::testing::Test {
 protected:
  PhoneBookPageTest() {
    page_.resize(800, 600);
    page_.show();
  }

  template <typename Widget>
  Widget* Find(const QString& name) const {
    for (Widget* widget : page_.findChildren<Widget*>()) {
      if (widget->accessibleName() == name) return widget;
    }
    ADD_FAILURE() << "no control " << name.toStdString();
    return nullptr;
  }
  QLineEdit* Field(const QString& name) const { return Find<QLineEdit>(name); }
  std::string Text(const QString& field) const { return Field(field)->text().toStdString(); }
  QTableWidget* List() const { return Find<QTableWidget>("Phone Book"); }

  // Types into a field that starts empty, as the engineer would.
  void Type(const QString& name, const QString& text) {
    Field(name)->clear();
    QTest::keyClicks(Field(name), text);
  }
  // The cursor leaves the field.
  void Leave(const QString& name) {
    QFocusEvent focus_out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Field(name), &focus_out);
  }
  void Fill(const PhoneBookEntry& entry) {
    Type("Connection No", QString::fromLatin1(entry.id));
    Type("Phone Number", QString::fromLatin1(entry.phone));
    Type("Enquiry Password", QString::fromLatin1(entry.enquiry_password));
    Type("Setup Password", QString::fromLatin1(entry.setup_password));
  }
  PhoneBookEntry Fields() const {
    return {Text("Connection No"), Text("Phone Number"), Text("Enquiry Password"),
            Text("Setup Password")};
  }
  void Click(const QString& button) {
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
  }
  void ClickHeader(int column) {
    QHeaderView* header = List()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      {header->sectionViewportPosition(column) + 4, header->height() / 2});
  }
  void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    QTableWidget* list = List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualRect(list->model()->index(row, 0)).center());
  }
  // The texts of one column, top to bottom as shown.
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < List()->rowCount(); ++row) {
      texts.push_back(List()->item(row, column)->text().toLatin1().toStdString());
    }
    return texts;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : notifier_.messages) texts.push_back(message.text);
    return texts;
  }
  // Hidden and shown again, as when the engineer visits another tab.
  void Revisit() {
    page_.hide();
    page_.show();
  }

  TempDir folder_;
  std::string path_ = folder_.File("addressbook.xml");
  WatchingNotifier notifier_;
  PhoneBookStore store_{path_, notifier_};
  CSet4 page_{store_, notifier_};
};

TEST_F(PhoneBookPageTest, ListIsLaidOutAsAReport) {
  QTableWidget* list = List();
  const int width = list->viewport()->width();
  ASSERT_GT(width, 400);
  EXPECT_EQ(list->columnWidth(0), width / 8);
  EXPECT_EQ(list->columnWidth(1), width / 4);
  EXPECT_EQ(list->columnWidth(2), width / 6);
  EXPECT_EQ(list->columnWidth(3), width / 8);
  QStringList titles;
  for (int column = 0; column < 4; ++column) {
    titles << list->horizontalHeaderItem(column)->text();
  }
  EXPECT_EQ(titles,
            QStringList({"Connection No", "Phone Number", "Enquiry Password", "Setup Password"}));
}

TEST_F(PhoneBookPageTest, IdIsDigitsOnlyAtMostSixAndPaddedWhenLeft) {
  for (const auto& [typed, left] :
       {std::pair{"42", "000042"}, {"1234567", "123456"}, {"7a-", "000007"}, {"", ""}}) {
    Type("Connection No", typed);
    Leave("Connection No");
    EXPECT_EQ(Text("Connection No"), left) << typed;
  }
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookPageTest, FocusMovingToAnotherFieldChecksTheFieldLeft) {
  WriteBytes(path_, PhoneBookFile({{"000041", "49-17", "135791", "246802"}}));
  page_.PhoneBookChanged();
  Revisit();
  page_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page_));

  Field("Connection No")->setFocus();
  Type("Connection No", "7");
  Field("Phone Number")->setFocus();
  EXPECT_EQ(Text("Connection No"), "000007");
  EXPECT_THAT(notifier_.messages, IsEmpty());

  // A bad number from the file is caught when the cursor merely passes through.
  Field("Enquiry Password")->setFocus();
  EXPECT_THAT(Messages(), ElementsAre("PhoneNumber is error !"));
  EXPECT_EQ(Text("Phone Number"), "");
}

// A real message box over the page: the box a wrong number opens takes the
// focus from the password field the cursor has just entered, which is no
// departure from it, so its short password is not refused as well.
TEST_F(PhoneBookPageTest, TheBoxOfOneFieldChecksNoOther) {
  WriteBytes(path_, PhoneBookFile({{"000041", "49-17", "12", "246802"}}));
  page_.PhoneBookChanged();
  Revisit();
  page_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page_));
  notifier_.on_show = [this] {
    QMessageBox box(QMessageBox::NoIcon, "Vexa-T_Setup", QString::fromStdString(Messages().back()),
                    QMessageBox::Ok, &page_);
    box.exec();
  };
  vexa::testing::MessageBoxAnswerer answerer;

  Field("Phone Number")->setFocus();
  QTest::keyClick(Field("Phone Number"), Qt::Key_Tab);
  EXPECT_THAT(answerer.texts, ElementsAre("PhoneNumber is error !"));
  EXPECT_EQ(Text("Enquiry Password"), "12");
}

TEST_F(PhoneBookPageTest, PhoneNumberIsAPlusOrDigitThenDigitsAndAtMostNineteen) {
  std::string shown;
  notifier_.on_show = [&] { shown = Text("Phone Number"); };
  for (const char* phone : {"+491701234567", "0171", "+"}) {
    Type("Phone Number", phone);
    Leave("Phone Number");
    EXPECT_EQ(Text("Phone Number"), phone);
  }
  EXPECT_THAT(notifier_.messages, IsEmpty());
  for (const char* phone : {"49+17", "++49", "0171 23", "-1"}) {
    Type("Phone Number", phone);
    Leave("Phone Number");
    EXPECT_EQ(shown, phone) << "the message comes before the field is emptied";
    EXPECT_EQ(Text("Phone Number"), "");
  }
  EXPECT_THAT(Messages(), ::testing::Each("PhoneNumber is error !"));
  EXPECT_EQ(notifier_.messages.size(), 4u);

  notifier_.messages.clear();
  Type("Phone Number", "+123456789012345678");
  EXPECT_THAT(notifier_.messages, IsEmpty());
  QTest::keyClicks(Field("Phone Number"), "9");
  EXPECT_THAT(Messages(), ElementsAre("Phone Number over 19 Number!"));
  EXPECT_EQ(shown, "+1234567890123456789");
  EXPECT_EQ(Text("Phone Number"), "");
  EXPECT_EQ(notifier_.messages[0].caption, "");
  EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kNone);
}

TEST_F(PhoneBookPageTest, PasswordsMustHaveSixDigitsAndAreEmptiedBeforeTheMessage) {
  for (const auto& [field, message] :
       {std::pair{"Enquiry Password", "GSM Query Password Is 6 Number!"},
        std::pair{"Setup Password", "GSM Setup Password Is 6 Number!"}}) {
    notifier_.messages.clear();
    std::string shown = "unset";
    notifier_.on_show = [&, field = field] { shown = Text(field); };
    // Letters cannot be typed, so the first is five digits long.
    for (const char* password : {"13a579", "1234567", "135791", ""}) {
      Type(field, password);
      Leave(field);
    }
    EXPECT_THAT(Messages(), ElementsAre(message, message));
    EXPECT_EQ(shown, "");
  }
}

TEST_F(PhoneBookPageTest, EmptyFieldStopsAddEditAndDeleteWithItsMessage) {
  const std::pair<PhoneBookEntry, std::string> cases[] = {
      {{"", "+4917", "135791", "246802"}, "GSM ID Is Null!"},
      {{"000041", "", "", ""}, "GSM Phone Number Is Null!"},
      {{"000041", "+4917", "", "246802"}, "GSM Qudry Password Is Null!"},
      {{"000041", "+4917", "135791", ""}, "GSM Setup Password Is Null!"},
  };
  for (const auto& [entry, message] : cases) {
    for (const char* button : {"Add", "Edit", "Delete"}) {
      notifier_.messages.clear();
      Fill(entry);
      Click(button);
      EXPECT_THAT(Messages(), ElementsAre(message)) << button;
      EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kNone);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(PhoneBookPageTest, AddEditAndDeleteChangeTheFileAndTheList) {
  Fill(kA);
  Click("Add");
  Fill(kB);
  Click("Add");
  EXPECT_EQ(ReadBytes(path_), PhoneBookFile({kB, kA}));
  EXPECT_THAT(Column(0), ElementsAre("000042", "000041"));
  EXPECT_EQ(Fields(), kB) << "a reload leaves the fields alone";

  Click("Add");
  EXPECT_THAT(Messages(), ElementsAre("The ID is exist !"));

  const PhoneBookEntry edited{kA.id, "+4900", "555555", "666666"};
  Fill(edited);
  Click("Edit");
  EXPECT_EQ(ReadBytes(path_), PhoneBookFile({kB, edited}));
  EXPECT_THAT(Column(1), ElementsAre(kB.phone, "+4900"));
  EXPECT_EQ(store_.GetCurrentDevice(), edited) << "an edited entry becomes the current device";

  // Rows that a reload takes away are no change of the selection.
  ClickRow(0);
  Fill(edited);
  Click("Edit");
  EXPECT_EQ(Fields(), edited);

  Fill({"000099", "+4900", "555555", "666666"});
  Click("Edit");
  EXPECT_THAT(Messages(), ElementsAre("The ID is exist !", "The ID is not exist !"));
  EXPECT_EQ(store_.GetCurrentDevice(), edited);

  Fill({kB.id, "0", "000000", "000000"});
  Click("Delete");
  EXPECT_EQ(ReadBytes(path_), PhoneBookFile({edited}));
  EXPECT_THAT(Column(0), ElementsAre(kA.id));
}

TEST_F(PhoneBookPageTest, SelectingRowsCopiesTheFirstIntoTheFields) {
  WriteBytes(path_, PhoneBookFile({kB, kA}));
  Revisit();
  ClickRow(1);
  EXPECT_EQ(Fields(), kA);
  ClickRow(0, Qt::ControlModifier);
  EXPECT_EQ(List()->selectionModel()->selectedRows().size(), 2);
  EXPECT_EQ(Fields(), kB);
  List()->clearSelection();
  EXPECT_EQ(Fields(), PhoneBookEntry{});

  // An ID from the file is shown whole, even beyond what may be typed.
  WriteBytes(path_, PhoneBookFile({{"1234567", "+4917", "135791", "246802"}}));
  Revisit();
  ClickRow(0);
  EXPECT_EQ(Fields().id, "1234567");
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookPageTest, HistoryAsksForTheLoggerShownAndSaysWhenNoneIs) {
  QSignalSpy asked(&page_, &CSet4::HistoryRequested);
  Click("History...");
  EXPECT_EQ(asked.count(), 0);
  EXPECT_THAT(Messages(),
              ElementsAre("Select a logger in the list to see the settings kept of it."));
  Type("Connection No", "000041");
  Click("History...");
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked[0][0].toString(), "000041");
}

TEST_F(PhoneBookPageTest, HeaderClicksSortTheDisplayByBytes) {
  const std::vector<PhoneBookEntry> entries = {{"000010", "+3", "111111", "111111"},
                                               {"a", "+1", "111111", "111111"},
                                               {"\xE9", "+2", "111111", "111111"},
                                               {"B", "+5", "111111", "111111"},
                                               {"000002", "+4", "111111", "111111"}};
  WriteBytes(path_, PhoneBookFile(entries));
  Revisit();
  ClickRow(3);
  ClickRow(1, Qt::ControlModifier);
  ASSERT_EQ(Fields().id, "a");

  ClickHeader(0);  // the list starts as if sorted up by this column
  EXPECT_THAT(Column(0), ElementsAre("\xE9", "a", "B", "000010", "000002"));
  ClickHeader(0);
  EXPECT_THAT(Column(0), ElementsAre("000002", "000010", "B", "a", "\xE9"));
  ClickHeader(1);
  EXPECT_THAT(Column(1), ElementsAre("+1", "+2", "+3", "+4", "+5"));
  EXPECT_THAT(Column(0), ElementsAre("a", "\xE9", "000010", "000002", "B"));

  // The selection moves with its rows; fields, list of entries and file stay.
  std::vector<int> selected;
  for (const QModelIndex& index : List()->selectionModel()->selectedRows()) {
    selected.push_back(index.row());
  }
  EXPECT_THAT(selected, ::testing::UnorderedElementsAre(0, 4));
  EXPECT_EQ(Fields().id, "a");
  EXPECT_EQ(store_.entries(), entries);
  EXPECT_EQ(ReadBytes(path_), PhoneBookFile(entries));

  Revisit();
  EXPECT_THAT(Column(0), ElementsAre("000010", "a", "\xE9", "B", "000002"));
}

TEST_F(PhoneBookPageTest, PhoneBookChangedFillsTheFieldsAtTheNextReload) {
  WriteBytes(path_, PhoneBookFile({kA}));
  Fill(kB);
  page_.PhoneBookChanged();
  EXPECT_THAT(Column(0), ElementsAre(kA.id));
  EXPECT_EQ(Fields(), kB);

  // The main window renames the logger while the page is out of sight.
  page_.hide();
  store_.DeleteEntry(kA);
  page_.PhoneBookChanged();
  const PhoneBookEntry renamed{"000077", kA.phone, kA.enquiry_password, kA.setup_password};
  store_.AddEntry(renamed);
  page_.PhoneBookChanged();
  page_.show();
  EXPECT_EQ(Fields(), renamed);
  EXPECT_THAT(Column(0), ElementsAre("000077"));

  // Only once.
  Fill(kB);
  Revisit();
  EXPECT_EQ(Fields(), kB);

  // An empty phone book empties the fields.
  std::filesystem::remove(path_);
  page_.PhoneBookChanged();
  Revisit();
  EXPECT_EQ(Fields(), PhoneBookEntry{});
}

}  // namespace
}  // namespace vexa

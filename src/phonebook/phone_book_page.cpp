#include "phonebook/phone_book_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "notifier/notifier.h"
#include "phonebook/entry_rules.h"
#include "phonebook/phone_book_store.h"
#include "widgets/leave_check.h"

namespace {

constexpr int kColumns = 4;
const std::array<const char*, kColumns> kTitles = {"Connection No", "Phone Number",
                                                   "Enquiry Password", "Setup Password"};
// Column widths as parts of the list's width.
constexpr std::array<int, kColumns> kWidthDivisors = {8, 4, 6, 8};

QString ToQt(const std::string& text) {
  return QString::fromLatin1(text);
}
std::string ToLatin1(const QString& text) {
  return text.toLatin1().toStdString();
}

// Texts are Latin-1, so comparing their UTF-16 units orders them as unsigned
// bytes, letter case included.
class ByteOrderItem : public QTableWidgetItem {
 public:
  explicit ByteOrderItem(const QString& text) : QTableWidgetItem(text) {
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& other) const override { return text() < other.text(); }
};

}  // namespace

CSet4::CSet4(vexa::PhoneBookStore& store, vexa::Notifier& notifier, QWidget* parent)
    : QWidget(parent), store_(store), notifier_(notifier) {
  auto* form = new QFormLayout;
  id_ = AddField(form, kTitles[0]);
  phone_ = AddField(form, kTitles[1]);
  enquiry_password_ = AddField(form, kTitles[2]);
  setup_password_ = AddField(form, kTitles[3]);
  // Digits only, as typed; texts from the file are shown as they are.
  id_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), id_));
  for (QLineEdit* password : {enquiry_password_, setup_password_}) {
    password->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), password));
  }
  connect(phone_, &QLineEdit::textChanged, this, &CSet4::CheckPhoneLength);
  vexa::CheckOnLeave(id_, [this] { PadId(); });
  vexa::CheckOnLeave(phone_, [this] { CheckPhone(); });
  vexa::CheckOnLeave(enquiry_password_, [this] {
    CheckPassword(enquiry_password_, "GSM Query Password Is 6 Number!");
  });
  vexa::CheckOnLeave(setup_password_,
                     [this] { CheckPassword(setup_password_, "GSM Setup Password Is 6 Number!"); });

  auto* buttons = new QHBoxLayout;
  AddButton(buttons, "Add", &CSet4::AddClicked);
  AddButton(buttons, "Edit", &CSet4::EditClicked);
  AddButton(buttons, "Delete", &CSet4::DeleteClicked);
  buttons->addSpacing(24);
  AddButton(buttons, "History...", &CSet4::HistoryClicked);
  buttons->addStretch();

  auto* page = new QVBoxLayout(this);
  page->addLayout(form);
  page->addLayout(buttons);
}

void CSet4::BuildList() {
  list_ = new QTableWidget(0, kColumns, this);
  list_->setAccessibleName("Phone Book");
  for (int column = 0; column < kColumns; ++column) {
    auto* title = new QTableWidgetItem(kTitles[column]);
    title->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setHorizontalHeaderItem(column, title);
  }
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setSectionsMovable(true);
  list_->horizontalHeader()->setSectionsClickable(true);
  list_->horizontalHeader()->setStretchLastSection(false);
  connect(list_, &QTableWidget::itemSelectionChanged, this, &CSet4::SelectionChanged);
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, &CSet4::HeaderClicked);
  static_cast<QVBoxLayout*>(layout())->addWidget(list_, 1);
  // In place and shown at once, so that its columns are sized to its real width.
  list_->show();
  layout()->activate();
}

QLineEdit* CSet4::AddField(QFormLayout* form, const QString& label) {
  auto* field = new QLineEdit(this);
  field->setAccessibleName(label);
  form->addRow(label, field);
  return field;
}

void CSet4::AddButton(QHBoxLayout* row, const QString& text, void (CSet4::*action)()) {
  auto* button = new QPushButton(text, this);
  button->setAccessibleName(text);
  connect(button, &QPushButton::clicked, this, action);
  row->addWidget(button);
}

void CSet4::Reload() {
  store_.ReloadEntries();
  const std::vector<vexa::PhoneBookEntry>& entries = store_.entries();
  if (list_) {
    // Rows that go away with the old list are no choice of the engineer.
    const QSignalBlocker blocker(list_);
    list_->setRowCount(0);
    list_->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
      const vexa::PhoneBookEntry& entry = entries[row];
      const std::array<const std::string*, kColumns> cells = {
          &entry.id, &entry.phone, &entry.enquiry_password, &entry.setup_password};
      for (int column = 0; column < kColumns; ++column) {
        list_->setItem(row, column, new ByteOrderItem(ToQt(*cells[column])));
      }
    }
  }
  if (copy_first_row_) {
    SetFields(entries.empty() ? vexa::PhoneBookEntry{} : entries.front());
    copy_first_row_ = false;
  }
}

void CSet4::PhoneBookChanged() {
  Reload();
  copy_first_row_ = true;
}

void CSet4::showEvent(QShowEvent* event) {
  // The list is built when the page is first shown, not when the window opens,
  // and sized then; later the engineer's column widths stay.
  if (!list_) {
    BuildList();
    SizeColumns();
  }
  QWidget::showEvent(event);
  Reload();
}

void CSet4::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  Reload();
}

void CSet4::PadId() {
  const std::string id = ToLatin1(id_->text());
  if (const std::string padded = vexa::PaddedId(id); padded != id) id_->setText(ToQt(padded));
}

void CSet4::CheckPhone() {
  const QString phone = phone_->text();
  if (!phone.isEmpty() && !vexa::IsPhoneNumber(ToLatin1(phone))) {
    notifier_.Show("PhoneNumber is error !");
    phone_->clear();
  }
}

void CSet4::CheckPhoneLength() {
  if (static_cast<std::size_t>(phone_->text().size()) > vexa::kPhoneMaxLength) {
    notifier_.Show("Phone Number over 19 Number!");
    phone_->clear();
  }
}

void CSet4::CheckPassword(QLineEdit* field, const char* message) {
  const QString password = field->text();
  if (!password.isEmpty() && static_cast<std::size_t>(password.size()) != vexa::kPasswordDigits) {
    field->clear();
    notifier_.Show(message);
  }
}

std::optional<vexa::PhoneBookEntry> CSet4::CheckedFields() {
  const vexa::PhoneBookEntry entry = Fields();
  const char* missing = entry.id.empty()                 ? "GSM ID Is Null!"
                        : entry.phone.empty()            ? "GSM Phone Number Is Null!"
                        : entry.enquiry_password.empty() ? "GSM Qudry Password Is Null!"
                        : entry.setup_password.empty()   ? "GSM Setup Password Is Null!"
                                                         : nullptr;
  if (missing == nullptr) return entry;
  notifier_.Show(missing);
  return std::nullopt;
}

void CSet4::AddClicked() {
  if (const auto entry = CheckedFields()) {
    store_.AddEntry(*entry);
    Reload();
  }
}

void CSet4::EditClicked() {
  if (const auto entry = CheckedFields()) {
    store_.EditEntry(*entry);
    Reload();
    store_.SelectCurrentDevice(entry->id);
  }
}

void CSet4::DeleteClicked() {
  if (const auto entry = CheckedFields()) {
    store_.DeleteEntry(*entry);
    Reload();
  }
}

void CSet4::HistoryClicked() {
  const QString id = id_->text();
  if (id.isEmpty()) {
    notifier_.Show("Select a logger in the list to see the settings kept of it.");
    return;
  }
  emit HistoryRequested(id);
}

void CSet4::SelectionChanged() {
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  if (rows.isEmpty()) {
    SetFields({});
    return;
  }
  const auto first = std::min_element(
      rows.begin(), rows.end(),
      [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  SetFields(Row(first->row()));
}

void CSet4::HeaderClicked(int column) {
  sort_ascending_ = column == sort_column_ ? !sort_ascending_ : true;
  sort_column_ = column;
  // Only the display is sorted; the selection moves with its rows, the fields stay.
  list_->sortItems(column, sort_ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CSet4::SizeColumns() {
  const int width = list_->viewport()->width();
  for (int column = 0; column < kColumns; ++column) {
    list_->setColumnWidth(column, width / kWidthDivisors[column]);
  }
}

vexa::PhoneBookEntry CSet4::Fields() const {
  return {ToLatin1(id_->text()), ToLatin1(phone_->text()), ToLatin1(enquiry_password_->text()),
          ToLatin1(setup_password_->text())};
}

void CSet4::SetFields(const vexa::PhoneBookEntry& entry) {
  id_->setText(ToQt(entry.id));
  phone_->setText(ToQt(entry.phone));
  enquiry_password_->setText(ToQt(entry.enquiry_password));
  setup_password_->setText(ToQt(entry.setup_password));
}

vexa::PhoneBookEntry CSet4::Row(int row) const {
  const auto cell = [this, row](int column) { return ToLatin1(list_->item(row, column)->text()); };
  return {cell(0), cell(1), cell(2), cell(3)};
}

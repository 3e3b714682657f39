#pragma once

#include <QWidget>
#include <optional>

#include "phonebook/phone_book_entry.h"

class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QTableWidget;

namespace vexa {
class Notifier;
class PhoneBookStore;
}  // namespace vexa

// The phone book page: four fields for one entry, Add, Edit and Delete, the
// list of every entry of the file, and History... of the entry shown.
class CSet4 : public QWidget {
  Q_OBJECT

 public:
  CSet4(vexa::PhoneBookStore& store, vexa::Notifier& notifier, QWidget* parent = nullptr);

  // Re-reads the file into the list; after PhoneBookChanged() it also fills
  // the fields from the first row.
  void Reload();

 public slots:
  // The phone book was changed elsewhere (the logger took a new ID or passwords).
  void PhoneBookChanged();

 signals:
  // History...: the settings kept of the logger with this ID are asked for.
  void HistoryRequested(const QString& id);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QLineEdit* AddField(QFormLayout* form, const QString& label);
  void BuildList();
  void AddButton(QHBoxLayout* row, const QString& text, void (CSet4::*action)());

  void PadId();
  void CheckPhone();
  void CheckPhoneLength();
  void CheckPassword(QLineEdit* field, const char* message);
  // The four fields, or none after showing which one is empty.
  std::optional<vexa::PhoneBookEntry> CheckedFields();

  void AddClicked();
  void EditClicked();
  void DeleteClicked();
  void HistoryClicked();
  void SelectionChanged();
  void HeaderClicked(int column);
  void SizeColumns();

  vexa::PhoneBookEntry Fields() const;
  void SetFields(const vexa::PhoneBookEntry& entry);
  vexa::PhoneBookEntry Row(int row) const;

  vexa::PhoneBookStore& store_;
  vexa::Notifier& notifier_;
  QLineEdit* id_;
  QLineEdit* phone_;
  QLineEdit* enquiry_password_;
  QLineEdit* setup_password_;
  QTableWidget* list_ = nullptr;  // built when the page is first shown
  int sort_column_ = 0;
  bool sort_ascending_ = true;
  bool copy_first_row_ = false;
};

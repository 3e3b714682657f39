// The Batch Setup page over a fake port, as its tests share it.
#pragma once

#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "batch/batch_page.h"
#include "history/snapshot_keeper.h"
#include "link/main_window_commands.h"
#include "link/read_all.h"
#include "page_fixture.h"

namespace vexa::testing {

// The batch list's columns.
enum BatchColumn { kNumber, kStatus, kCommand, kCode, kObject, kParameters };

class BatchPageTest : public PageTest {
 protected:
  BatchPageTest() {
    command_buffer.RecordCommand(11002, "246802#ST:000041#");
    command_buffer.RecordCommand(11005, "111111#SA:3#");
    command_buffer.RecordCommand(11009, "246802#AP1:+491709876543!#");
    page.resize(1000, 600);
    page.show();
  }

  template <typename Widget>
  Widget* Find(const QString& name) {
    return FindControl<Widget>(&page, name);
  }
  QTableWidget* List() { return Find<QTableWidget>("Batch commands"); }
  QPushButton* Button(const QString& text) { return Find<QPushButton>(text); }
  void Click(const QString& text) { QTest::mouseClick(Button(text), Qt::LeftButton); }
  QString Cell(int row, int column) { return List()->item(row, column)->text(); }
  bool Checked(int row) { return List()->item(row, kNumber)->checkState() == Qt::Checked; }
  std::vector<QString> Column(int column) {
    std::vector<QString> texts;
    for (int row = 0; row < List()->rowCount(); ++row) texts.push_back(Cell(row, column));
    return texts;
  }
  std::vector<bool> Enabled() {
    std::vector<bool> enabled;
    for (const char* name : {"File", "Select All", "Deselect All", "Buffer Clear", "Batch Setup"}) {
      enabled.push_back(Button(name)->isEnabled());
    }
    return enabled;
  }

  // Right-clicks the list there; the row menu when it was offered.
  QMenu* RightClick(QPoint at) {
    QWidget* viewport = List()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    auto* menu = page.findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    return menu && menu->isVisible() ? menu : nullptr;
  }
  QPoint CellCentre(int row) {
    return List()->visualRect(List()->model()->index(row, kObject)).center();
  }

  // Lets the worker hand the next command over; true once it is written.
  bool NextWrite(std::size_t count) {
    return QTest::qWaitFor([&] { return port.writes.size() >= count; }, 5000);
  }
  // The logger answers the command in flight and the window finishes it.
  void Answer(const std::string& reply) {
    exchange.OnReceived(reply);
    while (exchange.Tick()) {
    }
    page.BatchResult(exchange.progress().status_text);
  }

  TempDir files;
  MainWindowCommands commands{exchange, phone_book, notifier, listener};
  ReadAll read_all{commands, exchange, phone_book};
  std::vector<std::string> history_log;  // what the snapshot keeper told
  SnapshotKeeper snapshots{files.File("addressbook.xml"),
                           [this](const std::string& text) { history_log.push_back(text); }};
  CBatchInitDlg page{context, read_all, snapshots, nullptr};
};

}  // namespace vexa::testing

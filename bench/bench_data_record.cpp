// A reply of 99 stored records of 96 samples with 10 quantities (9,504 rows)
// shown in the Data Record list: from the reply to the painted list, and the
// reading of the reply into rows alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <string>

#include "../tests/support/offline_page_objects.h"
#include "pages/data_record/data_record_page.h"
#include "records/stored_record_rows.h"

namespace {

constexpr int kRecords = 99;
constexpr int kSamples = 96;  // a day at fifteen minutes
constexpr int kChannels[] = {0, 7, 8, 9, 10, 11, 12, 13, 14, 20};

std::string Reply() {
  std::string reply;
  for (int record = 0; record < kRecords; ++record) {
    char head[96];
    // One record a day from 1 January 2026.
    std::snprintf(head, sizeof head, "#STD:000041,T;TM:26%02d%02d000000;D:2;T:%d;", 1 + record / 28,
                  1 + record % 28, kSamples);
    reply += head;
    for (int channel : kChannels) {
      char key[8];
      std::snprintf(key, sizeof key, "A%02d:", channel);
      reply += key;
      for (int sample = 0; sample < kSamples; ++sample) {
        char value[16];
        std::snprintf(value, sizeof value, "%s%d.%d", sample ? "|" : "",
                      15 + (sample + channel) % 12, (record + sample) % 10);
        reply += value;
      }
      reply += ';';
    }
  }
  return reply + "#";
}

const std::string& TheReply() {
  static const std::string reply = Reply();
  return reply;
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_data_record";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

void ShowInList(benchmark::State& state) {
  App();
  vexa::OfflinePageObjects objects("bench-data-record");
  CSet3 page(objects.context(), nullptr);
  page.resize(997, 586);
  page.show();
  QApplication::processEvents();
  QTableView* list = page.findChild<QTableView*>();

  for (auto _ : state) {
    page.ClearPage();
    page.StoredRecordsReply(TheReply());
    QApplication::processEvents();
    list->viewport()->repaint();
  }
  state.counters["rows"] = list->model()->rowCount();
}
BENCHMARK(ShowInList)->Unit(benchmark::kMillisecond);

void ReadRows(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vexa::StoredRecordRows(TheReply()));
}
BENCHMARK(ReadRows)->Unit(benchmark::kMillisecond);

}  // namespace

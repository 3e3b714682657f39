// One data log entry when the log is full: the main window's data log is
// filled to its 2 MiB bound with large entries, then takes status replies one
// by one. Prints the median and p90 time per entry, once for the entry alone
// and once with the data log shown and painted.
//   QT_QPA_PLATFORM=offscreen data_log_bench [entries]
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data_logger_setup_dlg.h"
#include "notifier/notifier.h"

namespace {

using Clock = std::chrono::steady_clock;

// A status reply as the logger sends it, 168 bytes.
const std::string kStatusReply =
    "#STA:000041,T;TM:261209143005;A00:45.20;A01:21.30;A02:21.40;A03:21.50;A04:21.60;"
    "A05:21.70;A06:21.80;A13:20.50;A14:20.70;P21:0.000;K01:100000000001000;O01:10;#";

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * (values.size() - 1))];
}

// Milliseconds per entry for `count` entries; with `box` also painting it.
std::vector<double> TimeEntries(CDataLoggerSetupDlg& window, int count, QPlainTextEdit* box) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const Clock::time_point start = Clock::now();
    window.DataLogEntry(kStatusReply);
    if (box) box->viewport()->repaint();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return times;
}

void Report(const char* what, const std::vector<double>& times) {
  std::printf("%-28s median %7.3f ms   p90 %7.3f ms   (%zu entries)\n", what,
              Percentile(times, 0.5), Percentile(times, 0.9), times.size());
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 200;
  vexa::RecordingNotifier notifier;
  const std::string phone_book =
      (std::filesystem::temp_directory_path() / "data_log_bench_no_phone_book.xml").string();
  CDataLoggerSetupDlg window(notifier, phone_book);
  window.show();
  for (QTabBar* tabs : window.findChildren<QTabBar*>()) {
    if (tabs->accessibleName() == "Views") tabs->setCurrentIndex(2);  // the data log
  }
  QApplication::processEvents();

  // Entries of a hundred status lines, past the bound, so that the log is full.
  const Clock::time_point start = Clock::now();
  std::string large;
  for (int line = 0; line < 100; ++line) large += kStatusReply + "\r\n";
  for (std::size_t filled = 0; filled < 2 * 1024 * 1024 + 4 * large.size();
       filled += large.size()) {
    window.DataLogEntry(large);
  }
  std::printf("filled to the bound in %.0f ms\n",
              std::chrono::duration<double, std::milli>(Clock::now() - start).count());

  QPlainTextEdit* box = nullptr;
  for (QPlainTextEdit* edit : window.findChildren<QPlainTextEdit*>()) {
    if (edit->accessibleName() == "Data logs") box = edit;
  }
  Report("one entry", TimeEntries(window, count, nullptr));
  Report("one entry, shown", TimeEntries(window, count, box));
  return 0;
}

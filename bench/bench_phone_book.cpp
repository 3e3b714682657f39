#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "../tests/support/phone_book_text.h"
#include "../tests/support/file_bytes.h"
#include "../tests/support/temp_dir.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"

namespace vexa {
namespace {

constexpr int kEntries = 10000;

std::string Id(int i) {
  char id[16];
  std::snprintf(id, sizeof id, "%06d", i);
  return id;
}

// A phone book of kEntries loggers, newest first.
std::string LargePhoneBook() {
  std::string records;
  for (int i = kEntries; i > 0; --i)
    records += Record({Id(i), "+49170" + Id(i), "135791", "246802"});
  return PhoneBook(records);
}

class LargePhoneBookFixture {
 public:
  LargePhoneBookFixture() { WriteBytes(path_, bytes_); }
  void Restore() const { WriteBytes(path_, bytes_); }

  TempDir folder_;
  std::string path_ = folder_.File("addressbook.xml");
  std::string bytes_ = LargePhoneBook();
  RecordingNotifier notifier_;
  PhoneBookStore store_{path_, notifier_};
};

void BM_LoadEntries(benchmark::State& state) {
  LargePhoneBookFixture book;
  for (auto _ : state) {
    book.store_.ReloadEntries();
    benchmark::DoNotOptimize(book.store_.entries().data());
  }
  if (book.store_.entries().size() != kEntries) state.SkipWithError("wrong entry count");
}

void BM_AddEntry(benchmark::State& state) {
  LargePhoneBookFixture book;
  const PhoneBookEntry entry{Id(kEntries + 1), "+4917", "135791", "246802"};
  for (auto _ : state) {
    if (!book.store_.AddEntry(entry)) state.SkipWithError("add failed");
    state.PauseTiming();
    book.Restore();
    state.ResumeTiming();
  }
}

// The oldest entry is the last record: the whole file is walked.
void BM_EditEntry(benchmark::State& state) {
  LargePhoneBookFixture book;
  PhoneBookEntry entry{Id(1), "+4917", "135791", "246802"};
  for (auto _ : state) {
    entry.phone = entry.phone == "+4917" ? "+4918" : "+4917";
    if (!book.store_.EditEntry(entry)) state.SkipWithError("edit failed");
  }
}

BENCHMARK(BM_LoadEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditEntry)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexa

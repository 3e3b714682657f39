#pragma once

#include <filesystem>
#include <string_view>

#include "link/command_exchange.h"
#include "pages/page_context.h"

namespace vexa {

// The objects a page is built on, with no line behind them: for pictures of a
// page and benchmarks that hand it replies directly. Files go to the
// temporary folder under names that begin with `scratch_name`.
class OfflinePageObjects {
 public:
  explicit OfflinePageObjects(const std::string& scratch_name)
      : phone_book_(
            (std::filesystem::temp_directory_path() / (scratch_name + "-book.xml")).string(),
            notifier_),
        setup_log_(std::filesystem::temp_directory_path() / (scratch_name + "-log.txt")) {}

  PageContext context() { return {exchange_, phone_book_, command_buffer_, port_, notifier_}; }

 private:
  class ClosedPort : public Port {
   public:
    bool IsPortOpen() const override { return false; }
    bool WritePort(std::string_view) override { return false; }
  };

  RecordingNotifier notifier_;
  PhoneBookStore phone_book_;
  CommandBuffer command_buffer_;
  SetupLog setup_log_;
  ClosedPort port_;
  ExchangeListener listener_;
  CommandExchange exchange_{port_, phone_book_, command_buffer_, setup_log_, notifier_, listener_};
};

}  // namespace vexa

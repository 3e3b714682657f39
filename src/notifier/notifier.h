#pragma once

#include <string>
#include <vector>

namespace vexa {

enum class MessageIcon { kNone, kError, kWarning, kInformation };

// Message boxes, behind an interface so that the lower layer never opens a
// dialog itself and tests can record what the engineer would have seen.
class Notifier {
 public:
  virtual ~Notifier() = default;
  // An empty caption means the program's own title, as a plain message box shows.
  virtual void Show(const std::string& text, const std::string& caption = {},
                    MessageIcon icon = MessageIcon::kNone) = 0;
  // True when the engineer chose OK.
  virtual bool AskOkCancel(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
};

// Keeps every message instead of showing it; answers questions with `answer`.
class RecordingNotifier : public Notifier {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::kNone;
    bool question = false;
  };

  void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon, false});
  }
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon, true});
    return answer;
  }
  // The text of the newest message, or empty when none was shown.
  std::string Last() const { return messages.empty() ? std::string() : messages.back().text; }

  std::vector<Message> messages;
  bool answer = true;
};

}  // namespace vexa

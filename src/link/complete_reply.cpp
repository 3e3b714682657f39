#include "link/complete_reply.h"

#include "link/command_codes.h"
#include "link/modem_text.h"
#include "protocol/command_envelope.h"
#include "protocol/reply_field.h"

namespace vexa {
namespace {

bool IsFixedReply(std::string_view text) {
  for (std::string_view fixed :
       {kSetSuccess, kSetFail, kPasswordError, kFormatError, kInitializeDone}) {
    if (text == fixed) return true;
  }
  return false;
}

// The end mark follows the last field's ";". A "#" anywhere else (inside a value,
// or the start of a further block) is no end, however long the logger pauses there.
bool EndsAfterLastField(std::string_view text) {
  return text.ends_with(";#");
}

// A further short message of a reply on the GSM route: "#STA:<station ID>;" and a
// piece of the reply, without the reply's own key.
bool IsContinuationPart(std::string_view text) {
  return text.starts_with("#STA:") && ReplyField(text, "STA:").value.size() == 6;
}

bool IsWholeStructuredReply(int code, TransportMode route, std::string_view reply) {
  if (!EndsAfterLastField(reply)) return false;
  if (code == kSelectStatusCode || code == kStatusCode) return IsStatusReply(reply);
  const int group = code - kGroup1Code + 1;
  if (group < 1 || group > 3) return false;
  return IsParameterGroupReply(reply, group) ||
         (route == TransportMode::kGsmModem && IsContinuationPart(reply));
}

}  // namespace

bool IsCompleteReply(int pending_code, TransportMode route, std::string_view received) {
  // How every whole form ends, looked at first: the port asks after every read,
  // also of a long text that is none of them.
  if (!received.ends_with('!') && !EndsAfterLastField(received) && !received.ends_with('\n') &&
      !received.ends_with("message send")) {
    return false;
  }
  std::string_view reply = received;
  if (route == TransportMode::kGsmModem && HoldsModemText(received)) {
    const std::size_t modem_end = ModemTextLength(received);
    if (modem_end == received.size()) {
      return received.ends_with('\n') || received.ends_with("message send");
    }
    reply.remove_prefix(modem_end);
  }
  return IsFixedReply(reply) || IsWholeStructuredReply(pending_code, route, reply);
}

}  // namespace vexa

#include "protocol/status_parse.h"

#include "protocol/reply_field.h"

namespace vexa {

void ParseStatus(std::string_view reply, DeviceContext& context) {
  if (ReplyField(reply, "STA:").value.empty()) return;
  context.digital_input_count = static_cast<int>(ReplyField(reply, "K01:").value.size());
  context.relay_count = static_cast<int>(ReplyField(reply, "O01:").value.size());
}

std::string StatusStationId(std::string_view reply) {
  std::string value = ReplyField(reply, "STA:").value;
  return value.substr(0, value.find(','));
}

}  // namespace vexa

// Feeds arbitrary replies and recorded commands to the command language's
// parsers and renderer, checking what each promises about its result.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "protocol/command_envelope.h"
#include "protocol/reply_field.h"
#include "protocol/setup_command_description.h"
#include "protocol/status_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int command_code = input.ConsumeIntegralInRange(11000, 20000);
  const std::size_t start = input.ConsumeIntegralInRange<std::size_t>(0, 64);
  const std::string key = input.ConsumeRandomLengthString(8);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const vexa::ReplyFieldValue field = vexa::ReplyField(text, key, start);
  if (field.position < 0) {
    Check(field.value.empty());
  } else {
    Check(static_cast<std::size_t>(field.position) >= start);
    Check(text.compare(field.position, key.size(), key) == 0);
    Check(field.value.find(';') == std::string::npos);
  }

  std::string joined;
  for (const std::string& part : vexa::SplitValue(text)) {
    joined += part + ",";
  }
  joined.pop_back();
  Check(joined == text);

  const vexa::SetupCommandDescription described = vexa::DescribeSetupCommand(command_code, text);
  Check(described.name.find_first_of("#:") == std::string::npos);
  Check(described.value.find('#') == std::string::npos);

  vexa::DeviceContext context;
  vexa::ParseStatus(text, context);
  Check(context.digital_input_count >= 0 && context.relay_count >= 0);

  const std::string command = vexa::FormatCommand(text, {key, key});
  Check(command.size() <= text.size() + 2 * key.size());
  vexa::IsParameterGroupReply(text, command_code % 4);
  return 0;
}

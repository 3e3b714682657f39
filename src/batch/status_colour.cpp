#include "batch/status_colour.h"

#include "batch/verification.h"

namespace vexa {

Rgb StatusColour(std::string_view status) {
  const auto holds = [status](std::string_view part) {
    return status.find(part) != std::string_view::npos;
  };
  Rgb colour;
  if (holds("Success") || holds("Verified")) colour = {0, 128, 0};
  // A write that did not stay failed, whatever its command answered.
  if (holds("Fail") || holds("Error") || WriteDidNotStay(status)) colour = {255, 0, 0};
  if (holds("Time Out")) colour = {0, 0, 255};
  return colour;
}

}  // namespace vexa

#include "convert/ConversionResult.h"

namespace convert {

std::string FinalMessage(const std::string& caption, const ConversionResult& result) {
  std::string message = "Conversion of " + caption + " tax information";
  message += result.cancelled ? " canceled." : " is complete.";
  // A kind that an error ended has records nobody counted: that is an error of the run too.
  if (result.totalFailed != 0 || result.kindsFailed != 0) {
    message += " Errors occured during conversion of tax information.";
  }
  if (result.totalSkipped != 0) {
    message +=
        " There was tax information not converted because tax classes did not match, or no "
        "operations were performed.";
  }
  if (result.lostLogLines > 0) message += " Some lines could not be written to the conversion log.";
  return message + " Do you want to explore the conversion log files?";
}

}  // namespace convert

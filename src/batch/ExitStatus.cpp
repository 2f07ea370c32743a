#include "batch/ExitStatus.h"

namespace batch {
namespace {

int Severity(ExitStatus status) {
  switch (status) {
    case kComplete:
      return 0;
    case kIncomplete:
      return 1;
    case kRefused:
      return 2;
    case kCancelled:
      break;
  }
  return 3;
}

}  // namespace

ExitStatus Worst(ExitStatus a, ExitStatus b) {
  return Severity(b) > Severity(a) ? b : a;
}

std::string StatusWord(ExitStatus status) {
  switch (status) {
    case kComplete:
      return "complete";
    case kIncomplete:
      return "incomplete";
    case kRefused:
      return "refused";
    case kCancelled:
      break;
  }
  return "cancelled";
}

}  // namespace batch

#include "convert/ProgressControls.h"

namespace convert {

void ProgressControls::RecordsCounted(std::int32_t records) {
  progressBar_.SetValue(0);
  progressBar_.SetMin(0);
  progressBar_.SetMax(static_cast<float>(records));
}

}  // namespace convert

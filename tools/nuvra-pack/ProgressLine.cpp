#include "tools/nuvra-pack/ProgressLine.h"

#include <unistd.h>

#include <cstdio>

namespace nuvra::pack {

ProgressLine::ProgressLine() : enabled_(isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(const char* stage, uint64_t done, uint64_t total) {
  if (!enabled_) return;
  int percent = total ? static_cast<int>(done * 100 / total) : 100;
  if (percent == lastPercent_ && stage == lastStage_) return;
  lastPercent_ = percent;
  lastStage_ = stage;
  std::fprintf(stderr, "\r%-12s %3d%% (%.1f of %.1f MB)  ", stage, percent, done / 1e6,
               total / 1e6);
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::Finish() {
  if (!shown_) return;
  std::fprintf(stderr, "\r%60s\r", "");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace nuvra::pack

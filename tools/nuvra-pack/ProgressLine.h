// A one-line progress display on standard error, shown only when standard
// error is a terminal (build logs and pipes stay clean).
#pragma once

#include <cstdint>

namespace nuvra::pack {

class ProgressLine {
 public:
  ProgressLine();
  ~ProgressLine() { Finish(); }
  // Shows "STAGE  NN% (done of total MB)"; redraws only when the percentage
  // changes.
  void Show(const char* stage, uint64_t done, uint64_t total);
  // Clears the line.
  void Finish();

 private:
  bool enabled_;
  bool shown_ = false;
  int lastPercent_ = -1;
  const char* lastStage_ = nullptr;
};

}  // namespace nuvra::pack

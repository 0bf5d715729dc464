#include "tools/nuvra-pack/ToolResult.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace nuvra::pack {

void ReportProblem(const std::string& what, const std::string& problem) {
  std::fprintf(stderr, "nuvra-pack: %s: %s\n", what.c_str(), problem.c_str());
}

int Fail(const std::string& what, const std::string& problem) {
  ReportProblem(what, problem);
  return kExitBadInput;
}

void ReportNote(const std::string& note) {
  std::fprintf(stderr, "nuvra-pack: note: %s\n", note.c_str());
}

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace nuvra::pack

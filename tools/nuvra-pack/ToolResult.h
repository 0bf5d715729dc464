// Exit codes of nuvra-pack and the one way it reports a problem.
#pragma once

#include <string>

namespace nuvra::pack {

enum ExitCode {
  kExitOk = 0,
  kExitUsage = 1,     // bad command line
  kExitBadInput = 2,  // bad package or payload, or an I/O error
};

// Prints "nuvra-pack: WHAT: PROBLEM" on standard error.
void ReportProblem(const std::string& what, const std::string& problem);
// Same, returns kExitBadInput so callers can `return Fail(...)`.
int Fail(const std::string& what, const std::string& problem);
// "nuvra-pack: note: ..." for things that do not fail the command.
void ReportNote(const std::string& note);

// strerror(errno) as a std::string.
std::string ErrnoText();

}  // namespace nuvra::pack

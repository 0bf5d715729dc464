// nuvra-pack: builds, lists, unpacks and verifies install packages.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/ToolResult.h"

using namespace nuvra::pack;

namespace {

const char kUsage[] =
    "usage: nuvra-pack pack DIR -o FILE [--allow-non-ascii] [--no-require]\n"
    "       nuvra-pack list FILE\n"
    "       nuvra-pack unpack FILE DIR\n"
    "       nuvra-pack verify FILE [--no-require]\n"
    "       nuvra-pack --help\n";

const char kHelp[] =
    "\n"
    "Builds the install package that NuvraSetup.exe carries as resource FILE 143:\n"
    "a 4-byte unpacked size, 5 LZMA properties bytes and a raw LZMA stream of an\n"
    "archive holding one record per file.\n"
    "\n"
    "  pack DIR -o FILE   pack every regular file below DIR, sorted by name; the\n"
    "                     same DIR always gives the same bytes.  Refuses names of\n"
    "                     260 bytes or more, names Windows cannot hold, non-ASCII\n"
    "                     names (unless --allow-non-ascii), files or a total of\n"
    "                     4 GiB or more, links that lead out of DIR and, unless\n"
    "                     --no-require, a DIR without NuvraBrowser.exe,\n"
    "                     NuvraUninstall.exe and NuvraCtrl.exe at its top level.\n"
    "  list FILE          print each record's content size and name.\n"
    "  unpack FILE DIR    write the records below DIR, refusing any name the\n"
    "                     installer would refuse; nothing is written for a damaged\n"
    "                     package.\n"
    "  verify FILE        exit 0 only when FILE decodes and walks completely and\n"
    "                     (unless --no-require) holds the three programs.\n"
    "\n"
    "Exit codes: 0 success, 1 bad usage, 2 bad input or I/O error.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "nuvra-pack: %s\n%s", problem, kUsage);
  return kExitUsage;
}

// Splits the words after the command into operands and known flags; an
// unknown flag is a usage error.
bool SplitArgs(const std::vector<std::string>& words, const std::vector<std::string>& flags,
               std::vector<std::string>* operands, std::vector<std::string>* given,
               std::string* output) {
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-o" && output != nullptr) {
      if (i + 1 == words.size() || !output->empty()) return false;
      *output = words[++i];
    } else if (word.size() > 1 && word[0] == '-') {
      bool known = false;
      for (const std::string& flag : flags) known = known || word == flag;
      if (!known) return false;
      given->push_back(word);
    } else {
      operands->push_back(word);
    }
  }
  return true;
}

bool Has(const std::vector<std::string>& given, const char* flag) {
  for (const std::string& word : given) {
    if (word == flag) return true;
  }
  return false;
}

int Dispatch(const std::string& command, const std::vector<std::string>& words) {
  std::vector<std::string> operands, given;
  std::string output;
  if (command == "pack") {
    if (!SplitArgs(words, {"--allow-non-ascii", "--no-require"}, &operands, &given, &output) ||
        operands.size() != 1 || output.empty()) {
      return Usage("pack takes a payload folder and -o FILE");
    }
    PackArgs args;
    args.dir = operands[0];
    args.output = output;
    args.scan.allowNonAscii = Has(given, "--allow-non-ascii");
    args.scan.requirePrograms = !Has(given, "--no-require");
    return RunPack(args);
  }
  if (command == "list" || command == "unpack" || command == "verify") {
    std::vector<std::string> flags;
    if (command == "verify") flags.push_back("--no-require");
    size_t wanted = command == "unpack" ? 2 : 1;
    if (!SplitArgs(words, flags, &operands, &given, nullptr) || operands.size() != wanted) {
      return Usage((command + (wanted == 2 ? " takes a package file and a folder"
                                           : " takes one package file")).c_str());
    }
    if (command == "list") return RunList(operands[0]);
    if (command == "unpack") return RunUnpack(operands[0], operands[1]);
    return RunVerify(operands[0], !Has(given, "--no-require"));
  }
  return Usage(("unknown command \"" + command + "\"").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no command given");
  std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::printf("%s%s", kUsage, kHelp);
    return kExitOk;
  }
  try {
    return Dispatch(command, std::vector<std::string>(argv + 2, argv + argc));
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "nuvra-pack: out of memory\n");
    return kExitBadInput;
  }
}

// Archive names that could leave the install directory (or reach a device
// instead of a file): the installer's walk and `nuvra-pack unpack` must both
// refuse every one.
#pragma once

#include <string>
#include <vector>

namespace nuvra::test {

inline std::vector<std::string> RefusedArchiveNames() {
  return {
      std::string(),                   // empty
      "\\evil.txt",                    // leading separator
      "/evil.txt",
      "C:\\evil.txt",                  // drive
      "C:evil.txt",                    // drive-relative
      "file.txt:stream",               // alternate data stream
      "..\\evil.txt",                  // parent component
      "sub\\..\\..\\evil.txt",
      "..",
      "sub/../../evil.txt",
      ".\\file.txt",                   // current-folder component
      "sub\\.",
      "sub\\\\file.txt",               // empty component
      "sub\\",                         // empty last component
      ".. \\evil.txt",                 // Windows drops trailing dots/spaces: still ".."
      "sub\\...\\evil.txt",
      "bad\x01name.txt",               // control characters
      "tab\tname.txt",
      "del\x7fname.txt",
      "NUL",                           // devices
      "sub\\con.txt",
      "Com1.log",
      "LPT9",
      "AUX\\file.txt",
      "COM\xB9.txt",                  // superscript one (Western code page)
      "lpt\xB3",
      std::string(260, 'a'),           // 260 bytes and more
      std::string(200, 'b') + "\\" + std::string(70, 'c'),
  };
}

}  // namespace nuvra::test

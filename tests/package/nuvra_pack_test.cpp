// nuvra-pack's commands on real folders: round trips, determinism, what
// pack refuses, and unpack never writing outside its folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "engine/package/PackageWriter.h"
#include "tests/package/RefusedNames.h"
#include "tools/nuvra-pack/Commands.h"
#include "tools/nuvra-pack/ToolResult.h"

namespace nuvra::pack {
namespace {

namespace fs = std::filesystem;

using Tree = std::map<std::string, std::string>;  // relative path ('/') -> content

void WriteText(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every regular file below `root`, links not followed.
Tree ReadTree(const fs::path& root) {
  Tree tree;
  if (!fs::exists(root)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      tree[fs::relative(entry.path(), root).generic_string()] = ReadText(entry.path());
    }
  }
  return tree;
}

class NuvraPack : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/nuvra-pack-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    payload_ = root_ / "payload";
    for (const auto& [name, content] : SampleTree()) WriteText(payload_ / name, content);
  }
  void TearDown() override { fs::remove_all(root_); }

  static Tree SampleTree() {
    return {{"NuvraBrowser.exe", std::string(5000, 'B')},
            {"NuvraUninstall.exe", "uninstall"},
            {"NuvraCtrl.exe", "ctrl"},
            {"empty.txt", ""},
            {"plugins/a.dll", "plugin a"},
            {"res/skin/default.css", "body { color: red }"}};
  }

  int Pack(const fs::path& dir, const fs::path& output, bool allowNonAscii = false,
           bool require = true) {
    PackArgs args;
    args.dir = dir;
    args.output = output;
    args.scan.allowNonAscii = allowNonAscii;
    args.scan.requirePrograms = require;
    testing::internal::CaptureStdout();
    int code = RunPack(args);
    testing::internal::GetCapturedStdout();
    return code;
  }

  // A package whose archive is exactly `entries`, bypassing pack's checks.
  fs::path CraftPackage(const std::vector<std::pair<std::string, std::string>>& entries) {
    ArchiveWriter writer;
    for (const auto& [name, content] : entries) {
      writer.AddRecord(name.data(), name.size(), reinterpret_cast<const uint8_t*>(content.data()),
                       content.size());
    }
    std::vector<uint8_t> container;
    EncodeContainer(writer.bytes().data(), writer.bytes().size(), EncodeOptions(), &container);
    fs::path file = root_ / "crafted.bin";
    WriteText(file, std::string(container.begin(), container.end()));
    return file;
  }

  fs::path root_;
  fs::path payload_;
};

TEST_F(NuvraPack, PackListVerifyUnpackRoundTrip) {
  fs::path package = root_ / "SetupPackage.bin";
  ASSERT_EQ(Pack(payload_, package), kExitOk);

  testing::internal::CaptureStdout();
  EXPECT_EQ(RunList(package), kExitOk);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "      5000  NuvraBrowser.exe\n"
            "         4  NuvraCtrl.exe\n"
            "         9  NuvraUninstall.exe\n"
            "         0  empty.txt\n"
            "         8  plugins\\a.dll\n"
            "        19  res\\skin\\default.css\n");

  testing::internal::CaptureStdout();
  EXPECT_EQ(RunVerify(package, true), kExitOk);
  testing::internal::GetCapturedStdout();

  EXPECT_EQ(RunUnpack(package, root_ / "out" / "nested"), kExitOk);
  EXPECT_EQ(ReadTree(root_ / "out" / "nested"), SampleTree());
}

TEST_F(NuvraPack, SamePayloadGivesTheSameBytes) {
  ASSERT_EQ(Pack(payload_, root_ / "first.bin"), kExitOk);
  // The same files made again in another order, with other times and modes.
  fs::path again = root_ / "again";
  Tree tree = SampleTree();
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) WriteText(again / it->first, it->second);
  chmod((again / "empty.txt").c_str(), 0600);
  ASSERT_EQ(Pack(again, root_ / "second.bin"), kExitOk);
  EXPECT_EQ(ReadText(root_ / "first.bin"), ReadText(root_ / "second.bin"));
}

TEST_F(NuvraPack, PackRefusesWhatTheInstallerCannotInstall) {
  struct Case {
    const char* what;
    void (*make)(const fs::path& payload);
  };
  const Case cases[] = {
      {"name of 260 bytes",
       [](const fs::path& p) { WriteText(p / std::string(200, 'd') / std::string(59, 'f'), ""); }},
      {"non-ASCII name", [](const fs::path& p) { WriteText(p / "caf\xc3\xa9.txt", ""); }},
      {"name Windows cannot hold", [](const fs::path& p) { WriteText(p / "what?.txt", ""); }},
      {"backslash inside a file name", [](const fs::path& p) { WriteText(p / "a\\b.txt", ""); }},
      {"device name", [](const fs::path& p) { WriteText(p / "res" / "nul.txt", ""); }},
      {"names equal but for case",
       [](const fs::path& p) { WriteText(p / "plugins" / "A.DLL", ""); }},
      {"file beside a folder of the same name",
       [](const fs::path& p) { WriteText(p / "Res", ""); }},
      {"link leading outside",
       [](const fs::path& p) { fs::create_symlink("/etc/hostname", p / "outside.txt"); }},
      {"link to a folder that holds it",
       [](const fs::path& p) { fs::create_directory_symlink("..", p / "plugins" / "loop"); }},
      {"missing program", [](const fs::path& p) { fs::remove(p / "NuvraCtrl.exe"); }},
      {"file of 4 GiB",
       [](const fs::path& p) {
         WriteText(p / "huge.bin", "");
         ASSERT_EQ(truncate((p / "huge.bin").c_str(), off_t{1} << 32), 0);  // sparse
       }},
  };
  for (const Case& c : cases) {
    fs::path payload = root_ / "refused";
    fs::remove_all(payload);
    fs::copy(payload_, payload, fs::copy_options::recursive);
    c.make(payload);
    fs::path package = root_ / "refused.bin";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Pack(payload, package), kExitBadInput) << c.what;
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(payload.string()), std::string::npos) << c.what << ": " << errors;
    EXPECT_FALSE(fs::exists(package)) << c.what;
  }
}

TEST_F(NuvraPack, OptionsLiftTheirRefusals) {
  WriteText(payload_ / "caf\xc3\xa9.txt", "non-ASCII");
  EXPECT_EQ(Pack(payload_, root_ / "a.bin", /*allowNonAscii=*/true), kExitOk);
  fs::remove(payload_ / "NuvraCtrl.exe");
  EXPECT_EQ(Pack(payload_, root_ / "b.bin", true, /*require=*/false), kExitOk);
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunVerify(root_ / "b.bin", true), kExitBadInput);
  testing::internal::GetCapturedStderr();
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunVerify(root_ / "b.bin", false), kExitOk);
  testing::internal::GetCapturedStdout();
}

TEST_F(NuvraPack, LinksInsideThePayloadArePackedAsTheirTarget) {
  fs::create_symlink("plugins/a.dll", payload_ / "alias.dll");
  ASSERT_EQ(Pack(payload_, root_ / "p.bin"), kExitOk);
  ASSERT_EQ(RunUnpack(root_ / "p.bin", root_ / "out"), kExitOk);
  EXPECT_EQ(ReadText(root_ / "out" / "alias.dll"), "plugin a");
}

TEST_F(NuvraPack, PackageInsideThePayloadIsRefused) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Pack(payload_, payload_ / "plugins" / "p.bin"), kExitBadInput);
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(fs::exists(payload_ / "plugins" / "p.bin"));
}

// The package is checked whole first: a refused name anywhere means not a
// single file is written, inside or outside the folder.
TEST_F(NuvraPack, UnpackRefusesEveryNameTheInstallerRefuses) {
  fs::path out = root_ / "box" / "out";
  for (const std::string& name : test::RefusedArchiveNames()) {
    fs::path package = CraftPackage({{"first.txt", "ok"}, {name, "evil"}});
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunUnpack(package, out), kExitBadInput) << name;
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("crafted.bin"), std::string::npos) << errors;
    Tree written = ReadTree(root_);
    written.erase("crafted.bin");
    for (const auto& [file, content] : SampleTree()) written.erase("payload/" + file);
    EXPECT_TRUE(written.empty()) << name << ": wrote " << written.begin()->first;
  }
  EXPECT_FALSE(fs::exists(root_ / "box")) << "no folder made";
}

TEST_F(NuvraPack, UnpackNeverWritesThroughLinks) {
  fs::path outside = root_ / "outside";
  fs::create_directories(outside);
  WriteText(outside / "keep.txt", "untouched");
  fs::path out = root_ / "out";
  fs::create_directories(out);
  fs::create_directory_symlink(outside, out / "sub");       // folder link
  fs::create_symlink(outside / "keep.txt", out / "a.txt");  // file link

  testing::internal::CaptureStderr();
  EXPECT_EQ(RunUnpack(CraftPackage({{"sub\\x.txt", "evil"}}), out), kExitBadInput);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(RunUnpack(CraftPackage({{"a.txt", "new"}}), out), kExitOk);

  EXPECT_EQ(ReadTree(outside), (Tree{{"keep.txt", "untouched"}}));
  EXPECT_FALSE(fs::is_symlink(out / "a.txt"));
  EXPECT_EQ(ReadText(out / "a.txt"), "new");
}

TEST_F(NuvraPack, DamagedPackagesFailEveryCommand) {
  fs::path package = root_ / "p.bin";
  ASSERT_EQ(Pack(payload_, package), kExitOk);
  std::string bytes = ReadText(package);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"truncated stream", bytes.substr(0, bytes.size() / 2)},
      {"shorter than the header", bytes.substr(0, 5)},
  };
  for (const Case& c : cases) {
    WriteText(package, c.bytes);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunVerify(package, false), kExitBadInput) << c.what;
    EXPECT_EQ(RunList(package), kExitBadInput) << c.what;
    EXPECT_EQ(RunUnpack(package, root_ / "out"), kExitBadInput) << c.what;
    testing::internal::GetCapturedStdout();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("p.bin"), std::string::npos);
    EXPECT_FALSE(fs::exists(root_ / "out")) << c.what;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunVerify(root_ / "missing.bin", false), kExitBadInput);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("missing.bin"), std::string::npos);
}

}  // namespace
}  // namespace nuvra::pack

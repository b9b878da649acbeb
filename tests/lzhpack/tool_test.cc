// The lzhpack tool as a process: round trips through files and standard
// streams, the exit codes, the one-line messages, and that a failing run
// leaves no output (and no temporary file) behind and an old OUT untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/lzhpack/round_trip.h"

namespace {

namespace fs = std::filesystem;
using lzhpack_test::Bytes;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string Text(const fs::path& path) {
  const Bytes b = ReadFile(path);
  return std::string(b.begin(), b.end());
}

class LzhpackTool : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Under the working folder: on the same drive as the tool under wine too.
    dir_ = fs::current_path() / (std::string("lzhpack_tool_test_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  // Runs the tool with the given argument string (names relative to the
  // test's folder); standard error goes to the file "stderr". Returns the
  // exit code.
  int Run(const std::string& arguments) {
    std::string tool = LZHPACK_PATH;
#ifdef _WIN32
    for (char& c : tool) {
      if (c == '/') c = '\\';
    }
    const std::string cd = "cd /d \"";
#else
    const std::string cd = "cd \"";
#endif
    const std::string command = cd + dir_.string() + "\" && \"" + tool + "\" " + arguments + " 2> stderr";
    const int status = std::system(command.c_str());
#ifdef _WIN32
    return status;
#else
    return (status >> 8) & 0xFF;  // the exit status of a normally ended shell
#endif
  }

  std::string Stderr() const { return Text(Path("stderr")); }

  // The folder holds exactly these names (besides "stderr").
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string n = entry.path().filename().string();
      if (n != "stderr") names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(LzhpackTool, CompressesAndExpandsFilesInBothModes) {
  const Bytes input = lzhpack_test::Text(50000, 21);
  WriteFile(Path("in.txt"), input);
  for (const char* mode : {"", "--best "}) {
    ASSERT_EQ(Run(std::string("compress ") + mode + "in.txt packed"), 0) << Stderr();
    EXPECT_EQ(Stderr(), "");
    const Bytes packed = ReadFile(Path("packed"));
    EXPECT_LT(packed.size(), input.size() / 2);
    ASSERT_EQ(Run("expand packed out.txt"), 0) << Stderr();
    EXPECT_TRUE(ReadFile(Path("out.txt")) == input);
    EXPECT_EQ(Names(), (std::vector<std::string>{"in.txt", "out.txt", "packed"}));
  }
}

TEST_F(LzhpackTool, StandardStreamsStandForDash) {
  // Every byte value, so that a text-mode stream would change something.
  Bytes input = lzhpack_test::RandomBytes(20000, 22);
  for (int b = 0; b < 256; ++b) input.push_back(static_cast<std::uint8_t>(b));
  input.push_back('\r');
  input.push_back('\n');
  WriteFile(Path("in.bin"), input);
  ASSERT_EQ(Run("compress - - < in.bin > packed"), 0) << Stderr();
  ASSERT_EQ(Run("expand - - < packed > out.bin"), 0) << Stderr();
  EXPECT_TRUE(ReadFile(Path("out.bin")) == input);
}

TEST_F(LzhpackTool, ReplacesAnExistingOutput) {
  WriteFile(Path("in"), Bytes{1, 2, 3});
  WriteFile(Path("packed"), Bytes(5000, 7));
  ASSERT_EQ(Run("compress in packed"), 0) << Stderr();
  ASSERT_EQ(Run("expand packed packed"), 0) << Stderr();  // OUT may even be IN
  EXPECT_TRUE(ReadFile(Path("packed")) == (Bytes{1, 2, 3}));
}

TEST_F(LzhpackTool, HelpAndMisuse) {
  EXPECT_EQ(Run("--help > help"), 0);
  EXPECT_NE(Text(Path("help")).find("lzhpack compress [--best] IN OUT"), std::string::npos);
  for (const char* misuse : {"", "pack a b", "compress a", "expand a b c", "expand --best a b"}) {
    SCOPED_TRACE(misuse);
    EXPECT_EQ(Run(misuse), 2);
    EXPECT_EQ(Stderr().rfind("lzhpack: ", 0), 0u) << Stderr();
  }
}

struct FailureCase {
  const char* name;
  Bytes input;            // written to "in" unless empty_folder
  const char* arguments;  // OUT is "out" unless the case says otherwise
  const char* message;    // a part of the one-line message
};

TEST_F(LzhpackTool, EveryBadInputFailsWithOneLineAndLeavesNoOutput) {
  const Bytes magic = {'!', 'H', 'Z', 'L'};
  const Bytes zip = {'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0};
  const FailureCase cases[] = {
      {"missing input", {}, "expand missing out", "cannot open input 'missing'"},
      {"missing input, compress", {}, "compress missing out", "cannot open input 'missing'"},
      {"not a container", zip, "expand in out", "'in' is not a compressed file container"},
      {"magic reversed", {'L', 'Z', 'H', '!', 0, 0, 0, 0}, "expand in out", "not a compressed"},
      {"empty file", {}, "expand in out", "header cut short (0 of 8 bytes)"},
      {"three bytes", {'!', 'H', 'Z'}, "expand in out", "header cut short (3 of 8 bytes)"},
      {"magic and part of the size", {'!', 'H', 'Z', 'L', 5, 0}, "expand in out",
       "header cut short (6 of 8 bytes)"},
      {"output folder missing", magic, "compress in nowhere/out", "cannot create output"},
      {"output is a folder", magic, "compress in sub", "cannot write output 'sub'"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    if (std::string(c.name).find("missing input") == std::string::npos) WriteFile(Path("in"), c.input);
    WriteFile(Path("out"), Bytes{'o', 'l', 'd'});
    const auto before = Names();

    EXPECT_EQ(Run(c.arguments), 1);
    const std::string err = Stderr();
    EXPECT_EQ(err.rfind("lzhpack: ", 0), 0u) << err;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line
    // Nothing new in the folder, no temporary left, the old OUT untouched.
    EXPECT_EQ(Names(), before);
    EXPECT_TRUE(fs::is_empty(dir_ / "sub"));
    EXPECT_EQ(Text(Path("out")), "old");
  }
}

TEST_F(LzhpackTool, FailedExpandLeavesAnOldOutputAsItWas) {
  WriteFile(Path("in"), Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0});
  WriteFile(Path("out"), Bytes{'o', 'l', 'd'});
  EXPECT_EQ(Run("expand in out"), 1);
  EXPECT_EQ(Text(Path("out")), "old");
}

TEST_F(LzhpackTool, RefusesAnInputTooLargeForAContainer) {
  {
    std::ofstream create(Path("huge"), std::ios::binary);
  }
  std::error_code ec;
  fs::resize_file(Path("huge"), std::uintmax_t{1} << 31, ec);  // sparse where possible
  if (ec) GTEST_SKIP() << "cannot make a 2 GiB file here: " << ec.message();
  EXPECT_EQ(Run("compress huge out"), 1);
  EXPECT_NE(Stderr().find("'huge' is too large for a container"), std::string::npos) << Stderr();
  EXPECT_EQ(Names(), (std::vector<std::string>{"huge"}));
  fs::remove(Path("huge"));
}

TEST_F(LzhpackTool, CutStreamStillExpandsToTheDeclaredSize) {
  const Bytes input = lzhpack_test::Text(20000, 23);
  WriteFile(Path("in"), input);
  ASSERT_EQ(Run("compress in packed"), 0) << Stderr();
  Bytes packed = ReadFile(Path("packed"));
  packed.resize(packed.size() / 2);
  WriteFile(Path("packed"), packed);
  ASSERT_EQ(Run("expand packed out"), 0) << Stderr();
  EXPECT_GE(ReadFile(Path("out")).size(), input.size());
}

}  // namespace

// lzhpack: makes compressed file containers from a user's own files and
// expands them again, for building a launcher around one's own payload.
// Exit codes: 0 success, 1 failure (one line on standard error), 2 misuse.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/terminal.h"
#include "tools/lzhpack_commands.h"

namespace {

const char kUsage[] =
    "usage: lzhpack compress [--best] IN OUT\n"
    "       lzhpack expand IN OUT\n"
    "\n"
    "compress  makes a compressed file container of IN (at most 2147483647 bytes)\n"
    "          --best  a slower, closer parse for a smaller container\n"
    "expand    expands the container IN\n"
    "\n"
    "A file name of - stands for standard input or output. OUT is replaced\n"
    "only when the command succeeds.\n";

int Misuse(const std::string& what) {
  std::fprintf(stderr, "lzhpack: %s\nTry 'lzhpack --help'.\n", what.c_str());
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "lzhpack: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (args.empty()) return Misuse("no command given");

  const std::string command = args[0];
  bool best = false;
  std::vector<std::string> files;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (command == "compress" && args[i] == "--best") {
      best = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return Misuse("unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (command != "compress" && command != "expand") {
    return Misuse("unknown command '" + command + "'");
  }
  if (files.size() != 2) return Misuse(command + " needs IN and OUT");

  platform::UseBinaryStandardStreams();
  try {
    if (command == "compress") {
      lzhpack::Compress(files[0], files[1], best);
    } else {
      lzhpack::Expand(files[0], files[1]);
    }
  } catch (const platform::Exception& failure) {
    return Fail(failure.Message());
  } catch (const std::bad_alloc&) {
    return Fail("out of memory");
  } catch (const std::exception& failure) {
    return Fail(failure.what());
  }
  return 0;
}

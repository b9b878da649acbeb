// The demo next-stage setup program. The launcher expands it from "Setup.ex_"
// into "Setup.exe" and opens it in the staging folder. It writes
// "SetupDemo.log" into its working directory: its command line, the working
// directory, and for each file that "Setup.lst" lists under [Files] whether
// that file is present. Exit code 0 when every listed file is there, 2 when
// one is missing, 3 when "Setup.lst" cannot be read.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// The values of the key=value lines of one [section], in file order.
bool ReadSection(const std::filesystem::path& path, const std::string& section,
                 std::vector<std::string>* values) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      inside = line.substr(1, line.size() - 2) == section;
      continue;
    }
    const auto eq = line.find('=');
    if (inside && eq != std::string::npos) values->push_back(Trim(line.substr(eq + 1)));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::current_path(error);
  std::ofstream log(folder / "SetupDemo.log", std::ios::binary | std::ios::trunc);

  log << "Velmora 9 setup (demo next stage)\n";
  log << "command line:";
  for (int i = 0; i < argc; ++i) log << " \"" << argv[i] << '"';
  log << "\narguments: " << (argc - 1) << "\n";
  log << "working directory: " << folder.string() << "\n";

  std::vector<std::string> files;
  if (!ReadSection(folder / "Setup.lst", "Files", &files)) {
    log << "Setup.lst: cannot be read\nresult: failed\n";
    return 3;
  }
  std::size_t missing = 0;
  for (const std::string& name : files) {
    const bool present = fs::is_regular_file(folder / name, error);
    if (!present) ++missing;
    log << (present ? "present " : "missing ") << name << "\n";
  }
  log << "result: " << files.size() - missing << " of " << files.size() << " listed files present\n";
  return missing == 0 ? 0 : 2;
}

// The two benchmark corpora that every machine of this kind has:
// B = the first 24914952 bytes of the LLVM 14 shared library (a large x86-64
// program), T = every file of /usr/share/common-licenses in name order,
// symbolic links followed (a link to a regular file counts as that file).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct Corpus {
  std::string name;
  std::vector<std::uint8_t> data;  // empty when the files are missing
};

Corpus LoadProgramCorpus();
Corpus LoadLicenseCorpus();

}  // namespace bench

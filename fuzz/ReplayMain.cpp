// Replays inputs through a fuzz target without libFuzzer: every file named on
// the command line, and every file below each folder named, in name order.
// Each input must finish within CASTELLAN_REPLAY_SECONDS (default 60); an
// input that takes longer counts as a hang, as it does for the fuzzer.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  std::vector<fs::path> args;  // taken before the target may change the current folder
  for (int i = 1; i < argc; ++i) args.push_back(fs::absolute(argv[i]));
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> inputs;
  for (const fs::path& arg : args) {
    if (fs::is_directory(arg)) {
      for (const auto& e : fs::recursive_directory_iterator(arg))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else if (fs::is_regular_file(arg)) {
      inputs.push_back(arg);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  const char* limitText = std::getenv("CASTELLAN_REPLAY_SECONDS");
  const unsigned limit = limitText != nullptr ? static_cast<unsigned>(std::atoi(limitText)) : 60;
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", path.c_str(), data.size());
    alarm(limit);  // the default action ends the process: a hang fails the test
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    alarm(0);
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}

#include "fuzz/TreeSnapshot.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace fuzzkit {

TreeSnapshot::TreeSnapshot(const fs::path& root, const std::vector<std::string>& skip) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string relative = it->path().lexically_relative(root).string();
    if (std::find(skip.begin(), skip.end(), relative) != skip.end()) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    std::error_code sizeError;
    const uintmax_t size = it->is_regular_file() ? it->file_size(sizeError) : UINTMAX_MAX;
    entries_[relative] = Entry{size, it->last_write_time(sizeError)};
  }
}

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void ClearFolder(const fs::path& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
}

}  // namespace fuzzkit

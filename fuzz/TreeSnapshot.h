#pragma once
// Every folder and file below a folder with its size and time of last
// change, for targets that must show a reader wrote only where it may: two
// snapshots compare equal when nothing was made, removed or replaced.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fuzzkit {

class TreeSnapshot {
 public:
  // Everything below root except the subtrees and files named in skip
  // (paths below root, "Castellan/InternetGame" or "Common/error.log").
  TreeSnapshot(const std::filesystem::path& root, const std::vector<std::string>& skip);
  bool operator==(const TreeSnapshot&) const = default;

 private:
  struct Entry {
    uintmax_t size;  // folders: the largest value
    std::filesystem::file_time_type changed;
    bool operator==(const Entry&) const = default;
  };
  std::map<std::string, Entry> entries_;
};

// The names of the entries directly in folder, in order.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// Empties folder (making it when missing).
void ClearFolder(const std::filesystem::path& folder);

}  // namespace fuzzkit

#pragma once
// One running copy per user and installed program folder: the first copy
// holds a lock file for as long as it runs; a lock left by a copy that crashed
// is taken over. Copies installed in different folders (and tests, each with
// a program tree of its own) do not see each other.
// Qt-free header.
#include <memory>
#include <string>

namespace platform {

class InstanceLock {
 public:
  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool Acquired() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The lock name of the program installed in the current program folder.
std::string ProgramInstanceName();

// True when another copy of the program already runs. The first call takes
// the program's lock for the rest of this run.
bool PrevInstance();

}  // namespace platform

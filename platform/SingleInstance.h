#pragma once
// One running copy per user: the first copy holds a lock file for as long as
// it runs; a lock left by a copy that crashed is taken over.
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

// True when another copy of the program already runs. The first call takes
// the program's lock for the rest of this run.
bool PrevInstance();

}  // namespace platform

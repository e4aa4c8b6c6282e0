#include "platform/ZipArchive.h"

#include "platform/AppPath.h"

#include <zip.h>

#include <QSaveFile>
#include <QString>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/AppPath.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// More entries than this is no archive of ours; refusing it keeps the number
// of temporary files (open at once in ExtractAll) small.
constexpr int64_t kMaxExtractEntries = 64;

std::string ZipErrorText(zip_error_t* error) {
  const char* text = zip_error_strerror(error);
  return text != nullptr ? text : "unknown zip error";
}

std::string ArchiveErrorText(zip_t* zip) { return ZipErrorText(zip_get_error(zip)); }

QString ToQString(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

struct ZipArchive::State {
  zip_t* zip = nullptr;
  bool writing = false;
  std::string path;
};

ZipArchive::ZipArchive() = default;

ZipArchive::~ZipArchive() {
  if (state_ && state_->zip != nullptr) zip_discard(state_->zip);
}

void ZipArchive::SetPassword(const std::string& password) {
  password_ = password;
  if (state_ && state_->zip != nullptr) zip_set_default_password(state_->zip, password_.empty() ? nullptr : password_.c_str());
}

bool ZipArchive::Fail(const std::string& reason) {
  error_ = reason;
  return false;
}

bool ZipArchive::OpenWith(const std::string& path, bool writing) {
  Close();
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), writing ? ZIP_CREATE | ZIP_TRUNCATE : ZIP_RDONLY, &code);
  if (zip == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string text = ZipErrorText(&error);
    zip_error_fini(&error);
    return Fail("cannot open " + path + ": " + text);
  }
  zip_set_default_password(zip, password_.empty() ? nullptr : password_.c_str());
  state_ = std::make_unique<State>(State{zip, writing, path});
  return true;
}

bool ZipArchive::Create(const std::string& path) { return OpenWith(path, true); }
bool ZipArchive::Open(const std::string& path) { return OpenWith(path, false); }

bool ZipArchive::AddFile(const std::string& filePath, int level) {
  if (!state_ || !state_->writing) return Fail("no archive created");
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(filePath), ec)) return Fail("no such file: " + filePath);
  const std::string name = fs::path(filePath).filename().string();
  if (!IsPlainFileName(name)) return Fail("not a plain file name: " + name);

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_file_create(filePath.c_str(), 0, -1, &error);
  if (source == nullptr) {
    const std::string text = ZipErrorText(&error);
    zip_error_fini(&error);
    return Fail("cannot read " + filePath + ": " + text);
  }
  zip_error_fini(&error);
  const zip_int64_t index = zip_file_add(state_->zip, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    return Fail("cannot add " + name + ": " + ArchiveErrorText(state_->zip));
  }
  const auto u = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(state_->zip, u, ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level)) < 0) {
    return Fail("cannot compress " + name + ": " + ArchiveErrorText(state_->zip));
  }
  if (!password_.empty() && zip_file_set_encryption(state_->zip, u, ZIP_EM_AES_256, password_.c_str()) < 0) {
    return Fail("cannot encrypt " + name + ": " + ArchiveErrorText(state_->zip));
  }
  return true;
}

int64_t ZipArchive::EntryCount() const {
  if (!state_) return -1;
  return zip_get_num_entries(state_->zip, 0);
}

std::string ZipArchive::EntryName(int64_t index) const {
  if (!state_ || index < 0 || index >= EntryCount()) return "";
  // Raw bytes: a name's control characters must not be hidden by a
  // code-page conversion.
  const char* name = zip_get_name(state_->zip, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
  return name != nullptr ? name : "";
}

namespace {

// One entry read into a temporary file beside its target.
class EntryWriter {
 public:
  explicit EntryWriter(const std::string& target) : file_(ToQString(target)) {
    // Never write straight into the target: a failure must leave nothing.
    file_.setDirectWriteFallback(false);
  }

  // Reads the whole entry, exactly size bytes; false (with a reason) when it
  // cannot be read whole.
  bool Read(zip_t* zip, zip_uint64_t index, uint64_t size, std::string& error) {
    if (!file_.open(QIODevice::WriteOnly)) {
      error = "cannot write " + file_.fileName().toStdString();
      return false;
    }
    zip_file_t* entry = zip_fopen_index(zip, index, 0);
    if (entry == nullptr) {
      error = ArchiveErrorText(zip);
      return false;
    }
    std::vector<char> buffer(64 * 1024);
    uint64_t written = 0;
    bool ok = true;
    for (;;) {
      const zip_int64_t n = zip_fread(entry, buffer.data(), buffer.size());
      if (n == 0) break;
      if (n < 0) {
        error = ZipErrorText(zip_file_get_error(entry));
        ok = false;
        break;
      }
      written += static_cast<uint64_t>(n);
      if (written > size) {
        error = "entry larger than its stated size";
        ok = false;
        break;
      }
      if (file_.write(buffer.data(), n) != n) {
        error = "cannot write " + file_.fileName().toStdString();
        ok = false;
        break;
      }
    }
    if (zip_fclose(entry) != 0 && ok) {
      error = "damaged entry";
      ok = false;
    }
    if (ok && written != size) {
      error = "entry shorter than its stated size";
      ok = false;
    }
    return ok;
  }

  bool Commit() { return file_.commit(); }
  void Cancel() { file_.cancelWriting(); }

 private:
  QSaveFile file_;
};

}  // namespace

bool ZipArchive::CheckEntry(int64_t index, uint64_t maxSize, uint64_t& size) {
  const std::string name = EntryName(index);
  if (!IsPlainFileName(name)) return Fail("entry name refused: " + name);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(state_->zip, static_cast<zip_uint64_t>(index), 0, &st) != 0 || (st.valid & ZIP_STAT_SIZE) == 0) {
    return Fail("no size for entry " + name);
  }
  if (st.size > maxSize) return Fail("entry too large: " + name);
  size = st.size;
  return true;
}

bool ZipArchive::ExtractEntry(int64_t index, const std::string& folder, const std::string& newName,
                              uint64_t maxSize) {
  if (!state_ || state_->writing) return Fail("no archive open");
  if (index < 0 || index >= EntryCount()) return Fail("no entry " + std::to_string(index));
  if (!IsPlainFileName(newName)) return Fail("not a plain file name: " + newName);
  uint64_t size = 0;
  if (!CheckEntry(index, maxSize, size)) return false;

  EntryWriter writer((fs::path(folder) / newName).string());
  std::string reason;
  if (!writer.Read(state_->zip, static_cast<zip_uint64_t>(index), size, reason)) {
    writer.Cancel();
    return Fail(reason);
  }
  if (!writer.Commit()) return Fail("cannot write " + newName);
  return true;
}

bool ZipArchive::ExtractNamedEntry(const std::string& name, const std::string& folder, uint64_t maxSize) {
  const int64_t count = EntryCount();
  for (int64_t i = 0; i < count; ++i) {
    if (EntryName(i) == name) return ExtractEntry(i, folder, name, maxSize);
  }
  return Fail("no entry " + name);
}

bool ZipArchive::ExtractAll(const std::string& folder, uint64_t maxSize) {
  if (!state_ || state_->writing) return Fail("no archive open");
  const int64_t count = EntryCount();
  if (count <= 0) return Fail("no entries");
  if (count > kMaxExtractEntries) return Fail("too many entries");

  // Check every entry before anything is written.
  std::set<std::string> names;
  std::vector<uint64_t> sizes;
  uint64_t total = 0;
  for (int64_t i = 0; i < count; ++i) {
    uint64_t size = 0;
    if (!CheckEntry(i, maxSize - total, size)) return false;
    if (!names.insert(EntryName(i)).second) return Fail("entry name twice: " + EntryName(i));
    total += size;
    sizes.push_back(size);
  }

  std::vector<std::unique_ptr<EntryWriter>> writers;
  for (int64_t i = 0; i < count; ++i) {
    const auto u = static_cast<zip_uint64_t>(i);
    writers.push_back(std::make_unique<EntryWriter>((fs::path(folder) / EntryName(i)).string()));
    std::string reason;
    if (!writers.back()->Read(state_->zip, u, sizes[u], reason)) {
      for (auto& w : writers) w->Cancel();
      return Fail(reason);
    }
  }
  bool ok = true;
  for (auto& w : writers) ok = w->Commit() && ok;
  return ok ? true : Fail("cannot write into " + folder);
}

bool ZipArchive::Close() {
  if (!state_) return true;
  std::unique_ptr<State> state = std::move(state_);
  if (!state->writing) {
    zip_discard(state->zip);
    return true;
  }
  if (zip_close(state->zip) != 0) {
    const std::string text = ArchiveErrorText(state->zip);
    zip_discard(state->zip);
    return Fail("cannot write " + state->path + ": " + text);
  }
  return true;
}

}  // namespace platform

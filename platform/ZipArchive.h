#pragma once
// The zip archive object: password-protected archives of one or a few files,
// on libzip. New entries are deflated and encrypted with AES-256 when a
// password is set (7-Zip, WinZip and libzip read them); reading also accepts
// the classic ZipCrypto entries that "zip -P" and "7z a -p" write.
//
//   platform::ZipArchive zip;
//   zip.SetPassword(password);
//   zip.Create(path);  zip.AddFile(file, 9);  zip.Close();
//   zip.Open(path);    zip.ExtractEntry(0, folder, "new.name", limit);  zip.Close();
//
// Archives come from other PCs, so extraction trusts nothing in them:
// - an entry whose stored name is not a plain file name (a folder part,
//   "\" or "/", "..", a drive, control characters) is never written;
// - the target name is checked the same way;
// - an entry whose uncompressed size is above the caller's limit is refused
//   before anything is written, and a stream that grows past it is cut off;
// - data go to a temporary file beside the target that replaces the target
//   only when the entry has been read whole with a good checksum, so a damaged
//   archive, a wrong password or a missing entry leaves no extracted file.
//
// Failures return false and leave a reason in LastError(); nothing throws.
// Qt-free header.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class ZipArchive {
 public:
  ZipArchive();
  ~ZipArchive();  // an archive still open is discarded, not written
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Applies to entries added and read afterwards; empty: no encryption.
  void SetPassword(const std::string& password);

  // A new archive at path; an existing file there is replaced when Close
  // writes the new one.
  bool Create(const std::string& path);
  // An existing archive, read only.
  bool Open(const std::string& path);

  // Adds a file under its bare name, deflated at level (1-9); an entry of the
  // same name is replaced. The file is read when Close writes the archive.
  bool AddFile(const std::string& filePath, int level);

  int64_t EntryCount() const;  // -1 when no archive is open
  // The stored name of entry index, exactly as stored ("" when out of range).
  std::string EntryName(int64_t index) const;

  // Writes entry index into folder under newName (replacing a file there).
  bool ExtractEntry(int64_t index, const std::string& folder, const std::string& newName,
                    uint64_t maxSize);
  // Writes the entry stored exactly as name into folder under that name.
  bool ExtractNamedEntry(const std::string& name, const std::string& folder, uint64_t maxSize);
  // Writes every entry into folder under its own name. All or nothing: an
  // archive holding any entry that may not be written (unsafe name, over the
  // limit, unreadable) writes none. maxSize bounds the entries together.
  bool ExtractAll(const std::string& folder, uint64_t maxSize);

  // Writes a created archive (false when that fails: no archive is left) and
  // releases an opened one. Closing nothing is fine.
  bool Close();

  const std::string& LastError() const { return error_; }

 private:
  bool Fail(const std::string& reason);
  bool OpenWith(const std::string& path, bool writing);
  // The entry's stored name may be written and its size is at most maxSize.
  bool CheckEntry(int64_t index, uint64_t maxSize, uint64_t& size);
  struct State;
  std::unique_ptr<State> state_;
  std::string password_;
  std::string error_;
};

}  // namespace platform

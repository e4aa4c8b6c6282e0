// The record's RTF reader and writer: whatever the reader makes of any text
// is a document the writer keeps exactly, and the written RTF never holds the
// double quote the game file keeps the record between.
#include "fuzz/FuzzKit.h"
#include "platform/RichText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using platform::RichTextDocument;
  const RichTextDocument read = RichTextDocument::FromRtf(fuzzkit::Bytes(data, size));
  const std::string written = read.ToRtf();
  fuzzkit::Check(written.find('"') == std::string::npos, "written RTF holds no double quote");
  fuzzkit::Check(RichTextDocument::FromRtf(written) == read, "write then read gives the same document");
  return 0;
}

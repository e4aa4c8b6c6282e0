#pragma once
// The progress animation of a transfer, shown in a label of a window:
// "websend" while uploading, "ftpdownload" while fetching or listing, taken
// from Common/avi/ beside the program folder. It moves whenever the message
// loop runs, which every transfer lets it do.
#include <QPointer>
#include <string>

class QLabel;
class QMovie;

namespace app {

class ProgressAnimation {
 public:
  explicit ProgressAnimation(QLabel* target) : target_(target) {}
  ~ProgressAnimation();
  ProgressAnimation(const ProgressAnimation&) = delete;
  ProgressAnimation& operator=(const ProgressAnimation&) = delete;

  // Opens the named animation, shows the label and plays it.
  void Start(const std::string& name);
  // Hides the label and stops the animation.
  void Stop();
  bool Running() const;

  static std::string FilePath(const std::string& name);

 private:
  QPointer<QLabel> target_;
  QPointer<QMovie> movie_;
};

}  // namespace app

#pragma once
// The progress animation shown in a label of a window: opened from a file,
// played, stopped. The animations are installed as animated GIF pictures; a
// request for an ".avi" file takes the ".gif" of the same name beside it.
#include <string>

class QLabel;

namespace app {

// Loads the animation into the label (not yet playing); false, with the
// label as it was, when the file cannot be read.
bool OpenAnimation(QLabel* control, const std::string& path);
void PlayAnimation(QLabel* control);
void StopAnimation(QLabel* control);
bool AnimationPlaying(const QLabel* control);

// A transfer's progress animation ("websend" while uploading, "ftpdownload"
// while fetching or listing, from Common/avi/): opened, shown and played;
// then hidden and stopped. It moves while the transfer lets the message loop run.
void StartTransferAnimation(QLabel* control, const std::string& name);
void StopTransferAnimation(QLabel* control);

}  // namespace app

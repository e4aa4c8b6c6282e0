#pragma once
// The splash window shown for about three seconds while the program starts:
// who it is licensed to, how often it was started, the version and a
// progress bar.
#include <QWidget>

class QLabel;
class QProgressBar;

namespace app {

class frmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit frmSplash(QWidget* parent = nullptr);

  // Runs the whole splash period before it returns.
  void Form_Load();

  // The splash period in seconds (three; tests shorten it).
  static void SetDurationSeconds(int seconds);
  static int DurationSeconds();

  QLabel* lblUserID = nullptr;
  QLabel* lblCompanyID = nullptr;
  QLabel* lblUseCounter = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblVersion2 = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblTitel2 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;

 private:
  void WaitOutPeriod();
};

}  // namespace app

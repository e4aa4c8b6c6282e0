#pragma once
// The about box: the program's name and version, the maker's home page and
// a button that closes it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* owner);

  void form_load();
  void cmdCancel_Click();
  void lblHomepage_Click();

  QLabel* lblVersion = nullptr;
  QLabel* lblHomepage = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace app

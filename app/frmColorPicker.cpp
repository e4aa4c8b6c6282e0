#include "app/frmColorPicker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace app {

namespace {

// The swatches as they stand on the picker, five rows of eight: each entry
// is the swatch's index and its colour (&HBBGGRR).
struct Swatch {
  int index;
  int32_t color;
};
constexpr Swatch kPaletteRows[5][8] = {
    {{0, 0x000000}, {9, 0x000080}, {14, 0x004080}, {19, 0x008080}, {24, 0x008000}, {29, 0x808000}, {34, 0x800000},
     {39, 0x800080}},
    {{2, 0x808080}, {8, 0x0000C0}, {13, 0x0040C0}, {18, 0x00C0C0}, {23, 0x00C000}, {28, 0xC0C000}, {33, 0xC00000},
     {38, 0xC000C0}},
    {{3, 0xC0C0C0}, {7, 0x0000FF}, {12, 0x0080FF}, {17, 0x00FFFF}, {22, 0x00FF00}, {27, 0xFFFF00}, {32, 0xFF0000},
     {37, 0xFF00FF}},
    {{4, 0xE0E0E0}, {6, 0x8080FF}, {11, 0x80C0FF}, {16, 0x80FFFF}, {21, 0x80FF80}, {26, 0xFFFF80}, {31, 0xFF8080},
     {36, 0xFF80FF}},
    {{5, 0xFFFFFF}, {1, 0xC0C0FF}, {10, 0xC0E0FF}, {15, 0xC0FFFF}, {20, 0xC0FFC0}, {25, 0xFFFFC0}, {30, 0xFFC0C0},
     {35, 0xFFC0FF}},
};

constexpr int kChartWidth = 256;
constexpr int kChartHeight = 128;
constexpr int kGreyColumns = 16;

// Hues from left to right, light at the top to dark at the bottom; a grey
// ramp at the right edge so that every shade of grey can be picked too.
QImage ColorChart() {
  QImage chart(kChartWidth, kChartHeight, QImage::Format_RGB32);
  const int hues = kChartWidth - kGreyColumns;
  for (int y = 0; y < kChartHeight; ++y) {
    const double lightness = 1.0 - (y + 0.5) / kChartHeight;
    for (int x = 0; x < kChartWidth; ++x) {
      QColor c = x < hues ? QColor::fromHslF(static_cast<float>(x) / hues, 1.0f, static_cast<float>(lightness))
                          : QColor::fromRgbF(static_cast<float>(lightness), static_cast<float>(lightness),
                                             static_cast<float>(lightness));
      chart.setPixel(x, y, c.rgb());
    }
  }
  return chart;
}

PictureBox* ColourBox(QWidget* parent, const QString& name, int w, int h) {
  auto* box = new PictureBox(parent);
  box->setObjectName(name);
  box->setFixedSize(w, h);
  box->setCursor(Qt::PointingHandCursor);
  return box;
}

}  // namespace

frmColorPicker::frmColorPicker(QWidget* owner, int32_t& pickedColor) : QDialog(owner), picked_(pickedColor) {
  setObjectName(QStringLiteral("frmColorPicker"));
  setWindowTitle(QStringLiteral("z.v.k Color Picker"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(QStringLiteral("Click on the color to select ..."), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(Label1);

  auto* top = new QHBoxLayout;
  auto* palette = new QGridLayout;
  palette->setSpacing(3);
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 8; ++column) {
      const Swatch& s = kPaletteRows[row][column];
      PictureBox* box = ColourBox(this, QStringLiteral("MiniPicker(%1)").arg(s.index), 18, 18);
      box->setBackColor(FromBgr(s.color));
      MiniPicker[static_cast<size_t>(s.index)] = box;
      palette->addWidget(box, row, column);
      const int index = s.index;
      connect(box, &PictureBox::mouseMove, this, [this, index] { MiniPicker_MouseMove(index); });
      connect(box, &PictureBox::clicked, this, [this, index] { MiniPicker_Click(index); });
    }
  top->addLayout(palette);

  auto* previews = new QVBoxLayout;
  CurColor = ColourBox(this, QStringLiteral("CurColor"), 64, 32);
  CurColorOld = ColourBox(this, QStringLiteral("CurColorOld"), 64, 32);
  CurColor->setToolTip(QStringLiteral("Take this color"));
  CurColorOld->setToolTip(QStringLiteral("Keep the old color"));
  txtColorCode = new QLineEdit(this);
  txtColorCode->setObjectName(QStringLiteral("txtColorCode"));
  txtColorCode->setMaximumWidth(96);
  previews->addWidget(CurColor);
  previews->addWidget(CurColorOld);
  previews->addWidget(txtColorCode);
  previews->addStretch(1);
  top->addLayout(previews);
  layout->addLayout(top);

  Picker = ColourBox(this, QStringLiteral("Picker"), kChartWidth, kChartHeight);
  Picker->setCursor(Qt::CrossCursor);
  Picker->setPicture(ColorChart());
  layout->addWidget(Picker, 0, Qt::AlignHCenter);

  connect(Picker, &PictureBox::mouseMove, this, [this](int, int, double x, double y) { Picker_MouseMove(x, y); });
  connect(Picker, &PictureBox::clicked, this, [this] { Picker_Click(); });
  connect(CurColor, &PictureBox::clicked, this, [this] { CurColor_Click(); });
  connect(CurColorOld, &PictureBox::clicked, this, [this] { CurColorOld_Click(); });
  connect(txtColorCode, &QLineEdit::textChanged, this, [this] { txtColorCode_Change(); });
  Form_Load();
}

int32_t frmColorPicker::PaletteColor(int index) {
  for (const auto& row : kPaletteRows)
    for (const Swatch& s : row)
      if (s.index == index) return s.color;
  return 0;
}

std::optional<int32_t> frmColorPicker::ParseColorCode(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok, 10);
  if (!ok || value < 0 || value > 0xFFFFFF) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t frmColorPicker::CurrentColor() const { return ToBgr(CurColor->backColor()); }

void frmColorPicker::Preview(int32_t bgr, bool showCode) {
  CurColor->setBackColor(FromBgr(bgr));
  if (showCode) txtColorCode->setText(QString::number(bgr));
}

void frmColorPicker::Form_Load() {
  CurColorOld->setBackColor(FromBgr(picked_));
  Preview(picked_, true);
}

void frmColorPicker::MiniPicker_MouseMove(int index) { Preview(PaletteColor(index), true); }

void frmColorPicker::MiniPicker_Click(int) { ApplyColor(); }

void frmColorPicker::Picker_MouseMove(double x, double y) {
  const QImage& chart = Picker->picture();
  const int px = static_cast<int>(x), py = static_cast<int>(y);
  // A drag may report points beyond the chart's edge.
  if (!chart.valid(px, py)) return;
  Preview(ToBgr(QColor(chart.pixel(px, py))), true);
}

void frmColorPicker::Picker_Click() { ApplyColor(); }

void frmColorPicker::CurColor_Click() { ApplyColor(); }

void frmColorPicker::CurColorOld_Click() {
  CurColor->setBackColor(CurColorOld->backColor());
  ApplyColor();
}

void frmColorPicker::txtColorCode_Change() {
  // A half-typed or mistyped code keeps the last colour in the preview.
  if (const std::optional<int32_t> color = ParseColorCode(txtColorCode->text())) Preview(*color, false);
}

void frmColorPicker::ApplyColor() {
  picked_ = CurrentColor();
  accept();
}

}  // namespace app

#pragma once
// A board view for tests: plain-coloured pictures whose every pixel is known,
// a background that can be made to fail, and a record of shown frames.
#include <QImage>
#include <functional>
#include <vector>

#include "board/BoardView.h"

namespace boardtest {

// The shape every test mask draws: a square in the middle of the picture.
inline bool InShape(int x, int y) { return x >= 12 && x < 36 && y >= 12 && y < 36; }

inline QRgb SpriteColour(int picture) {
  // Distinct colours per picture number, none of them white.
  return qRgb(20 + picture * 10, 200 - picture * 10, (picture * 37) % 200);
}

inline QRgb Blend(QRgb marker, QRgb under) {
  auto mix = [](int s, int d) { return (s * 128 + d * 127 + 127) / 255; };
  return qRgb(mix(qRed(marker), qRed(under)), mix(qGreen(marker), qGreen(under)), mix(qBlue(marker), qBlue(under)));
}

// Installed as the board view for its lifetime.
class FakeBoardView : public ZVK_Board_Sub::OwnedBoardView {
 public:
  static constexpr QRgb kBackground = qRgb(100, 120, 140);
  static constexpr QRgb kPickedMarker = qRgb(0, 200, 0);
  static constexpr QRgb kDangerMarker = qRgb(200, 0, 0);
  static constexpr QRgb kMoveMarker = qRgb(0, 0, 200);

  FakeBoardView() {
    for (int p : {1, 2, 3, 4, 5, 6, 11, 12, 13, 14, 15, 16}) pictures.picPiece[size_t(p)] = Shape(SpriteColour(p));
    for (int mask = 21; mask <= 26; ++mask) pictures.picPiece[size_t(mask)] = Shape(qRgb(0, 0, 0));
    const QRgb markers[3] = {kPickedMarker, kDangerMarker, kMoveMarker};
    for (int i = 0; i < 3; ++i) {
      QImage image(i == 0 ? 50 : 48, i == 0 ? 50 : 48, QImage::Format_RGB32);  // the picked marker is stored larger
      image.fill(markers[i]);
      pictures.picEffector[size_t(i)] = image;
    }
    ZVK_Board_Sub::SetBoardView(this);
  }
  ~FakeBoardView() override { ZVK_Board_Sub::SetBoardView(nullptr); }
  FakeBoardView(const FakeBoardView&) = delete;
  FakeBoardView& operator=(const FakeBoardView&) = delete;

  // A 48 x 48 picture: `colour` inside the shape, white around it.
  static QImage Shape(QRgb colour) {
    QImage image(48, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) image.setPixel(x, y, InShape(x, y) ? colour : qRgb(255, 255, 255));
    return image;
  }

  bool Reset_Backgroud_BordPattern(QImage& target) override {
    ++backgroundLoads;
    if (backgroundFails) return false;
    target = QImage(384, 384, QImage::Format_RGB32);
    target.fill(kBackground);
    return true;
  }

  void RefreshFrontBuffer() override {
    ++refreshCount;
    if (onRefresh) onRefresh(frontBuffer);
  }

  bool backgroundFails = false;
  int backgroundLoads = 0;
  std::function<void(const QImage&)> onRefresh;
};

}  // namespace boardtest

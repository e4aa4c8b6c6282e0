#pragma once
// What the board tests share: positions written as text, a fixture that starts
// from the upright empty board in a program tree of its own, and a board view
// whose pictures are plain colours with every pixel known.
#include <gtest/gtest.h>

#include <QImage>
#include <ostream>
#include <string>
#include <vector>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "tests/main/TestSupport.h"

namespace boardtest {

// A letter's position in this string is its picture number.
inline const std::string kLetters = ".rnbqkp....RNBQKP";

// Eight rows of eight letters, top row first, '/' between rows: upper case
// White (K Q R B N P), lower case Black, '.' empty.
inline ZVK_Board_Sub::ViewBoard Diagram(const std::string& text) {
  ZVK_Board_Sub::ViewBoard board;
  EXPECT_EQ(text.size(), 71u) << text;
  for (size_t i = 0; i < text.size() && i < 71; ++i) {
    const size_t picture = kLetters.find(text[i]);
    if (i % 9 < 8) board(int(i % 9), int(i / 9)) = picture == std::string::npos ? 0 : uint8_t(picture);
  }
  return board;
}

// A result in the program's -1 / 0 flag convention.
inline int16_t Flag(bool value) { return value ? ZVK_Globals::kTrue : ZVK_Globals::kFalse; }

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    ZVK_Globals::gBoardSide = 1;
    using namespace ZVK_Board_Sub;
    gPieceSelected = gFromX = gFromY = gToX = gToY = 0;
    gViewBoard = {};
  }
  testsupport::ProgramTree tree_;  // errors are logged into it
};

// Distinct colours per picture number, none of them white.
inline QRgb SpriteColour(int picture) { return qRgb(20 + picture * 10, 200 - picture * 10, (picture * 37) % 200); }

inline QRgb Blend(QRgb marker, QRgb under) {
  auto mix = [](int s, int d) { return (s * 128 + d * 127 + 127) / 255; };
  return qRgb(mix(qRed(marker), qRed(under)), mix(qGreen(marker), qGreen(under)), mix(qBlue(marker), qBlue(under)));
}

// Installed as the board view for its lifetime.
class FakeBoardView : public ZVK_Board_Sub::OwnedBoardView {
 public:
  static constexpr QRgb kBackground = qRgb(100, 120, 140), kPickedMarker = qRgb(0, 200, 0);
  static constexpr QRgb kDangerMarker = qRgb(200, 0, 0), kMoveMarker = qRgb(0, 0, 200);

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

  // A 48 x 48 picture: `colour` in the square 12..35 in the middle, white around it.
  static QImage Shape(QRgb colour) {
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    for (int y = 12; y < 36; ++y)
      for (int x = 12; x < 36; ++x) image.setPixel(x, y, colour);
    return image;
  }

  bool Reset_Backgroud_BordPattern(QImage& target) override {
    target = QImage(384, 384, QImage::Format_RGB32);
    target.fill(kBackground);
    return true;
  }
  void RefreshFrontBuffer() override {
    ++refreshCount;
    frames.push_back(frontBuffer);
  }

  std::vector<QImage> frames;  // every image shown, for the sliding piece
};

}  // namespace boardtest

namespace ZVK_Board_Sub {
// Failed comparisons of boards print them as diagrams.
inline void PrintTo(const ViewBoard& board, std::ostream* os) {
  for (int i = 0; i < 64; ++i) {
    const uint8_t p = board.squares[size_t(i)];
    *os << (i % 8 ? "" : "\n") << (p < 17 ? boardtest::kLetters[p] : '?');
  }
}
}  // namespace ZVK_Board_Sub

// make_pictures: draws the pictures the board needs.
//
//   make_pictures <assets/Castellan folder> [font file]
//
// pieces/picPiece_<n>.png  sprites 1..6 (Black) and 11..16 (White) and masks
//                          21..26, 48 x 48, from the chess glyphs of a free
//                          font (DejaVu Sans by default). A sprite shows the
//                          piece on a white ground, its mask the piece's shape
//                          in black on white.
// pieces/picEffector_<n>.png  the three square markers, shaded around fixed
//                          mean colours.
// board/<name>.JPG         board pictures, 384 x 384, light square top left.
//
// Output is deterministic apart from the JPEG coder.
#include <QColor>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSquare = 48;
constexpr int kBoard = 8 * kSquare;

// Glyph offsets from U+2654 (white king) in the order king, queen, rook,
// bishop, knight, pawn; the black glyphs follow six code points later.
int GlyphOffset(int kind) {
  switch (kind) {
    case 1: return 2;  // rook
    case 2: return 4;  // knight
    case 3: return 3;  // bishop
    case 4: return 1;  // queen
    case 5: return 0;  // king
    default: return 5; // pawn
  }
}

QPainterPath GlyphPath(const QFont& font, char32_t codePoint) {
  QPainterPath path;
  path.addText(0, 0, font, QString::fromUcs4(&codePoint, 1));
  return path;
}

// One scale for every piece, so that the king stays the tallest.
struct Placement {
  double scale = 1;
  double baseline = 0;
};

QTransform PlaceGlyph(const QPainterPath& outline, const Placement& placement) {
  const QRectF box = outline.boundingRect();
  QTransform transform;
  transform.translate(kSquare / 2.0, placement.baseline);
  transform.scale(placement.scale, placement.scale);
  transform.translate(-box.center().x(), -box.bottom());
  return transform;
}

QImage Coverage(const QPainterPath& path) {
  QImage image(kSquare, kSquare, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(path, Qt::black);
  return image;
}

// The piece's shape: every pixel the glyphs touch, plus everything they
// enclose (found as what a fill from the border cannot reach).
std::vector<bool> Shape(const QImage& ink) {
  std::vector<bool> outside(kSquare * kSquare, false);
  std::vector<int> stack;
  auto inked = [&](int x, int y) { return qAlpha(ink.pixel(x, y)) > 0; };
  for (int i = 0; i < kSquare; ++i) {
    for (int p : {i, i + (kSquare - 1) * kSquare, i * kSquare, i * kSquare + kSquare - 1}) stack.push_back(p);
  }
  while (!stack.empty()) {
    const int p = stack.back();
    stack.pop_back();
    const int x = p % kSquare, y = p / kSquare;
    if (outside[p] || inked(x, y)) continue;
    outside[p] = true;
    if (x > 0) stack.push_back(p - 1);
    if (x < kSquare - 1) stack.push_back(p + 1);
    if (y > 0) stack.push_back(p - kSquare);
    if (y < kSquare - 1) stack.push_back(p + kSquare);
  }
  std::vector<bool> shape(outside.size());
  for (size_t i = 0; i < shape.size(); ++i) shape[i] = !outside[i];
  return shape;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
  if (!image.save(path, format, quality)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

bool MakePieces(const QFont& font, const QString& folder) {
  Placement placement;
  double tallest = 0;
  for (int offset = 0; offset < 12; ++offset)
    tallest = std::max(tallest, GlyphPath(font, U'\u2654' + offset).boundingRect().height());
  placement.scale = 42.0 / tallest;
  placement.baseline = 45.0;

  bool ok = true;
  for (int kind = 1; kind <= 6; ++kind) {
    const QPainterPath whiteRaw = GlyphPath(font, U'\u2654' + GlyphOffset(kind));
    const QPainterPath blackRaw = GlyphPath(font, U'\u265A' + GlyphOffset(kind));
    const QPainterPath whiteGlyph = PlaceGlyph(whiteRaw, placement).map(whiteRaw);
    const QPainterPath blackGlyph = PlaceGlyph(blackRaw, placement).map(blackRaw);

    QImage ink = Coverage(whiteGlyph);
    {
      QPainter painter(&ink);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.fillPath(blackGlyph, Qt::black);
    }
    const std::vector<bool> shape = Shape(ink);

    QImage mask(kSquare, kSquare, QImage::Format_RGB32);
    for (int y = 0; y < kSquare; ++y)
      for (int x = 0; x < kSquare; ++x) mask.setPixel(x, y, shape[y * kSquare + x] ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

    // White piece: an ivory body inside the shape, the glyph's lines in black.
    QImage white(kSquare, kSquare, QImage::Format_RGB32);
    white.fill(Qt::white);
    for (int y = 0; y < kSquare; ++y)
      for (int x = 0; x < kSquare; ++x)
        if (shape[y * kSquare + x]) white.setPixel(x, y, qRgb(250, 246, 234));
    {
      QPainter painter(&white);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.fillPath(whiteGlyph, QColor(0, 0, 0));
    }
    // Black piece: the filled glyph, its cut-out details left light.
    QImage black(kSquare, kSquare, QImage::Format_RGB32);
    black.fill(Qt::white);
    for (int y = 0; y < kSquare; ++y)
      for (int x = 0; x < kSquare; ++x)
        if (shape[y * kSquare + x]) black.setPixel(x, y, qRgb(214, 210, 200));
    {
      QPainter painter(&black);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.fillPath(blackGlyph, QColor(28, 28, 30));
      painter.strokePath(whiteGlyph, QPen(QColor(0, 0, 0), 0.6));
    }
    // Outside the shape a sprite must stay pure white, or it would darken the square.
    for (QImage* sprite : {&white, &black})
      for (int y = 0; y < kSquare; ++y)
        for (int x = 0; x < kSquare; ++x)
          if (!shape[y * kSquare + x]) sprite->setPixel(x, y, qRgb(255, 255, 255));

    ok &= Save(black, folder + QStringLiteral("/picPiece_%1.png").arg(kind), "PNG");
    ok &= Save(white, folder + QStringLiteral("/picPiece_%1.png").arg(10 + kind), "PNG");
    ok &= Save(mask, folder + QStringLiteral("/picPiece_%1.png").arg(20 + kind), "PNG");
  }
  return ok;
}

// A marker shaded from a lighter middle to darker corners, then shifted so
// that its mean colour is the wanted one.
QImage Marker(int size, QColor mean) {
  std::vector<double> shade(size * size);
  const double c = (size - 1) / 2.0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x - c, y - c) / std::hypot(c, c);
      shade[y * size + x] = 1.18 - 0.36 * d;
    }
  QImage image(size, size, QImage::Format_RGB32);
  const int target[3] = {mean.red(), mean.green(), mean.blue()};
  int channel[3][64 * 64];
  for (int k = 0; k < 3; ++k) {
    double offset = 0;
    for (int round = 0; round < 20; ++round) {
      double sum = 0;
      for (int i = 0; i < size * size; ++i) {
        channel[k][i] = std::clamp(static_cast<int>(std::lround(target[k] * shade[i] + offset)), 0, 255);
        sum += channel[k][i];
      }
      const double error = target[k] - sum / (size * size);
      if (std::fabs(error) < 0.25) break;
      offset += error;
    }
  }
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int i = y * size + x;
      image.setPixel(x, y, qRgb(channel[0][i], channel[1][i], channel[2][i]));
    }
  return image;
}

bool MakeMarkers(const QString& folder) {
  bool ok = Save(Marker(50, QColor(61, 124, 61)), folder + "/picEffector_0.png", "PNG");
  ok &= Save(Marker(48, QColor(204, 0, 0)), folder + "/picEffector_1.png", "PNG");
  ok &= Save(Marker(48, QColor(94, 135, 97)), folder + "/picEffector_2.png", "PNG");
  return ok;
}

using Texture = std::function<double(int x, int y)>;  // -1..1 around the square's colour

// Smooth value noise on a grid of `cell` pixels.
struct Noise {
  explicit Noise(quint32 seed) {
    QRandomGenerator random(seed);
    for (double& v : values) v = random.generateDouble() * 2 - 1;
  }
  double at(double x, double y) const {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    auto v = [&](int i, int j) { return values[((i & 63) * 64 + (j & 63))]; };
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double a = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * smooth(fx);
    const double b = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * smooth(fx);
    return a + (b - a) * smooth(fy);
  }
  double values[64 * 64];
};

QImage Board(QColor light, QColor dark, const Texture& texture, double strength) {
  QImage image(kBoard, kBoard, QImage::Format_RGB32);
  for (int y = 0; y < kBoard; ++y)
    for (int x = 0; x < kBoard; ++x) {
      const bool isLight = ((x / kSquare) + (y / kSquare)) % 2 == 0;
      const QColor base = isLight ? light : dark;
      const double t = texture(x, y) * strength;
      auto ch = [&](int v) { return std::clamp(static_cast<int>(std::lround(v * (1 + t))), 0, 255); };
      image.setPixel(x, y, qRgb(ch(base.red()), ch(base.green()), ch(base.blue())));
    }
  return image;
}

bool MakeBoards(const QString& folder) {
  const Noise grain(1066), veins(1215), cloth(1485);
  const Texture wood = [&](int x, int y) {
    // Grain runs along each square, turned a quarter on alternate squares.
    const bool across = ((x / kSquare) + (y / kSquare)) % 2 == 0;
    const double u = across ? x : y, v = across ? y : x;
    return 0.6 * std::sin(v * 0.35 + 4 * grain.at(u / 40.0, v / 9.0)) + 0.4 * grain.at(u / 3.0, v / 3.0);
  };
  const Texture marble = [&](int x, int y) {
    double turbulence = 0, scale = 1;
    for (int octave = 0; octave < 4; ++octave, scale *= 2) turbulence += std::fabs(veins.at(x * scale / 60.0, y * scale / 60.0)) / scale;
    return 0.5 * std::sin((x + y) * 0.03 + 6 * turbulence) - 0.3;
  };
  const Texture felt = [&](int x, int y) { return cloth.at(x / 2.0, y / 2.0) * 0.6 + cloth.at(x / 24.0, y / 24.0) * 0.4; };
  bool ok = Save(Board(QColor(236, 210, 166), QColor(165, 117, 76), wood, 0.08), folder + "/Classic.JPG", "JPG", 92);
  ok &= Save(Board(QColor(236, 236, 230), QColor(128, 134, 142), marble, 0.12), folder + "/Marble.JPG", "JPG", 92);
  ok &= Save(Board(QColor(238, 238, 212), QColor(112, 148, 84), felt, 0.05), folder + "/Green.JPG", "JPG", 92);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_pictures <assets/Castellan folder> [font file]\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QString fontFile =
      argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  const int id = QFontDatabase::addApplicationFont(fontFile);
  if (id < 0) {
    std::fprintf(stderr, "cannot load the font %s\n", qPrintable(fontFile));
    return 1;
  }
  QFont font(QFontDatabase::applicationFontFamilies(id).value(0));
  font.setPixelSize(200);

  QDir().mkpath(root + "/pieces");
  QDir().mkpath(root + "/board");
  const bool ok = MakePieces(font, root + "/pieces") && MakeMarkers(root + "/pieces") && MakeBoards(root + "/board");
  return ok ? 0 : 1;
}

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
// ../Common/avi/websend.gif, ftpdownload.gif
//                          the transfer progress animations: a sheet that
//                          travels from the PC to the server (send) or back
//                          (download), looping GIFs of 16 frames.
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
#include <cstdint>
#include <cstdio>
#include <functional>
#include <unordered_map>
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


// ---------------------------------------------------------------------------
// Progress animations. Qt reads GIF but does not write it, so the few lines
// of a GIF writer live here: a fixed 256-colour palette and LZW coding.

constexpr int kAnimWidth = 180;
constexpr int kAnimHeight = 48;
constexpr int kAnimFrames = 16;
constexpr int kAnimDelay = 8;  // hundredths of a second per frame

QVector<QRgb> Palette() {
  QVector<QRgb> colors;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) colors.push_back(qRgb(r * 51, g * 51, b * 51));
  for (int i = 0; colors.size() < 256; ++i) colors.push_back(qRgb(i * 6 + 8, i * 6 + 8, i * 6 + 8));
  return colors;
}

class BitWriter {
 public:
  void Write(uint32_t code, int bits) {
    buffer_ |= code << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes.push_back(static_cast<uint8_t>(buffer_ & 0xff));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) bytes.push_back(static_cast<uint8_t>(buffer_ & 0xff));
    buffer_ = 0;
    count_ = 0;
  }
  std::vector<uint8_t> bytes;

 private:
  uint32_t buffer_ = 0;
  int count_ = 0;
};

// LZW codes of 8-bit pixel indices, as GIF decoders expect them: the code
// size grows when the table passes a power of two and the table starts over
// when it is full.
std::vector<uint8_t> LzwCode(const std::vector<uint8_t>& pixels) {
  constexpr uint32_t kClear = 256, kEnd = 257;
  BitWriter out;
  std::unordered_map<uint32_t, uint32_t> table;
  int codeSize = 9;
  uint32_t maxCode = kEnd;
  out.Write(kClear, codeSize);
  uint32_t current = pixels.front();
  for (size_t i = 1; i < pixels.size(); ++i) {
    const uint32_t key = (current << 8) | pixels[i];
    if (const auto found = table.find(key); found != table.end()) {
      current = found->second;
      continue;
    }
    out.Write(current, codeSize);
    table[key] = ++maxCode;
    if (maxCode >= (1u << codeSize)) ++codeSize;
    if (maxCode == 4095) {
      out.Write(kClear, codeSize);
      table.clear();
      codeSize = 9;
      maxCode = kEnd;
    }
    current = pixels[i];
  }
  out.Write(current, codeSize);
  out.Write(kClear, codeSize);
  out.Write(kEnd, 9);
  out.Flush();
  return out.bytes;
}

bool SaveGif(const std::vector<QImage>& frames, const QString& path) {
  const QVector<QRgb> palette = Palette();
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
  auto word = [&](int v) {
    gif.push_back(static_cast<uint8_t>(v & 0xff));
    gif.push_back(static_cast<uint8_t>(v >> 8));
  };
  word(kAnimWidth);
  word(kAnimHeight);
  gif.insert(gif.end(), {0xF7, 0, 0});  // global palette of 256 colours
  for (QRgb c : palette) gif.insert(gif.end(), {uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
  const char loop[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00";  // repeat for ever
  gif.insert(gif.end(), loop, loop + sizeof loop - 1);
  for (const QImage& frame : frames) {
    gif.insert(gif.end(), {0x21, 0xF9, 0x04, 0x00});
    word(kAnimDelay);
    gif.insert(gif.end(), {0x00, 0x00, 0x2C});
    word(0);
    word(0);
    word(kAnimWidth);
    word(kAnimHeight);
    gif.insert(gif.end(), {0x00, 0x08});
    const QImage indexed = frame.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    std::vector<uint8_t> pixels;
    for (int y = 0; y < kAnimHeight; ++y) {
      const uchar* line = indexed.constScanLine(y);
      pixels.insert(pixels.end(), line, line + kAnimWidth);
    }
    const std::vector<uint8_t> data = LzwCode(pixels);
    for (size_t i = 0; i < data.size(); i += 255) {
      const size_t n = std::min<size_t>(255, data.size() - i);
      gif.push_back(static_cast<uint8_t>(n));
      gif.insert(gif.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
    }
    gif.push_back(0);
  }
  gif.push_back(0x3B);
  FILE* file = std::fopen(qPrintable(path), "wb");
  if (file == nullptr || std::fwrite(gif.data(), 1, gif.size(), file) != gif.size()) {
    if (file != nullptr) std::fclose(file);
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return std::fclose(file) == 0;
}

void DrawComputer(QPainter& p, QPointF at) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(QColor(200, 200, 200));
  p.drawRoundedRect(QRectF(at.x(), at.y(), 36, 26), 3, 3);
  p.setBrush(QColor(51, 102, 153));
  p.drawRect(QRectF(at.x() + 4, at.y() + 4, 28, 18));
  p.setBrush(QColor(160, 160, 160));
  p.drawRect(QRectF(at.x() + 12, at.y() + 27, 12, 4));
  p.drawRect(QRectF(at.x() + 6, at.y() + 31, 24, 4));
}

void DrawServer(QPainter& p, QPointF at) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(QColor(102, 102, 102));
    p.drawRoundedRect(QRectF(at.x(), at.y() + i * 12, 30, 10), 2, 2);
    p.setBrush(i == 1 ? QColor(0, 204, 0) : QColor(255, 204, 0));
    p.drawEllipse(QRectF(at.x() + 22, at.y() + i * 12 + 3, 4, 4));
  }
}

void DrawSheet(QPainter& p, QPointF centre) {
  QPainterPath sheet;
  const double x = centre.x() - 8, y = centre.y() - 10;
  sheet.moveTo(x, y);
  sheet.lineTo(x + 11, y);
  sheet.lineTo(x + 16, y + 5);
  sheet.lineTo(x + 16, y + 20);
  sheet.lineTo(x, y + 20);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(51, 51, 51), 1.5));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.setPen(QPen(QColor(153, 153, 153), 1));
  for (int i = 0; i < 3; ++i) p.drawLine(QPointF(x + 3, y + 8 + i * 4), QPointF(x + 13, y + 8 + i * 4));
}

// A sheet travels along a dotted line between the PC (left) and the server
// (right); uploads move right, downloads left.
std::vector<QImage> TransferFrames(bool upload) {
  std::vector<QImage> frames;
  const double left = 48, right = 132;
  for (int f = 0; f < kAnimFrames; ++f) {
    QImage image(kAnimWidth, kAnimHeight, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawComputer(p, QPointF(6, 6));
    DrawServer(p, QPointF(144, 6));
    p.setPen(QPen(upload ? QColor(0, 153, 51) : QColor(0, 102, 204), 2, Qt::DotLine));
    p.drawLine(QPointF(left, 24), QPointF(right, 24));
    const double t = static_cast<double>(f) / (kAnimFrames - 1);
    const double x = upload ? left + (right - left) * t : right - (right - left) * t;
    DrawSheet(p, QPointF(x, 24 - 6 * std::sin(t * M_PI)));
    p.end();
    frames.push_back(image);
  }
  return frames;
}

bool MakeAnimations(const QString& folder) {
  return SaveGif(TransferFrames(true), folder + "/websend.gif") &&
         SaveGif(TransferFrames(false), folder + "/ftpdownload.gif");
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
  const QString animations = root + "/../Common/avi";
  QDir().mkpath(animations);
  const bool ok = MakePieces(font, root + "/pieces") && MakeMarkers(root + "/pieces") &&
                  MakeBoards(root + "/board") && MakeAnimations(animations);
  return ok ? 0 : 1;
}

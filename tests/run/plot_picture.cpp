#include "tests/run/plot_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <array>
#include <fstream>
#include <unordered_set>

namespace tarvelin::plottest {

namespace {

unsigned bigEndian32(const unsigned char* bytes) {
  return (unsigned{bytes[0]} << 24) | (unsigned{bytes[1]} << 16) | (unsigned{bytes[2]} << 8) |
         unsigned{bytes[3]};
}

}  // namespace

std::optional<PngSize> pngSize(const std::filesystem::path& file) {
  // Signature (8), IHDR length (4), "IHDR" (4), width (4), height (4).
  std::array<unsigned char, 24> head{};
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return std::nullopt;
  static constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                              '\r', '\n', 0x1a, '\n'};
  for (size_t i = 0; i < kSignature.size(); ++i) {
    if (head[i] != kSignature[i]) return std::nullopt;
  }
  if (head[12] != 'I' || head[13] != 'H' || head[14] != 'D' || head[15] != 'R') return std::nullopt;
  return PngSize{bigEndian32(&head[16]), bigEndian32(&head[20])};
}

std::optional<PictureInk> pictureInk(const std::filesystem::path& file) {
  QImage image;
  if (!image.load(QString::fromStdString(file.string()), "PNG")) return std::nullopt;
  image = image.convertToFormat(QImage::Format_RGB32);
  std::unordered_set<QRgb> colours;
  long topInk = 0;
  long bottomInk = 0;
  const int half = image.height() / 2;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      colours.insert(row[x]);
      if (qRed(row[x]) < 250 || qGreen(row[x]) < 250 || qBlue(row[x]) < 250) {
        ++(y < half ? topInk : bottomInk);
      }
    }
  }
  const double halfArea = static_cast<double>(image.width()) * half;
  return PictureInk{static_cast<int>(colours.size()), topInk / halfArea,
                    bottomInk / (static_cast<double>(image.width()) * image.height() - halfArea)};
}

void expectPlotPicture(const std::filesystem::path& file) {
  const auto size = pngSize(file);
  ASSERT_TRUE(size.has_value()) << file << " is missing or no PNG file";
  EXPECT_EQ(size->width, kPlotWidth);
  EXPECT_EQ(size->height, kPlotHeight);
  const auto ink = pictureInk(file);
  ASSERT_TRUE(ink.has_value()) << file << " cannot be decoded";
  // Axes, text, markers and a model line in colour: far more than one or two colours.
  EXPECT_GT(ink->colours, 8);
  // Both plots drawn: each half carries axes, labels and curves.
  EXPECT_GT(ink->topInkShare, 0.01);
  EXPECT_GT(ink->bottomInkShare, 0.01);
}

}  // namespace tarvelin::plottest

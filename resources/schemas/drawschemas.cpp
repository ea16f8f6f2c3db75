// Draws the four schema pictures of the model variants as BMP files for the picture box
// (233 x 147): springs as zigzags, dampers as dashpots, labelled c1..c4 and k1..k4.
// Usage: tarvelin_drawschemas OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWidth = 233;
constexpr int kHeight = 147;
constexpr double kWallX = 14;  // the fixed support on the left
constexpr double kBarX = 206;  // the loaded end on the right

void label(QPainter& p, QPointF centre, const QString& text) {
  QRectF box(centre.x() - 12, centre.y() - 7, 24, 12);
  p.drawText(box, Qt::AlignCenter, text);
}

// A spring from a to b (same height): short leads, then a zigzag of six teeth.
void spring(QPainter& p, QPointF a, QPointF b, const QString& name) {
  const double lead = 5, amplitude = 4.5;
  const int teeth = 6;
  QPainterPath path(a);
  path.lineTo(a.x() + lead, a.y());
  double step = (b.x() - a.x() - 2 * lead) / (2 * teeth);
  for (int i = 0; i < 2 * teeth; ++i) {
    double x = a.x() + lead + step * (i + 0.5);
    path.lineTo(x, a.y() + ((i % 2) ? amplitude : -amplitude));
  }
  path.lineTo(b.x() - lead, a.y());
  path.lineTo(b);
  p.drawPath(path);
  label(p, {(a.x() + b.x()) / 2, a.y() - 10}, name);
}

// A dashpot from a to b: a cup open towards b and a piston whose rod runs to b.
void dashpot(QPainter& p, QPointF a, QPointF b, const QString& name) {
  const double cupLength = 20, cupHalf = 6;
  double mid = (a.x() + b.x()) / 2;
  double cupStart = mid - cupLength / 2, cupEnd = mid + cupLength / 2;
  p.drawLine(a, QPointF(cupStart, a.y()));
  p.drawLine(QPointF(cupStart, a.y() - cupHalf), QPointF(cupStart, a.y() + cupHalf));
  p.drawLine(QPointF(cupStart, a.y() - cupHalf), QPointF(cupEnd, a.y() - cupHalf));
  p.drawLine(QPointF(cupStart, a.y() + cupHalf), QPointF(cupEnd, a.y() + cupHalf));
  double piston = mid + 2;
  p.drawLine(QPointF(piston, a.y() - cupHalf + 2), QPointF(piston, a.y() + cupHalf - 2));
  p.drawLine(QPointF(piston, a.y()), b);
  label(p, {mid, a.y() - 11}, name);
}

void wall(QPainter& p, double x, double top, double bottom) {
  p.drawLine(QPointF(x, top), QPointF(x, bottom));
  for (double y = top + 2; y < bottom; y += 6) p.drawLine(QPointF(x, y), QPointF(x - 5, y + 5));
}

// The loaded end: a bar with the torque arrow leaving it.
void loadedBar(QPainter& p, double x, double top, double bottom) {
  p.drawLine(QPointF(x, top), QPointF(x, bottom));
  double y = (top + bottom) / 2;
  p.drawLine(QPointF(x, y), QPointF(x + 16, y));
  p.drawLine(QPointF(x + 16, y), QPointF(x + 11, y - 3));
  p.drawLine(QPointF(x + 16, y), QPointF(x + 11, y + 3));
}

// Maxwell elements (spring and dashpot in series) in parallel between the wall and the bar;
// with a spring of its own in parallel when extraSpring is set.
void maxwellParallel(QPainter& p, int elements, bool extraSpring) {
  int rows = elements + (extraSpring ? 1 : 0);
  double gap = rows == 3 ? 40 : 30;
  double first = (kHeight - gap * (rows - 1)) / 2 + 4;
  double top = first - 10, bottom = first + gap * (rows - 1) + 10;
  wall(p, kWallX, top, bottom);
  loadedBar(p, kBarX, top, bottom);
  double mid = (kWallX + kBarX) / 2;
  for (int i = 0; i < elements; ++i) {
    double y = first + gap * i;
    spring(p, {kWallX, y}, {mid, y}, QStringLiteral("c%1").arg(i + 1));
    dashpot(p, {mid, y}, {kBarX, y}, QStringLiteral("k%1").arg(i + 1));
  }
  if (extraSpring) {
    double y = first + gap * elements;
    spring(p, {kWallX, y}, {kBarX, y}, QStringLiteral("c%1").arg(elements + 1));
  }
}

// Kelvin elements (spring and dashpot in parallel) in series from the wall to the loaded end.
void kelvinSeries(QPainter& p, int elements) {
  double y = kHeight / 2.0 + 4;
  double branch = 14, lead = 6;
  double width = (kBarX - kWallX) / elements;
  wall(p, kWallX, y - 12, y + 12);
  for (int i = 0; i < elements; ++i) {
    double x0 = kWallX + width * i, x1 = x0 + width;
    double left = x0 + lead, right = x1 - lead;
    p.drawLine(QPointF(x0, y), QPointF(left, y));
    p.drawLine(QPointF(right, y), QPointF(x1, y));
    p.drawLine(QPointF(left, y - branch), QPointF(left, y + branch));
    p.drawLine(QPointF(right, y - branch), QPointF(right, y + branch));
    spring(p, {left, y - branch}, {right, y - branch}, QStringLiteral("c%1").arg(i + 1));
    dashpot(p, {left, y + branch}, {right, y + branch}, QString());
    label(p, {(left + right) / 2, y + branch + 14}, QStringLiteral("k%1").arg(i + 1));
  }
  loadedBar(p, kBarX, y - 6, y + 6);
}

bool draw(const QString& file, const std::function<void(QPainter&)>& schema) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1.2));
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(10);
  painter.setFont(font);
  schema(painter);
  painter.end();
  if (image.save(file, "BMP")) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  bool ok = draw(folder.filePath(QStringLiteral("schema3.bmp")),
                 [](QPainter& p) { maxwellParallel(p, 3, false); }) &&
            draw(folder.filePath(QStringLiteral("schema4.bmp")),
                 [](QPainter& p) { maxwellParallel(p, 4, false); }) &&
            draw(folder.filePath(QStringLiteral("schema3Spring.bmp")),
                 [](QPainter& p) { maxwellParallel(p, 3, true); }) &&
            draw(folder.filePath(QStringLiteral("schema3Kelvin.bmp")),
                 [](QPainter& p) { kelvinSeries(p, 3); });
  return ok ? 0 : 1;
}

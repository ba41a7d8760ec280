// Draws the program's pictures: the icon in the desktop's sizes, the product banner and
// the two states of the About page's web-site button. Everything is drawn
// from code with no randomness, so the same fonts give the same files.
//
//   make_artwork OUTPUT_DIR
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

// One palette for every picture, so icon, banner and button read as a set.
const QColor kNavyTop(0x18, 0x2b, 0x45);
const QColor kNavyBottom(0x0a, 0x13, 0x22);
const QColor kWave(0x5c, 0xc8, 0xe0);
const QColor kCue(0xf5, 0xa6, 0x23);
const QColor kLetters(0xee, 0xf3, 0xf8);
const QColor kSubdued(0x9d, 0xb2, 0xc8);

constexpr double kPi = std::numbers::pi;

// The banner's waveform: a programme-like envelope over a fixed pseudo-random
// texture (a small linear congruential generator, seeded the same each time).
std::vector<double> WaveHeights(int count) {
    std::vector<double> heights;
    heights.reserve(static_cast<std::size_t>(count));
    std::uint32_t seed = 0x5EEDu;
    double smooth = 0.5;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
        smooth = 0.55 * smooth + 0.45 * noise;
        const double t = static_cast<double>(i) / static_cast<double>(count - 1);
        const double phrase = 0.55 + 0.45 * std::sin(t * 7.0 * kPi + 0.6) * std::sin(t * 2.3 * kPi + 1.1);
        const double fade = std::fmin(1.0, std::fmin(t, 1.0 - t) / 0.06);
        heights.push_back(std::fmax(0.06, fade * phrase * (0.35 + 0.65 * smooth)));
    }
    return heights;
}

void FillBackground(QPainter& painter, const QRectF& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0.0, kNavyTop);
    gradient.setColorAt(1.0, kNavyBottom);
    painter.fillRect(area, gradient);
}

// A tape reel seen face on: the flange with six round windows, the edge of
// the tape pack behind them, and the hub.
void DrawReel(QPainter& painter, QPointF centre, double radius, QColor colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath flange;
    flange.addEllipse(centre, radius, radius);
    for (int k = 0; k < 6; ++k) {
        const double angle = (90.0 + 60.0 * k) * kPi / 180.0;
        const QPointF middle(centre.x() + 0.56 * radius * std::cos(angle),
                             centre.y() - 0.56 * radius * std::sin(angle));
        QPainterPath window;
        window.addEllipse(middle, 0.19 * radius, 0.19 * radius);
        flange = flange.subtracted(window);
    }
    QPainterPath spindle;
    spindle.addEllipse(centre, 0.06 * radius, 0.06 * radius);
    flange = flange.subtracted(spindle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(flange);

    QColor line = colour;
    line.setAlpha(std::min(255, colour.alpha() * 2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(line, 1.0));
    painter.drawEllipse(centre, 0.84 * radius, 0.84 * radius);
    painter.drawEllipse(centre, 0.15 * radius, 0.15 * radius);
    painter.restore();
}

QFont Font(const QString& family, double pixelSize, QFont::Weight weight, double spacing = 0.0) {
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (spacing != 0.0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    }
    return font;
}

QImage Banner() {
    constexpr int kWidth = 499;
    constexpr int kHeight = 191;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(0, 0, kWidth, kHeight);
    FillBackground(painter, area);

    // A soft light behind the reel lifts the right half.
    QRadialGradient glow(QPointF(398, 70), 190);
    glow.setColorAt(0.0, QColor(0x2e, 0x4f, 0x78, 110));
    glow.setColorAt(1.0, QColor(0x2e, 0x4f, 0x78, 0));
    painter.fillRect(area, glow);

    DrawReel(painter, QPointF(398, 70), 92, QColor(255, 255, 255, 20));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(398, 70), 98, 98);

    // The waveform along the foot, brighter up to the cue point as if played.
    constexpr double kLeft = 24.0;
    constexpr double kRight = kWidth - 24.0;
    constexpr double kAxis = 150.0;
    constexpr double kStep = 3.0;
    constexpr double kCueX = 318.0;
    const int bars = static_cast<int>((kRight - kLeft) / kStep) + 1;
    const std::vector<double> heights = WaveHeights(bars);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < bars; ++i) {
        const double x = kLeft + kStep * i;
        const double half = 22.0 * heights[static_cast<std::size_t>(i)];
        QColor colour = kWave;
        colour.setAlpha(x < kCueX ? 210 : 70);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(x, kAxis - half, 2.0, 2.0 * half), 1.0, 1.0);
    }
    painter.setPen(QPen(QColor(kWave.red(), kWave.green(), kWave.blue(), 45), 1.0));
    painter.drawLine(QPointF(kLeft, kAxis + 0.5), QPointF(kRight, kAxis + 0.5));

    // The cue marker: a line through the waveform under a small flag.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCue);
    painter.drawRect(QRectF(kCueX - 0.75, 118, 1.5, 57));
    QPainterPath flag;
    flag.moveTo(kCueX - 0.75, 112);
    flag.lineTo(kCueX + 10, 112);
    flag.lineTo(kCueX + 6, 117);
    flag.lineTo(kCueX + 10, 122);
    flag.lineTo(kCueX - 0.75, 122);
    flag.closeSubpath();
    painter.drawPath(flag);

    // Lettering: maker above, product name, then the line and the version.
    painter.setPen(kCue);
    painter.setBrush(kCue);
    painter.drawRect(QRectF(26, 26, 14, 2));
    painter.setFont(Font("DejaVu Sans", 12, QFont::Bold, 3.2));
    painter.setPen(kSubdued);
    painter.drawText(QPointF(47, 32), "VANTO");

    const QFont bold = Font("DejaVu Sans", 46, QFont::Bold, -1.0);
    const QFont light = Font("DejaVu Sans", 46, QFont::ExtraLight, -0.5);
    painter.setPen(kLetters);
    painter.setFont(bold);
    painter.drawText(QPointF(22, 84), "Reel");
    const double reelWidth = QFontMetricsF(bold).horizontalAdvance("Reel");
    painter.setFont(light);
    painter.drawText(QPointF(22 + reelWidth + 1, 84), "marker");

    painter.setFont(Font("DejaVu Sans", 11, QFont::Normal, 0.6));
    painter.setPen(kSubdued);
    painter.drawText(QPointF(25, 106), "Broadcast WAV metadata editor");

    const QFont versionFont = Font("DejaVu Sans", 10, QFont::Bold, 0.8);
    const QString version = "VERSION 1.0";
    const double versionWidth = QFontMetricsF(versionFont).horizontalAdvance(version);
    const QRectF badge(kRight - versionWidth - 14, 170, versionWidth + 14, 15);
    painter.setPen(QPen(QColor(kLetters.red(), kLetters.green(), kLetters.blue(), 120), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(badge.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    painter.setFont(versionFont);
    painter.setPen(kLetters);
    painter.drawText(badge, Qt::AlignCenter, version);
    return image;
}

// The icon: a cue flag over a few waveform bars on a navy tile. The small
// size has a design of its own on a 16-pixel grid so it stays sharp; the
// others are the 32-pixel design scaled, crisp at whole multiples of it.
QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool small = size < 24;
    const double grid = small ? 16.0 : 32.0;
    const double scale = size / grid;
    const bool wholeMultiple = size % static_cast<int>(grid) == 0;
    painter.scale(scale, scale);
    const double radius = small ? 3.0 : 6.0;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, grid, grid), radius, radius);
    QLinearGradient gradient(0, 0, grid, grid);
    gradient.setColorAt(0.0, QColor(0x22, 0x3b, 0x5e));
    gradient.setColorAt(1.0, kNavyBottom);
    painter.fillPath(tile, gradient);

    // Bars on whole pixels need no smoothing; scaled by a fraction they do.
    painter.setRenderHint(QPainter::Antialiasing, !wholeMultiple);
    painter.setPen(Qt::NoPen);
    // Waveform bars stand on the tile's lower middle row, loud before the
    // cue and quieter after it, leaving room for the flag.
    if (small) {
        const int xs[] = {2, 4, 6, 10, 12};
        const int heights[] = {4, 8, 6, 4, 2};
        for (int i = 0; i < 5; ++i) {
            painter.setBrush(i < 3 ? kWave : kWave.darker(135));
            painter.drawRect(xs[i], 9 - heights[i] / 2, 1, heights[i]);
        }
        painter.setBrush(kCue);
        painter.drawRect(8, 2, 1, 12);
        // Too small for a swallowtail: a pennant reads better.
        QPainterPath pennant;
        pennant.moveTo(9, 2);
        pennant.lineTo(14, 4);
        pennant.lineTo(9, 6);
        pennant.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(pennant, kCue);
    } else {
        const int xs[] = {4, 7, 10, 13, 20, 23, 26};
        const int heights[] = {8, 14, 10, 20, 10, 8, 6};
        for (int i = 0; i < 7; ++i) {
            painter.setBrush(i < 4 ? kWave : kWave.darker(135));
            painter.drawRect(xs[i], 18 - heights[i] / 2, 2, heights[i]);
        }
        painter.setBrush(kCue);
        painter.drawRect(16, 4, 2, 25);
        QPainterPath flag;
        flag.moveTo(18, 4);
        flag.lineTo(27, 4);
        flag.lineTo(24, 7.5);
        flag.lineTo(27, 11);
        flag.lineTo(18, 11);
        flag.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(flag, kCue);
    }
    return image;
}

// The web-site button: a navy strip with a globe and the link text; the
// highlighted state lights the text and edge in the cue colour.
QImage WebButton(bool highlighted) {
    constexpr int kWidth = 159;
    constexpr int kHeight = 14;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF strip(0, 0, kWidth, kHeight);
    QPainterPath shape;
    shape.addRoundedRect(strip.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QLinearGradient gradient(0, 0, 0, kHeight);
    gradient.setColorAt(0.0, highlighted ? QColor(0x24, 0x40, 0x66) : kNavyTop);
    gradient.setColorAt(1.0, highlighted ? QColor(0x14, 0x25, 0x3d) : kNavyBottom);
    painter.fillPath(shape, gradient);
    painter.setPen(QPen(highlighted ? kCue : QColor(0x3a, 0x55, 0x78), 1.0));
    painter.drawPath(shape);

    const QColor ink = highlighted ? kCue : kLetters;
    // Globe: a circle with a meridian and the equator.
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::NoBrush);
    const QPointF globe(9.5, 7.0);
    painter.drawEllipse(globe, 4.0, 4.0);
    painter.drawEllipse(globe, 1.6, 4.0);
    painter.drawLine(QPointF(5.5, 7.0), QPointF(13.5, 7.0));

    painter.setFont(Font("DejaVu Sans", 9, QFont::Bold, 0.3));
    painter.setPen(ink);
    painter.drawText(QRectF(18, 0, kWidth - 36, kHeight), Qt::AlignVCenter | Qt::AlignLeft, "VANTO on the web");

    // A small arrow at the right end says the link leaves the program.
    QPainterPath arrow;
    arrow.moveTo(kWidth - 13.0, 4.0);
    arrow.lineTo(kWidth - 9.0, 7.0);
    arrow.lineTo(kWidth - 13.0, 10.0);
    painter.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(arrow);
    return image;
}

bool Save(const QImage& image, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make_artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    // No display is needed to draw into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists()) {
        std::fprintf(stderr, "make_artwork: no such directory %s\n", argv[1]);
        return 1;
    }
    // The desktop's icon theme sizes; res/CMakeLists.txt installs the same list.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QByteArray name = "icon-" + QByteArray::number(size) + ".png";
        if (!Save(Icon(size), dir, name.constData())) return 1;
    }
    const bool ok = Save(Banner(), dir, "banner.png") && Save(WebButton(false), dir, "vanto-url-up.png") &&
                    Save(WebButton(true), dir, "vanto-url-down.png");
    return ok ? 0 : 1;
}

// make-face: draws the window's face, a 680 x 425 picture with a 256-entry
// palette, and writes it as an 8-bit BMP together with the region data cut
// from it. Seeded, so the same build always draws the same bricks:
//   corvane-make-face assets/face.bmp assets/face.rgn
#include <QFile>
#include <QImage>
#include <QRegion>
#include <cstdio>
#include <vector>

#include "controls/TRgn.h"
#include "core/Design.h"
#include "effects/Random.h"

namespace {

constexpr int W = corvane::kFaceWidth;
constexpr int H = corvane::kFaceHeight;
constexpr uint32_t kSeed = 0x0C0A7A1E;

// Palette layout. Index 0 is the key colour; it is painted only into the
// lower-left 2 x 2 corner, which the region then cuts away.
enum : int {
    kKey = 0,
    kPanel = 1,     // the recessed panel, the colour the eye settles on
    kPanelDeep = 2, // inner shadow of the recess, upper and left edges
    kPanelDeeper = 3,
    kPanelLit = 4, // lower and right edges of the recess catch the light
    kPanelLitter = 5,
    kOutline = 6, // one dark line around the whole face
    kRamp = 16,   // a grey-green ramp for bricks and mortar
    kRampSize = 200,
};

QRgb rampColour(int i)
{
    // From a mossy shadow to a pale, slightly warm grey-green: bricks sit in
    // the upper middle, mortar and bevel shadows lower down.
    const double t = double(i) / (kRampSize - 1);
    auto lerp = [t](double a, double b) { return int(a + (b - a) * t + 0.5); };
    return qRgb(lerp(70, 232), lerp(92, 242), lerp(80, 230));
}

int rampIndexFor(double t) // t in 0..1
{
    const int i = int(t * (kRampSize - 1) + 0.5);
    return kRamp + std::clamp(i, 0, kRampSize - 1);
}

std::vector<QRgb> palette()
{
    std::vector<QRgb> p(256, qRgb(255, 255, 255));
    p[kKey] = qRgb(0, 0, 199);
    p[kPanel] = qRgb(156, 182, 165);
    p[kPanelDeep] = qRgb(120, 142, 128);
    p[kPanelDeeper] = qRgb(98, 118, 106);
    p[kPanelLit] = qRgb(196, 214, 202);
    p[kPanelLitter] = qRgb(224, 236, 228);
    p[kOutline] = qRgb(62, 78, 70);
    for (int i = 0; i < kRampSize; ++i)
        p[size_t(kRamp + i)] = rampColour(i);
    // Unused entries repeat the panel's neighbourhood so a viewer that shows
    // the palette sees a quiet table, and none of them is the key colour.
    for (int i = kRamp + kRampSize; i < 256; ++i)
        p[size_t(i)] = qRgb(150 + (i & 7), 176 + (i & 7), 160 + (i & 7));
    for (int i = 7; i < kRamp; ++i)
        p[size_t(i)] = p[kPanel];
    return p;
}

// The plain recess on the left: the picture and the page row beneath it.
// An L: the tall part holds the picture, the foot runs under the first
// column of buttons to take the page row's last boxes.
bool inPanel(int x, int y)
{
    const bool tall = x >= 12 && x < 515 && y >= 13 && y < 420;
    const bool foot = x >= 12 && x < 611 && y >= 384 && y < 420;
    return tall || foot;
}

// The groove around the picture (Panel1 sits at 27, 29, 481 x 351).
bool inPictureMat(int x, int y)
{
    return x >= 23 && x < 512 && y >= 25 && y < 384;
}

struct Face
{
    QImage img{W, H, QImage::Format_Indexed8};
    corvane::RandomGenerator rng{kSeed};

    void set(int x, int y, int index) { img.scanLine(y)[x] = uchar(index); }
    int at(int x, int y) const { return img.constScanLine(y)[x]; }

    // Running bond: rows of 12 pixels (one of mortar), bricks 30 wide, every
    // other course shifted by half a brick. Each brick gets its own tone and a
    // few soft spots so the wall reads as stone, not as a tiled pattern.
    void bricks()
    {
        constexpr int course = 12, brick = 30;
        for (int row = 0; row * course < H; ++row) {
            const int y0 = row * course;
            const int shift = (row & 1) ? brick / 2 : 0;
            for (int bx = -brick; bx < W + brick; bx += brick) {
                const int x0 = bx + shift;
                const double tone = 0.66 + (rng.random(9) - 4) * 0.012;
                const int spots = rng.random(3);
                int sx[2], sy[2];
                for (int s = 0; s < spots; ++s) {
                    sx[s] = x0 + 5 + rng.random(brick - 11);
                    sy[s] = y0 + 3 + rng.random(course - 6);
                }
                for (int y = y0; y < y0 + course && y < H; ++y) {
                    for (int x = std::max(x0, 0); x < x0 + brick && x < W; ++x) {
                        const int dx = x - x0, dy = y - y0;
                        double t;
                        if (dy == course - 1 || dx == brick - 1)
                            t = 0.47; // mortar joint
                        else if (dy == 0 || dx == 0)
                            t = tone + 0.09; // face lit from the upper left
                        else if (dy == course - 2 || dx == brick - 2)
                            t = tone - 0.07; // lower edge in shade
                        else {
                            t = tone - dy * 0.004; // faint curve of a worn face
                            for (int s = 0; s < spots; ++s) {
                                const int ex = x - sx[s], ey = y - sy[s];
                                if (ex * ex + 4 * ey * ey <= 12)
                                    t -= 0.012; // a shallow, weathered hollow
                            }
                        }
                        set(x, y, rampIndexFor(t));
                    }
                }
            }
        }
    }

    void panel()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (inPanel(x, y))
                    set(x, y, kPanel);
        // The recess: light falls from the upper left, so the upper and left
        // inner edges lie in shadow and the lower and right ones are lit.
        bevelInside(inPanel, kPanelDeeper, kPanelDeep, kPanelLitter, kPanelLit);
        // A narrow sunken mat around the picture, one step shallower.
        bevelInside(inPictureMat, kPanelDeep, kPanel, kPanelLit, kPanel);
    }

    template<typename Inside>
    void bevelInside(Inside inside, int shadowOuter, int shadowInner, int litOuter, int litInner)
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (!inside(x, y))
                    continue;
                if (!inside(x - 1, y) || !inside(x, y - 1))
                    set(x, y, shadowOuter);
                else if (!inside(x + 1, y) || !inside(x, y + 1))
                    set(x, y, litOuter);
                else if (!inside(x - 2, y) || !inside(x, y - 2))
                    set(x, y, shadowInner);
                else if (!inside(x + 2, y) || !inside(x, y + 2))
                    set(x, y, litInner);
            }
    }

    // The outer edge: a dark outline, then a raised two-pixel bevel.
    void rim()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const int d = std::min({x, y, W - 1 - x, H - 1 - y});
                if (d == 0)
                    set(x, y, kOutline);
                else if (d <= 3) {
                    const bool lit = (x == d || y == d) && !(x == W - 1 - d || y == H - 1 - d);
                    const double t = lit ? 0.93 - (d - 1) * 0.05 : 0.30 + (d - 1) * 0.08;
                    set(x, y, rampIndexFor(t));
                }
            }
        for (int y = H - 2; y < H; ++y)
            for (int x = 0; x < 2; ++x)
                set(x, y, kKey);
    }
};

bool writeBmp8(const QImage &img, const QString &path)
{
    // Written by hand so the file is exactly an 8-bit DIB with all 256 entries.
    QByteArray out;
    auto u16 = [&out](uint32_t v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const int stride = (img.width() + 3) & ~3;
    const uint32_t offset = 14 + 40 + 256 * 4;
    out.append("BM");
    u32(offset + uint32_t(stride * img.height()));
    u32(0);
    u32(offset);
    u32(40);
    u32(uint32_t(img.width()));
    u32(uint32_t(img.height()));
    u16(1);
    u16(8);
    u32(0);
    u32(uint32_t(stride * img.height()));
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    for (QRgb c : img.colorTable())
        out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    for (int y = img.height() - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char *>(img.constScanLine(y)), img.width());
        out.append(QByteArray(stride - img.width(), '\0'));
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s face.bmp face.rgn\n", argv[0]);
        return 2;
    }
    Face face;
    const std::vector<QRgb> pal = palette();
    face.img.setColorTable(QList<QRgb>(pal.begin(), pal.end()));
    face.bricks();
    face.panel();
    face.rim();

    const corvane::RegionData region = corvane::BuildRegionData(face.img);
    if (!region.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(region.error));
        return 1;
    }
    if (!writeBmp8(face.img, QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QFile rgn(QString::fromLocal8Bit(argv[2]));
    if (!rgn.open(QIODevice::WriteOnly) || rgn.write(region.bytes) != region.bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

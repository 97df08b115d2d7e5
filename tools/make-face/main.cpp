// make-face: draws the window's face, a 680 x 425 picture with a 256-entry
// palette, and writes it as an 8-bit BMP together with the region data cut
// from it. Seeded, so the same build always draws the same bricks:
//   corvane-make-face assets/face.bmp assets/face.rgn
#include <QFile>
#include <QImage>
#include <QRegion>
#include <algorithm>
#include <cmath>
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
    kPanel = 1,    // the floor of the recess, the colour the eye settles on
    kRecess = 2,   // 2..8: the recess's walls, from deep shadow to full light
    kMat = 10,     // 10..15: the mat around the picture, a step below the floor
    kOutline = 16, // one dark line around the whole face
    kRimLit = 17,
    kRimShade = 18,
    kSocket = 24, // 24..31: the dark socket behind the "Arts run" lamp
    kPlate = 32,  // 32..63: the pale stone of the plates, dark to light
    kBrick = 64,  // 64..255: three clay families of 64 tones each
};
constexpr int kPlateSize = 32;
constexpr int kFamilies = 3;
constexpr int kTones = 64;

// The layout the artwork is drawn around: the picture, the recess it sits
// in, and the plates behind the groups of controls (window coordinates).
const QRect kPicture(27, 29, 481, 351);
constexpr QRect kMatRect(23, 25, 489, 359);  // a 4-pixel step around the picture
constexpr QRect kTall(14, 14, 501, 403);     // the recess: the picture's part...
constexpr QRect kFoot(14, 374, 596, 43);     // ...and the foot under the first column
constexpr int kShadowSide = 4, kLitSide = 3; // the recess's walls, in pixels
constexpr int kCourse = 12;                  // brick pitch, bed joint included
constexpr int kJoint = 2;                    // bed and head joints
constexpr int kSillTop = kTall.bottom() + 2; // a course of bricks on edge under the recess
constexpr int kSillBottom = H - 3;           // above the raised rim

struct Plate
{
    QRect rect;
    bool sunken; // a strip let into the wall rather than a plate set on it
    int face;    // plate tone of its face, 0..kPlateSize-1
};
// The status line; the effects; Velocity and plan de arts; the colour
// commands; Leaf, Go and the page numbers; Small and Exit.
const Plate kPlates[] = {
        {QRect(520, 8, 154, 26), true, 27},     {QRect(520, 37, 155, 75), false, 28},
        {QRect(520, 114, 155, 100), false, 28}, {QRect(520, 216, 155, 76), false, 28},
        {QRect(520, 294, 155, 74), false, 29},  {QRect(611, 369, 61, 44), false, 31},
};
const QRect kLampSocket(592, 169, 14, 14); // behind Label3 at (594, 171), 10 x 10
const QRect &kLeafPlate = kPlates[4].rect;
const QRect &kSmallExit = kPlates[5].rect;
// The right edge is dressed stone, not cut brick: a column of stones of the
// plates' kind, one beside each plate, standing on a sill stone that runs
// under Small and Exit from the foot to the rim.
constexpr int kQuoinLeft = W - 5; // three pixels inside the rim
constexpr int kQuoinTone = 19;    // a step darker than the plates, so they stay the eye's ground
const QRect kSillStone(QPoint(kFoot.right() + 2, kSmallExit.bottom() + 3),
                       QPoint(W - 3, kSillBottom));

QRgb mix(QRgb a, QRgb b, double t)
{
    auto m = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return qRgb(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)));
}

// Clay: a cool, a neutral and a warm grey-green, each from the deep shade of
// recessed mortar to the light on a brick's upper edge.
QRgb brickColour(int family, int tone)
{
    const QRgb dark[kFamilies] = {qRgb(66, 80, 80), qRgb(70, 84, 74), qRgb(84, 84, 68)};
    const QRgb light[kFamilies] = {qRgb(206, 222, 220), qRgb(212, 226, 210), qRgb(228, 224, 200)};
    return mix(dark[family], light[family], double(tone) / (kTones - 1));
}

std::vector<QRgb> palette()
{
    std::vector<QRgb> p(256, qRgb(156, 182, 165));
    p[kKey] = qRgb(0, 0, 199);
    p[kPanel] = qRgb(156, 182, 165);
    // The recess walls: shadow side (upper, left) deep to shallow, then the
    // lit side (lower, right) shallow to bright.
    const QRgb walls[]
            = {qRgb(88, 106, 96),   qRgb(104, 124, 112), qRgb(120, 142, 128), qRgb(138, 162, 147),
               qRgb(176, 198, 184), qRgb(198, 216, 204), qRgb(220, 234, 224)};
    for (int i = 0; i < 7; ++i)
        p[size_t(kRecess + i)] = walls[i];
    // The mat: its shadowed upper edge, its floor, its lit lower edge.
    p[kMat] = qRgb(96, 114, 104);
    p[kMat + 1] = qRgb(118, 138, 126);
    p[kMat + 2] = qRgb(140, 164, 149);
    p[kMat + 3] = qRgb(182, 204, 190);
    p[kOutline] = qRgb(44, 54, 50);
    p[kRimLit] = qRgb(214, 226, 216);
    p[kRimShade] = qRgb(92, 106, 98);
    for (int i = 0; i < 8; ++i)
        p[size_t(kSocket + i)] = mix(qRgb(40, 48, 44), qRgb(120, 136, 126), i / 7.0);
    for (int i = 0; i < kPlateSize; ++i)
        p[size_t(kPlate + i)]
                = mix(qRgb(120, 130, 120), qRgb(254, 254, 251), i / double(kPlateSize - 1));
    for (int f = 0; f < kFamilies; ++f)
        for (int t = 0; t < kTones; ++t)
            p[size_t(kBrick + f * kTones + t)] = brickColour(f, t);
    return p;
}

bool inRecess(int x, int y)
{
    return kTall.contains(x, y) || kFoot.contains(x, y);
}

struct Face
{
    QImage img{W, H, QImage::Format_Indexed8};
    corvane::RandomGenerator rng{kSeed};

    void set(int x, int y, int index)
    {
        if (x >= 0 && y >= 0 && x < W && y < H)
            img.scanLine(y)[x] = uchar(index);
    }
    int at(int x, int y) const { return img.constScanLine(y)[x]; }
    double unit() { return rng.random(10000) / 10000.0; }

    static int brick(int family, double tone)
    {
        return kBrick + family * kTones + std::clamp(int(tone * (kTones - 1) + 0.5), 0, kTones - 1);
    }

    // A slow drift over the whole wall: cooler at the upper left, warmer
    // towards the lower right, with a long swell so it never reads as a ramp.
    static double drift(int x, int y)
    {
        const double d = 0.55 * x / W + 0.35 * y / H + 0.12 * std::sin(x / 97.0 + y / 61.0);
        return std::clamp(d, 0.0, 1.0);
    }

    // One brick: its own tone and clay, lit on its upper and left edges,
    // shaded on its lower and right ones, a few pits, sometimes a worn corner.
    void layBrick(int x0, int y0, int len, int height)
    {
        const double d = drift(x0 + len / 2, y0);
        const int family = std::clamp(int(d * kFamilies + (unit() - 0.5) * 1.2), 0, kFamilies - 1);
        const double tone = 0.56 + (d - 0.5) * 0.08 + (unit() - 0.5) * 0.16;
        const int worn = unit() < 0.07 ? 1 + rng.random(4) : 0; // which corner, if any
        for (int y = y0; y < y0 + height; ++y)
            for (int x = x0; x < x0 + len; ++x) {
                const int dx = x - x0, dy = y - y0;
                const int rx = len - 1 - dx, ry = height - 1 - dy;
                double t = tone + (unit() - 0.5) * 0.05; // the grain of fired clay
                if (unit() < 0.015)
                    t -= 0.10; // a pit
                if (dy == 0 || dx == 0)
                    t += 0.14;
                else if (ry == 0 || rx == 0)
                    t -= 0.12;
                else if (dy == 1)
                    t += 0.05;
                const int cornerX = (worn == 1 || worn == 3) ? dx : rx;
                const int cornerY = (worn == 1 || worn == 2) ? dy : ry;
                if (worn && cornerX + cornerY < 3)
                    t = 0.24; // chipped away down to the mortar's shade
                set(x, y, brick(family, t));
            }
    }

    // Whole units between two edges: as many of about `pitch` (joint
    // included) as fit, their sizes differing by a pixel at most, so the
    // frame's short runs close on whole bricks instead of cut ones.
    static std::vector<std::pair<int, int>> wholeUnits(int from, int to, int pitch)
    {
        const int span = to - from + 1;
        const int n = std::max(1, (span + kJoint + pitch / 2) / pitch);
        const int faces = span - (n - 1) * kJoint;
        std::vector<std::pair<int, int>> units; // start, length
        for (int i = 0, at = from; i < n; ++i) {
            const int len = faces * (i + 1) / n - faces * i / n;
            units.emplace_back(at, len);
            at += len + kJoint;
        }
        return units;
    }

    // A joint's shaded row or column, in the shadow of the brick beside it.
    void shadeJoint(int x0, int y0, int x1, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                set(x, y, brick(1, 0.14));
    }

    // A column of whole bricks from the course above the recess down to
    // `bottom`: headers on the left, closers standing at the jamb on the right.
    void column(int x0, int width, int bottom)
    {
        for (const auto &[y, len] : wholeUnits(kTall.top(), bottom, kCourse)) {
            layBrick(x0, y, width, len);
            shadeJoint(x0, y + len, x0 + width - 1, y + len);
        }
    }

    // Running bond with bricks of varying length; a 2-pixel bed joint below
    // each course, its upper row in the shadow of the bricks above it, and
    // 2-pixel head joints, shaded on the side away from the light. Around the
    // recess a frame of whole bricks: a full course above, headers on the
    // left, closers at the jamb on the right, and a sill of bricks on edge.
    void wall()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                set(x, y, brick(1, 0.30));
        const int jamb = kTall.right() + 1 + 1; // one joint off the recess's lit edge
        const int jambWidth = 4;
        for (int row = 0; 2 + row * kCourse < kSillTop; ++row) {
            const int y0 = 2 + row * kCourse;
            const int faceH = std::min(kCourse - kJoint, kSillTop - kJoint - y0);
            shadeJoint(2, y0 + faceH, W - 3, y0 + faceH);
            // The right part: beside the picture's recess each course starts
            // behind the jamb's closer; beside the foot, behind the plate there.
            const bool besideFoot = y0 + faceH > kFoot.top();
            int x = besideFoot ? kFoot.right() + 1 + 1 : jamb + jambWidth + kJoint;
            if (y0 < kTall.top()) // the top course runs the whole width
                x = 2;
            int first = (row & 1) ? 10 + rng.random(8) : 20 + rng.random(10);
            for (int len = first; x < W - 2; len = 18 + rng.random(16)) {
                len = std::min(len, W - 2 - x);
                if (W - 2 - (x + len + 2) < 8) // no sliver at the end
                    len = W - 2 - x;
                layBrick(x, y0, len, faceH);
                shadeJoint(x + len, y0, x + len, y0 + faceH - 1);
                x += len + kJoint;
            }
        }
        column(2, kTall.left() - 2 - kJoint, kSillTop - kJoint - 1);
        column(jamb, jambWidth, kFoot.top() - kJoint - 1);
        // The sill: bricks on edge, their ends showing, up to the sill stone.
        for (const auto &[x, len] : wholeUnits(2, kSillStone.left() - kJoint - 1, kCourse)) {
            layBrick(x, kSillTop, len, kSillBottom - kSillTop + 1);
            shadeJoint(x + len, kSillTop, x + len, kSillBottom);
        }
        // Joints round the dressed stones; the plates' shadows fall into them.
        shadeJoint(kQuoinLeft - 1, 2, kQuoinLeft - 1, kSillStone.top() - 1);
        shadeJoint(kSmallExit.right() + 1, kSmallExit.top() - 1, kQuoinLeft - 1,
                   kSmallExit.bottom());
        shadeJoint(kSillStone.left() - 1, kSmallExit.bottom() + 1, W - 3, kSillStone.top() - 1);
        shadeJoint(kSillStone.left() - 1, kSillStone.top(), kSillStone.left() - 1, kSillBottom);
    }
    // The recess: the floor, and walls that fall from the wall's face to it,
    // in deep shadow above and on the left, catching the light below and on
    // the right; then the mat around the picture as a step further down.
    void recess()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (!inRecess(x, y))
                    continue;
                int upLeft = kShadowSide, downRight = kLitSide;
                for (int d = 1; d <= kShadowSide; ++d)
                    if (!inRecess(x - d, y) || !inRecess(x, y - d) || !inRecess(x - d, y - d)) {
                        upLeft = d - 1;
                        break;
                    }
                for (int d = 1; d <= kLitSide; ++d)
                    if (!inRecess(x + d, y) || !inRecess(x, y + d)) {
                        downRight = d - 1;
                        break;
                    }
                if (upLeft < kShadowSide && upLeft <= downRight)
                    set(x, y, kRecess + upLeft);
                else if (downRight < kLitSide)
                    set(x, y, kRecess + 6 - downRight);
                else
                    set(x, y, kPanel);
            }
        for (int y = kMatRect.top(); y <= kMatRect.bottom(); ++y)
            for (int x = kMatRect.left(); x <= kMatRect.right(); ++x) {
                const int up = std::min(x - kMatRect.left(), y - kMatRect.top());
                const int down = std::min(kMatRect.right() - x, kMatRect.bottom() - y);
                set(x, y, up < 2 && up <= down ? kMat + up : down < 1 ? kMat + 3 : kPanel);
            }
    }

    // The plates: pale stone with a lit upper-left and a shaded lower-right
    // edge and a shadow cast on the wall; the status strip is let in instead.
    void plates()
    {
        for (const Plate &pl : kPlates) {
            const QRect r = pl.rect;
            if (!pl.sunken)
                for (int i = 1; i <= 2; ++i) { // the cast shadow, right and below
                    for (int x = r.left() + i + 1; x <= r.right() + i; ++x)
                        set(x, r.bottom() + i, brick(1, 0.10 + 0.08 * i));
                    for (int y = r.top() + i + 1; y <= r.bottom() + i; ++y)
                        set(r.right() + i, y, brick(1, 0.10 + 0.08 * i));
                }
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const int up = std::min(x - r.left(), y - r.top());
                    const int down = std::min(r.right() - x, r.bottom() - y);
                    int tone = pl.face
                            - (pl.face < kPlateSize - 1 && unit() < 0.08 ? 1 : 0); // faint grain
                    const bool corner = (x == r.left() || x == r.right())
                            && (y == r.top() || y == r.bottom());
                    if (corner && !pl.sunken)
                        continue; // rounded off: the wall shows
                    if (up == 0 || down == 0)
                        tone = (up == 0) == pl.sunken ? 4 : 8;
                    else if (up == 1 && up <= down)
                        tone = pl.sunken ? 14 : kPlateSize - 1;
                    else if (down == 1)
                        tone = pl.sunken ? kPlateSize - 1 : 14;
                    set(x, y, kPlate + tone);
                }
        }
        // The lamp's socket: a dark, sunken ring, a lens when the lamp is out.
        const QRect s = kLampSocket;
        for (int y = s.top(); y <= s.bottom(); ++y)
            for (int x = s.left(); x <= s.right(); ++x) {
                const int up = std::min(x - s.left(), y - s.top());
                const int down = std::min(s.right() - x, s.bottom() - y);
                set(x, y, kSocket + (up == 0 ? 0 : down == 0 ? 6 : 2));
            }
    }

    // A dressed stone: smooth, with the plates' faint grain, lit along its
    // top, softly along its left side, shaded along its bottom and right.
    void dressedStone(const QRect &r)
    {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                int tone = kQuoinTone - (unit() < 0.08 ? 1 : 0);
                if (y == r.top())
                    tone = kPlateSize - 1;
                else if (y == r.bottom() || x == r.right())
                    tone = 6;
                else if (x == r.left())
                    tone = kQuoinTone + 6;
                set(x, y, kPlate + tone);
            }
    }

    // The right edge's stones, each beginning where its plate begins, so
    // their joints meet the gaps between the plates; then the sill stone.
    // Drawn after the plates: they stand as proud as the plates do.
    void quoins()
    {
        std::vector<int> tops;
        for (const Plate &pl : kPlates)
            tops.push_back(pl.rect.top());
        std::sort(tops.begin(), tops.end());
        tops.front() = 2;
        tops.push_back(kSillStone.top());
        for (size_t i = 0; i + 1 < tops.size(); ++i)
            dressedStone(
                    QRect(QPoint(kQuoinLeft, tops[i]), QPoint(W - 3, tops[i + 1] - kJoint - 1)));
        dressedStone(kSillStone);
        // Under the Leaf plate, above the foot, no room for a course: a lintel.
        const QRect lintel(QPoint(kLeafPlate.left(), kLeafPlate.bottom() + 3),
                           QPoint(kFoot.right(), kFoot.top() - kJoint));
        shadeJoint(lintel.left(), lintel.bottom() + 1, lintel.right(), lintel.bottom() + 1);
        dressedStone(lintel);
    }

    // The outer edge: a dark outline and one pixel of raised rim inside it.
    void rim()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const int d = std::min({x, y, W - 1 - x, H - 1 - y});
                if (d == 0)
                    set(x, y, kOutline);
                else if (d == 1)
                    set(x, y, (x == 1 || y == 1) && x < W - 2 && y < H - 2 ? kRimLit : kRimShade);
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
    face.wall();
    face.recess();
    face.plates();
    face.quoins();
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

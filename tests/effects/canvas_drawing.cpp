// The drawing layer: GDI pixel conventions on a 24-bit image.
#include "effects/Canvas.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <set>

using corvane::Canvas;
using corvane::Ltrb;

namespace {

constexpr quint32 kInk = 0x00336699;

struct Surface
{
    QImage image;
    Canvas canvas{&image};
    explicit Surface(int w = 40, int h = 30)
        : image(w, h, QImage::Format_BGR888)
    {
        canvas.fillAll(0);
    }

    std::set<std::pair<int, int>> inked(quint32 colour = kInk) const
    {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (canvas.pixel(x, y) == colour)
                    out.insert({x, y});
        return out;
    }
};

} // namespace

// Colours are 0x00BBGGRR and the image holds bytes B, G, R.
TEST(CanvasDrawing, ColourLayoutInThePixelBytes)
{
    Surface s;
    s.canvas.setPixel(3, 2, 0x00112233);
    const uchar *p = s.image.constScanLine(2) + 9;
    EXPECT_EQ(p[0], 0x11); // blue
    EXPECT_EQ(p[1], 0x22); // green
    EXPECT_EQ(p[2], 0x33); // red
    EXPECT_EQ(s.canvas.pixel(3, 2), 0x00112233u);
    // Writes outside the image are dropped, reads give black.
    s.canvas.setPixel(-1, 0, kInk);
    s.canvas.setPixel(40, 0, kInk);
    EXPECT_EQ(s.canvas.pixel(40, 0), 0u);
}

// Boxes exclude their right and bottom edges; an inside-out box is filled
// from right + 1 to left, as the platform's pattern blit does.
TEST(CanvasDrawing, FillRectEdgesAndInsideOutBoxes)
{
    Surface s;
    s.canvas.setBrushColor(kInk);
    s.canvas.fillRect({2, 3, 5, 6});
    std::set<std::pair<int, int>> want;
    for (int y = 3; y < 6; ++y)
        for (int x = 2; x < 5; ++x)
            want.insert({x, y});
    EXPECT_EQ(s.inked(), want);

    Surface t;
    t.canvas.setBrushColor(kInk);
    t.canvas.fillRect({5, 6, 2, 3}); // both directions inside out
    std::set<std::pair<int, int>> mirrored;
    for (int y = 4; y <= 6; ++y)
        for (int x = 3; x <= 5; ++x)
            mirrored.insert({x, y});
    EXPECT_EQ(t.inked(), mirrored);

    // A clear brush fills nothing until a colour makes it solid again.
    Surface u;
    u.canvas.setBrushColor(kInk);
    u.canvas.setBrushClear();
    u.canvas.fillRect({0, 0, 40, 30});
    EXPECT_TRUE(u.inked().empty());
    u.canvas.setBrushColor(kInk);
    u.canvas.fillRect({0, 0, 40, 30});
    EXPECT_EQ(u.inked().size(), 1200u);
}

TEST(CanvasDrawing, FrameRectIsAOnePixelBorderInside)
{
    Surface s;
    s.canvas.setBrushColor(kInk);
    s.canvas.frameRect({2, 2, 7, 6});
    const auto got = s.inked();
    EXPECT_EQ(got.size(), 2u * 5 + 2u * 2); // 5 wide, 4 high
    EXPECT_TRUE(got.count({2, 2}) && got.count({6, 2}) && got.count({2, 5}) && got.count({6, 5}));
    EXPECT_FALSE(got.count({7, 2}) || got.count({2, 6}) || got.count({4, 3}));

    Surface t;
    t.canvas.setBrushColor(kInk);
    t.canvas.frameRect({10, 10, 5, 20}); // inside out: nothing
    t.canvas.frameRect({5, 10, 5, 20});  // empty: nothing
    EXPECT_TRUE(t.inked().empty());
}

// Lines stop one short of the end point; a closed polyline therefore draws
// every corner exactly once, the first one by the first segment.
TEST(CanvasDrawing, LinesExcludeTheirEndPoint)
{
    Surface s;
    s.canvas.setPenColor(kInk);
    s.canvas.moveTo(1, 1);
    s.canvas.lineTo(6, 1);
    EXPECT_EQ(s.inked().size(), 5u);
    EXPECT_FALSE(s.inked().count({6, 1}));
    EXPECT_EQ(s.canvas.position(), QPoint(6, 1));

    Surface d; // diagonal, and a line to where it starts draws nothing
    d.canvas.setPenColor(kInk);
    d.canvas.moveTo(0, 0);
    d.canvas.lineTo(4, 4);
    d.canvas.lineTo(4, 4);
    EXPECT_EQ(d.inked(), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

    Surface p;
    p.canvas.setPenColor(kInk);
    const QPoint outline[5] = {{2, 2}, {8, 2}, {8, 6}, {2, 6}, {2, 2}};
    p.canvas.polyline(outline);
    const auto got = p.inked();
    EXPECT_EQ(got.size(), 2u * 6 + 2u * 4);
    for (auto c : {std::pair{2, 2}, {8, 2}, {8, 6}, {2, 6}})
        EXPECT_TRUE(got.count(c)) << c.first << "," << c.second;
}

TEST(CanvasDrawing, WidePensAndFarCoordinates)
{
    Surface s;
    s.canvas.setPenColor(kInk);
    s.canvas.setPenWidth(2);
    s.canvas.moveTo(5, 5);
    s.canvas.lineTo(10, 5);
    EXPECT_EQ(s.inked().size(), 2u * 6); // two rows, one column more from the square pen
    s.canvas.setPenWidth(9);
    EXPECT_EQ(s.canvas.penWidth(), 3);

    // A line from far off the picture is clipped, not walked point by point,
    // and still crosses the picture where it should.
    Surface f;
    f.canvas.setPenColor(kInk);
    QElapsedTimer timer;
    timer.start();
    f.canvas.moveTo(-2000000000, 10);
    f.canvas.lineTo(2000000000, 10);
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_EQ(f.inked().size(), 40u);
    f.canvas.arc({-1000000000, -1000000000, 1000000000, 1000000000}, {0, 0}, {0, 0});
    EXPECT_LT(timer.elapsed(), 200);
}

// An arc whose start and end points coincide is the whole outline: symmetric,
// inside the box without its right and bottom edges, touching all four sides,
// with ink in every row and column of the box; the filled ellipse covers the
// outline with one run per row. Over every box up to 14 x 44, flat and steep
// alike, in both orders of the corners.
TEST(CanvasDrawing, FullArcAndFilledEllipse)
{
    std::vector<Ltrb> boxes;
    for (int w = 1; w <= 14; ++w)
        for (int h = 1; h <= 44; h += (h < 12 ? 1 : 7))
            boxes.push_back({3, 2, 3 + w, 2 + h});
    for (int w = 12; w <= 44; w += 8)
        for (int h = 1; h <= 14; ++h)
            boxes.push_back({2, 3, 2 + w, 3 + h});
    boxes.push_back({21, 14, 4, 3});
    boxes.push_back({3, 2, 7, 42}); // 4 x 40, Velocity's narrow ellipses
    for (const Ltrb box : boxes) {
        const int l = std::min(box.left, box.right), r = std::max(box.left, box.right) - 1;
        const int t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom) - 1;
        const std::string name = std::to_string(r - l + 1) + " x " + std::to_string(b - t + 1);
        Surface s(50, 50);
        s.canvas.setPenColor(kInk);
        s.canvas.arc(box, {7, 7}, {7, 7});
        const auto got = s.inked();
        std::set<int> rows, columns;
        for (auto [x, y] : got) {
            rows.insert(y);
            columns.insert(x);
            EXPECT_TRUE(got.count({l + r - x, y}) && got.count({x, t + b - y}))
                    << name << ": not symmetric at " << x << "," << y;
        }
        ASSERT_FALSE(got.empty()) << name;
        EXPECT_EQ(*columns.begin(), l) << name;
        EXPECT_EQ(*columns.rbegin(), r) << name;
        EXPECT_EQ(*rows.begin(), t) << name;
        EXPECT_EQ(*rows.rbegin(), b) << name;
        EXPECT_EQ(int(rows.size()), b - t + 1) << name << ": a row without ink";
        EXPECT_EQ(int(columns.size()), r - l + 1) << name << ": a column without ink";

        Surface f(50, 50);
        f.canvas.setPenColor(kInk);
        f.canvas.setBrushColor(kInk);
        f.canvas.ellipse(box);
        const auto filled = f.inked();
        for (auto p : got)
            EXPECT_TRUE(filled.count(p)) << name;
        for (int y = t; y <= b; ++y) {
            int first = -1, last = -1, count = 0;
            for (int x = 0; x < 50; ++x)
                if (filled.count({x, y})) {
                    if (first < 0)
                        first = x;
                    last = x;
                    ++count;
                }
            EXPECT_GT(count, 0) << name << ": row " << y << " empty";
            EXPECT_EQ(count, last - first + 1) << name << ": gap in row " << y;
        }
    }

    // Different start and end points give part of the outline, counter-clockwise:
    // from the right-hand point up to the top one is the upper right quarter.
    Surface full, part;
    full.canvas.setPenColor(kInk);
    part.canvas.setPenColor(kInk);
    full.canvas.arc({4, 4, 24, 24}, {30, 14}, {30, 14});
    part.canvas.arc({4, 4, 24, 24}, {30, 14}, {14, 0});
    const auto all = full.inked(), quarter = part.inked();
    EXPECT_LT(quarter.size(), all.size() / 2);
    for (auto [x, y] : quarter) {
        EXPECT_TRUE(all.count({x, y}));
        EXPECT_GE(x, 13);
        EXPECT_LE(y, 14);
    }

    // Zero-sized boxes draw nothing.
    Surface z;
    z.canvas.setPenColor(kInk);
    z.canvas.arc({10, 10, 10, 10}, {10, 10}, {10, 10});
    EXPECT_TRUE(z.inked().empty());
}

TEST(CanvasDrawing, RectangleWithPenAndBrush)
{
    Surface s;
    s.canvas.setPenColor(kInk);
    s.canvas.setBrushColor(0x00FFFFFF);
    s.canvas.rectangle({8, 4, 2, 10}); // normalised like the platform's Rectangle
    const auto border = s.inked();
    EXPECT_EQ(border.size(), 2u * 6 + 2u * 4);
    EXPECT_TRUE(border.count({2, 4}) && border.count({7, 9}));
    EXPECT_EQ(s.inked(0x00FFFFFF).size(), 4u * 4);
}

// Puts the glyphs of every written text onto the program's 24-bit pictures:
// pages, title screens and the About screen come through here, so that all
// of them share one tone. (Only the Velocity clock's digits, part of an
// animation, are drawn plainly by the effects' canvas.)
//
// Glyphs are first rasterised into a coverage mask, then the text colour is
// laid over the picture through a tone curve. Plain linear coverage leaves
// the Mincho hairlines at under half ink, so text reads faint on the dark
// grounds the program uses; the curve brings it to the density a browser
// shows for the same face and size.
#pragma once
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QtGlobal>

#include <array>
#include <span>
#include <vector>

namespace corvane {

// Exponent of the tone curve: toned = coverage ^ (1 / kInkGamma).
inline constexpr double kInkGamma = 1.2;

// One shaped run, in picture pixels: each glyph's drawing origin (its
// baseline origin in the run's own frame). A sideways run's positions are in
// its rotated frame, x along the column and y across it, measured from the
// pivot it turns about (90 degrees clockwise, so it reads downwards).
// An upright run may instead be pressed across by squeeze, its positions
// then measured from the pivot too.
struct PlacedRun
{
    bool sideways = false;
    QPointF pivot;
    double squeeze = 1;
    std::vector<quint32> glyphs;
    std::vector<QPointF> positions;
};

// Coverage 0..255 through the tone curve; 0 and 255 stay where they are.
std::array<uchar, 256> toneCurve();

class GlyphPainter
{
public:
    explicit GlyphPainter(QSize size);

    // Adds the run's glyphs to the mask, moved by shift. Where glyphs
    // overlap the mask keeps the larger coverage, so a glyph drawn twice
    // (a bridged rule, an overstruck bold) is no darker at its edges.
    void add(const QRawFont &font, const PlacedRun &run, QPointF shift = {});

    // The same as add() for each run with each shift in turn, in fewer
    // passes: upright runs whose ink cannot touch are drawn as one, since
    // each pass costs a painter of its own and a page may hold a hundred
    // ruby characters, each a run.
    void addApart(const QRawFont &font, std::span<const PlacedRun> runs,
                  std::span<const QPointF> shifts);

    // Lays colour (0x00BBGGRR) over target, a Format_BGR888 image of the
    // mask's size, in proportion to the toned coverage.
    void paintOnto(QImage &target, quint32 colour) const;

    const QImage &coverage() const { return m_mask; }

private:
    QImage m_mask;    // Format_Alpha8
    QImage m_scratch; // one run at a time, merged into m_mask by maximum
};

} // namespace corvane

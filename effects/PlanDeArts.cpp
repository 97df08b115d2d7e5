// plan de arts: the grid, the subdivision, the painting with its fold, the
// fade-in and the Devenir level. Writes PlanDeArts and the picture.
#include "effects/PlanDeArts.h"

#include "effects/Fades.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {

// The clock is read only every this many subdivide calls: reading it on
// every call would cost more than the subdivision itself.
constexpr long kPumpCheckEvery = 64;

QString brightText(int base)
{
    return QStringLiteral("bright ") + QString::number(base);
}

// Clears the build guard however drawPicture leaves.
struct BuildGuard
{
    bool &flag;
    explicit BuildGuard(bool &f)
        : flag(f)
    {
        flag = true;
    }
    ~BuildGuard() { flag = false; }
};

} // namespace

void ByteGrid::resize(int columns, int rows)
{
    m_columns = std::max(columns, 0);
    m_rows = std::max(rows, 0);
    m_data.assign(size_t(m_columns) * size_t(m_rows), 0);
}

void ByteGrid::clear(int w, int h)
{
    w = std::clamp(w, 0, m_columns);
    h = std::clamp(h, 0, m_rows);
    if (h == m_rows) {
        std::fill_n(m_data.begin(), size_t(w) * size_t(m_rows), quint8(0));
        return;
    }
    for (int x = 0; x < w; ++x)
        std::memset(m_data.data() + size_t(x) * size_t(m_rows), 0, size_t(h));
}

PlasmaBuilder::PlasmaBuilder(ByteGrid &grid, RandomGenerator &random,
                             std::function<void()> pumpEvents,
                             std::chrono::microseconds pumpInterval)
    : m_grid(grid)
    , m_random(random)
    , m_pump(std::move(pumpEvents))
    , m_interval(pumpInterval)
    , m_since(std::chrono::steady_clock::now())
{
}

void PlasmaBuilder::maybePump()
{
    if (!m_pump || m_calls % kPumpCheckEvery != 0)
        return;
    if (std::chrono::steady_clock::now() - m_since < m_interval)
        return;
    m_pump();
    ++m_pumps;
    m_since = std::chrono::steady_clock::now();
}

void PlasmaBuilder::setMidpoint(int XA, int YA, int XT, int YT, int XB, int YB)
{
    if (m_grid.at(XT, YT) != 0)
        return;
    const int d = std::abs(XA - XB) + std::abs(YA - YB);
    const int r = int((m_random.real() - 0.5) * d); // truncated towards zero
    const int v = (m_grid.at(XA, YA) + m_grid.at(XB, YB)) / 2 + 4 * r;
    m_grid.at(XT, YT) = quint8(std::clamp(v, 1, 255));
}

void PlasmaBuilder::subdivide(int X1, int Y1, int X2, int Y2)
{
    ++m_calls;
    if (X2 - X1 < 2 && Y2 - Y1 < 2)
        return;
    const int XM = (X1 + X2) / 2, YM = (Y1 + Y2) / 2;
    setMidpoint(X1, Y1, XM, Y1, X2, Y1);
    setMidpoint(X2, Y1, X2, YM, X2, Y2);
    setMidpoint(X1, Y2, XM, Y2, X2, Y2);
    setMidpoint(X1, Y1, X1, YM, X1, Y2);
    if (m_grid.at(XM, YM) == 0) {
        // The centre takes no random offset, only the edge midpoints do.
        const int sum
                = m_grid.at(X1, Y1) + m_grid.at(X2, Y1) + m_grid.at(X2, Y2) + m_grid.at(X1, Y2);
        m_grid.at(XM, YM) = quint8(sum / 4);
    }
    maybePump();
    subdivide(X1, Y1, XM, YM);
    subdivide(XM, Y1, X2, YM);
    subdivide(XM, YM, X2, Y2);
    subdivide(X1, YM, XM, Y2);
}

ArtsBegin PlanDeArts::plan(bool FArts, const Busy &running, quint32 GColor, bool FArtsShown,
                           const ArtsOptions &opts) const
{
    ArtsBegin b;
    if (FArts || m_building) {
        b.plan.refused = true;
        return b;
    }
    b.plan.stopFirst = running.difference || running.velocity || running.deep;
    b.plan.fade = (GColor != 0 && !FArtsShown) ? Fade::Black : Fade::None;
    if (opts.devenir) {
        b.mode = ArtsMode::Devenir;
        b.uncheckGreen = true;
        b.plan.status = brightText(kLowLevel);
    } else {
        b.mode = opts.repetition ? ArtsMode::Repetition : ArtsMode::Single;
        b.plan.status = brightText(Fconm);
    }
    return b;
}

StartResult PlanDeArts::start(ArtsMode mode, PictureState &state)
{
    if (mode == ArtsMode::Devenir) {
        FArtsRise = true;
        FArtsLevel = kLowLevel;
    }
    state.FArtsShown = true;
    return {};
}

long PlanDeArts::build(int w, int h, RandomGenerator &random,
                       const std::function<void()> &pumpEvents)
{
    if (w < 1 || h < 1)
        return 0;
    // The grid follows the picture rather than being overrun by a larger one.
    if (w > PlasmaMap.columns() || h > PlasmaMap.rows())
        PlasmaMap.resize(std::max(w, PlasmaMap.columns()), std::max(h, PlasmaMap.rows()));
    PlasmaMap.clear(w, h);
    PlasmaMap.at(0, h - 1) = quint8(random.random(255));
    PlasmaMap.at(w - 1, h - 1) = quint8(random.random(255));
    PlasmaMap.at(w - 1, 0) = quint8(random.random(255));
    PlasmaMap.at(0, 0) = quint8(random.random(255));
    PlasmaBuilder builder(PlasmaMap, random, pumpEvents, pumpInterval);
    builder.subdivide(0, 0, w - 1, h - 1);
    return builder.calls();
}

QImage PlanDeArts::paint(int w, int h, int base, bool green) const
{
    w = std::min(w, PlasmaMap.columns());
    h = std::min(h, PlasmaMap.rows());
    QImage out(std::max(w, 0), std::max(h, 0), QImage::Format_BGR888);
    if (out.isNull())
        return out;
    uchar lut[256];
    for (int v = 0; v < 256; ++v)
        lut[v] = uchar(fold(v, base));
    // Bytes are B, G, R: blue is byte 0, green byte 1.
    const int channel = green ? 1 : 0;
    uchar *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    for (int y = 0; y < h; ++y)
        std::memset(bits + y * stride, 0, size_t(w) * 3);
    for (int x = 0; x < w; ++x) {
        const quint8 *col = PlasmaMap.column(x);
        uchar *p = bits + 3 * x + channel;
        for (int y = 0; y < h; ++y, p += stride)
            *p = lut[col[y]];
    }
    return out;
}

PlasmaResult PlanDeArts::advance(const ArtsOptions &opts)
{
    PlasmaResult r;
    r.done = true;
    if (!opts.devenir) {
        r.status = brightText(Fconm);
        return r;
    }
    // The turn takes one picture: at either end the level stays for it.
    if (FArtsRise) {
        if (FArtsLevel < kHighLevel)
            FArtsLevel += kLevelStep;
        else
            FArtsRise = false;
    } else {
        if (FArtsLevel > kLowLevel) {
            FArtsLevel -= kLevelStep;
        } else {
            r.green = !opts.green;
            FArtsRise = true;
        }
    }
    r.status = brightText(FArtsLevel);
    return r;
}

PlasmaResult PlanDeArts::drawPicture(QImage &picture, RandomGenerator &random,
                                     const EffectClock &clock, const PlasmaHooks &hooks)
{
    if (m_building)
        return {};
    BuildGuard guard(m_building);
    const int w = picture.width(), h = picture.height();
    clock.reseed(random);
    build(w, h, random, hooks.pumpEvents);

    const ArtsOptions opts = hooks.options ? hooks.options() : ArtsOptions{};
    const TABitmap plasma(paint(w, h, opts.devenir ? FArtsLevel : Fconm, opts.green));
    // The fade starts from whatever the picture holds now, events included.
    steppedBlend(plasma, picture, {kFadeSteps, 0, kFadeAlphaStep}, hooks.repaint);
    return advance(opts);
}

ArtsTick PlanDeArts::tick(const bool &FArts, QImage &picture, RandomGenerator &random,
                          const EffectClock &clock, const PlasmaHooks &hooks)
{
    ArtsTick t;
    if (m_building) {
        t.refused = true;
        return t;
    }
    if (FArts)
        t.picture = drawPicture(picture, random, clock, hooks);
    t.stopTimer = !FArts;
    return t;
}

ArtsBoxClick PlanDeArts::greenClicked(bool checked) const
{
    return {checked ? QStringLiteral("Green arts") : QStringLiteral("Blue arts"), false};
}

ArtsBoxClick PlanDeArts::brightClicked(bool checked)
{
    Fconm = checked ? kHighLevel : kLowLevel;
    return {brightText(Fconm), false};
}

ArtsBoxClick PlanDeArts::devenirClicked(bool checked) const
{
    if (checked)
        return {QStringLiteral("Devenir on"), false};
    return {QStringLiteral("Devenir off"), true};
}

ArtsBoxClick PlanDeArts::repetitionClicked(bool checked) const
{
    if (checked)
        return {QStringLiteral("Repetition on ") + QString::number(Fconm), false};
    return {QStringLiteral("Repetition off"), true};
}

} // namespace corvane

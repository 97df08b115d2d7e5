// Difference: start (shapes, ramps, velocities) and tick (opening tunnel,
// then wandering shapes with their trails). Writes only DifferenceState and
// the picture.
#include "effects/Difference.h"

#include "effects/Random.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr quint32 rgb(int r, int g, int b)
{
    return quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16;
}

// The ramps are 8-bit arithmetic: byte(x) is x modulo 256.
constexpr int byteOf(int x)
{
    return x & 0xFF;
}

// Layer counts by option set (Form, Color, Paint): N and S.
struct Layout
{
    int layers, shapes;
};
Layout layoutFor(const DifferenceOptions &o)
{
    if (!o.form)
        return {25, o.paint ? 1 : 2};
    if (!o.paint)
        return {30, 1};
    return {o.color ? 28 : 35, 1};
}

} // namespace

StartPlan DifferenceState::plan(const Busy &running, quint32 GColor)
{
    StartPlan p;
    p.stopFirst = running.velocity || running.arts || running.deep;
    p.status = QStringLiteral("Difference");
    p.fade = GColor != 0 ? Fade::Black : Fade::None;
    return p;
}

int DifferenceState::randomStep(RandomGenerator &random)
{
    const int r = random.random(32) - 16;
    return r >= 0 ? r + 1 : r;
}

StartResult DifferenceState::start(const DifferenceOptions &opts, Canvas &canvas,
                                   RandomGenerator &random, const EffectClock &clock,
                                   PictureState &state)
{
    options = opts;
    const Layout layout = layoutFor(opts);
    FLayerCount = layout.layers;
    FShapeCount = layout.shapes;
    const int N = FLayerCount;
    clock.reseed(random);
    FDiffTick = opts.paint ? 0 : 2 * N;
    canvas.fillAll(0);

    const int w = canvas.width(), h = canvas.height();
    const bool anyOption = opts.form || opts.color || opts.paint;
    const Ltrb startRect = anyOption ? Ltrb{0, 0, w, h} : Ltrb{w / 2, h / 2, w / 2, h / 2};
    const int H = N / 2, q = 256 / H;

    for (int i = 0; i < FShapeCount; ++i) {
        for (int j = 0; j <= N; ++j) {
            const int e = byteOf((256 / N) * (N - j));
            const int f = byteOf((210 / N) * (N - j));
            const int g = byteOf((200 / N) * (N - j));
            if (j == 0)
                FTrailColors[i][j] = opts.color ? 0xC8C8D2u : 0xFF0000u;
            else
                FTrailColors[i][j] = opts.color ? rgb(f, g, g) : rgb(0, 0, e);

            FShapeRects[i][j] = startRect;

            if (j == 0) {
                FOpenColors[i][j] = 0;
            } else {
                const int fo = j == N ? 0 : byteOf(210 - f);
                const int go = j == N ? 0 : byteOf(200 - g);
                FOpenColors[i][j] = opts.color ? rgb(fo, go, go) : rgb(0, 0, byteOf(0 - e));
            }

            if (j == 0)
                FPaintColors[i][j] = 0;
            else
                FPaintColors[i][j] = rgb(0, 0, byteOf(j < H ? q * (H - j) : 0 - q * (H - j)));
        }
        FShapeStep[i] = {(w / 2) / N, (h / 2) / N};
        for (int &v : FShapeSpeed[i])
            v = randomStep(random);
    }

    state.FBColor = true;
    state.FPageShown = false;
    state.FSamePage = true;
    state.FFreshStart = false;
    return {QStringLiteral("difference")};
}

void DifferenceState::tick(Canvas &canvas, RandomGenerator &random)
{
    const int w = canvas.width(), h = canvas.height();
    const int N = FLayerCount;
    int &K = FDiffTick;
    if (K == 0)
        K = 1;
    if (K < 1)
        return;

    for (int i = 0; i < FShapeCount; ++i)
        for (int j = N - 1; j >= 0; --j)
            FShapeRects[i][j + 1] = FShapeRects[i][j];

    if (K <= 2 * N) {
        auto &rects = FShapeRects[0];
        if (options.form || options.color || options.paint) {
            const bool paintAlone = options.paint && !options.form && !options.color;
            const Ramp &ramp = paintAlone ? FPaintColors[0] : FOpenColors[0];
            for (int j = N; j >= 0; --j) {
                canvas.setBrushColor(ramp[j]);
                canvas.fillRect(rects[j]);
            }
        }
        const int dxK = FShapeStep[0].dx * K, dyK = FShapeStep[0].dy * K;
        Ltrb &lead = rects[0];
        if (!options.form) {
            lead.left = dxK;
            lead.top = dyK;
            if ((w / 2) + 1 < dxK) {
                lead.left = w / 2;
                lead.top = h / 2;
            }
            lead.right = w - dxK;
            lead.bottom = h - dyK;
            if (lead.right < (w / 2) + 1) {
                lead.right = w / 2;
                lead.bottom = h / 2;
            }
            if (K == 2 * N)
                canvas.fillAll(0);
        } else {
            // Past the middle the box turns inside out and is used as it stands.
            lead = {dxK, dyK, w - dxK, h - dyK};
        }
        if (K == 2 * N) {
            const Ltrb end = rects[N];
            for (int i = 0; i < FShapeCount; ++i)
                for (int j = 0; j <= N; ++j)
                    FShapeRects[i][j] = end;
        }
        ++K;
        return;
    }

    for (int i = 0; i < FShapeCount; ++i) {
        auto &rects = FShapeRects[i];
        canvas.setPenWidth(options.form ? 2 : 1);
        for (int j = N; j >= 0; --j) {
            canvas.setBrushColor(FTrailColors[i][j]);
            canvas.setPenColor(FTrailColors[i][j]);
            const Ltrb &b = rects[j];
            if (!options.form) {
                if (options.paint)
                    canvas.ellipse(b);
                else
                    canvas.arc(b, QPoint(b.right, b.left), QPoint(b.right, b.left));
            } else if (options.paint) {
                canvas.rectangle(b);
            } else {
                const QPoint outline[5] = {{b.left, b.top},
                                           {b.right, b.top},
                                           {b.right, b.bottom},
                                           {b.left, b.bottom},
                                           {b.left, b.top}};
                canvas.polyline(outline);
            }
        }

        // A corner held at an edge draws a new velocity every tick until one
        // leads it back inside: the bounce.
        Ltrb &lead = rects[0];
        auto &v = FShapeSpeed[i];
        auto moveCorner = [&](int &x, int &y, int &vx, int &vy) {
            if (x == 0 || x == w - 1)
                vx = randomStep(random);
            if (y == 0 || y == h - 1)
                vy = randomStep(random);
            x = std::clamp(x + vx, 0, w - 1);
            y = std::clamp(y + vy, 0, h - 1);
        };
        moveCorner(lead.left, lead.top, v[0], v[1]);
        moveCorner(lead.right, lead.bottom, v[2], v[3]);
    }
}

} // namespace corvane

// Velocity: start, tick, rebirth, head motion, the colour rules and shapes,
// the clock, the scope and the moving centre. Writes VelocityState (Pcx and
// Pcy included: the clock zone and Movement move them) and the picture.
#include "effects/Velocity.h"

#include "effects/Random.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace corvane {

namespace {

constexpr quint32 rgb(int r, int g, int b)
{
    return quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16;
}

// The five shades of a line of brightness B, as (red, green, blue) drawn from
// B, M = B div 2 and T = M + M div 2.
quint32 shade(int n, int B)
{
    const int M = B / 2, T = M + M / 2;
    switch (n) {
    case 0:
        return rgb(B, B, B);
    case 1:
        return rgb(T, B, M);
    case 2:
        return rgb(T, 0, M);
    case 3:
        return rgb(T, T, B);
    default:
        return rgb(M, T, T);
    }
}

// Shade of each group of 25 lines under rule 2.
constexpr int kFreeGroupShade[4] = {1, 2, 3, 4};
constexpr int kClockGroupShade[4] = {4, 1, 2, 3};
// Rule 1: lines with i mod 60 = 0..3 stand out.
constexpr int kAccentShade[4] = {2, 3, 4, 1};

// Round to nearest, ties to even.
int roundEven(double v)
{
    return int(std::nearbyint(v));
}

bool oneOf(int v, std::initializer_list<int> set)
{
    for (int s : set)
        if (v == s)
            return true;
    return false;
}

constexpr quint32 kCentredColour = 0x3068A0; // crosshair with the centre in the middle
constexpr quint32 kMovedColour = 0xBE7832;   // crosshair and time off the middle
constexpr quint32 kClockTextColour = 0x7B9D7D;
constexpr quint32 kLockColour = 0x0000FF;

} // namespace

StartPlan VelocityState::plan(const Busy &running, quint32 GColor)
{
    StartPlan p;
    p.stopFirst = running.difference || running.arts || running.deep;
    p.status = QStringLiteral("Velocity");
    p.fade = GColor != 0 ? Fade::Black : Fade::None;
    return p;
}

StartResult VelocityState::start(const VelocityOptions &opts, Canvas &canvas,
                                 RandomGenerator &random, const EffectClock &clock,
                                 PictureState &state)
{
    const int W = canvas.width(), H = canvas.height();
    FMouseX = W / 2;
    FMouseY = H / 2;
    FLockHit = false;
    FLockCount = 0;
    FVelWarm = (opts.roadMovie || opts.clock) ? 0 : 32;
    clock.reseed(random);
    if (opts.clock) {
        FTargetX = random.random(W / 4) + (W / 8) * 3;
        FTargetY = random.random(H / 5) + (H / 10) * 4;
        Pcx = W / 2;
        Pcy = H / 2;
    } else {
        FTargetX = random.random(W);
        FTargetY = random.random(H);
    }
    canvas.fillAll(0);
    for (int i = 0; i < kLines; ++i) {
        const int x = random.random(W);
        const int y = random.random(H);
        VelocityLine &l = FLines[i];
        l = {x, y, x, y};
        if (x == Pcx || y == Pcy)
            l.tx = W - 1;
        l.hx += (x - Pcx) / FVelDiv;
        l.hy += (y - Pcy) / FVelDiv;
        FLineBright[i] = opts.clock ? 75 : 0;
    }

    state.FArtsShown = false;
    state.FBColor = true;
    state.FPageShown = false;
    state.FSamePage = true;
    state.FFreshStart = false;
    return {QStringLiteral("Velocity")};
}

std::optional<quint32> VelocityState::lineColour(int rule, bool clockLine, int i,
                                                 RandomGenerator &random) const
{
    const int B = FLineBright[i];
    int n;
    switch (rule) {
    case 1:
        n = i % 60 < 4 ? kAccentShade[i % 60] : 0;
        break;
    case 2:
        n = (clockLine ? kClockGroupShade : kFreeGroupShade)[i / 25];
        break;
    case 3:
        n = 1;
        break;
    case 4:
        n = 2;
        break;
    case 5:
        n = 3;
        break;
    case 6:
        n = 4;
        break;
    case 7:
        n = random.random(4);
        break;
    case 8:
        n = i % 5;
        break;
    default:
        return std::nullopt;
    }
    return shade(n, B);
}

void VelocityState::drawFreeLine(int i, Canvas &canvas, RandomGenerator &random)
{
    if (auto c = lineColour(Piro, false, i, random))
        canvas.setPenColor(*c);
    canvas.setPenWidth(Pb ? 2 : 1);
    const VelocityLine &l = FLines[i];
    const bool dimAsSegment = Pmix && FLineBright[i] < 250;
    auto segment = [&] {
        canvas.moveTo(l.tx, l.ty);
        canvas.lineTo(l.hx, l.hy);
    };
    switch (Pform) {
    case 1:
        segment();
        break;
    case 2:
        if (dimAsSegment)
            segment();
        else
            canvas.arc({l.tx, l.ty, l.hx, l.hy}, {l.tx, l.ty}, {l.tx, l.ty});
        break;
    case 3:
        if (dimAsSegment) {
            segment();
        } else {
            const QPoint outline[5]
                    = {{l.tx, l.ty}, {l.hx, l.ty}, {l.hx, l.hy}, {l.tx, l.hy}, {l.tx, l.ty}};
            canvas.polyline(outline);
        }
        break;
    default:
        break;
    }
}

void VelocityState::drawClockLine(int i, Canvas &canvas, RandomGenerator &random)
{
    if (auto c = lineColour(Pirot, true, i, random))
        canvas.setPenColor(*c);
    canvas.setPenWidth(Pbt ? 3 : 2);
    VelocityLine &l = FLines[i];
    auto segment = [&] {
        canvas.moveTo(l.tx, l.ty);
        canvas.lineTo(l.hx, l.hy);
    };
    switch (Pformt) {
    case 1:
        segment();
        break;
    case 2:
        // Widen boxes too thin to show an ellipse; the line keeps the result.
        if (std::abs(l.hx - l.tx) < 4) {
            if (l.tx < Pcx - 1) {
                l.hx -= 4 - std::abs(l.hx - l.tx);
                l.tx += 4 - std::abs(l.hx - l.tx);
            } else {
                l.hx += 4 - std::abs(l.hx - l.tx);
                l.tx -= 4 - std::abs(l.hx - l.tx);
            }
        }
        if (std::abs(l.hy - l.ty) < 4) {
            if (l.ty < Pcy - 1)
                l.hy -= 4 - std::abs(l.hy - l.ty);
            else
                l.hy += 4 - std::abs(l.hy - l.ty);
        }
        if (Pcy - 3 < l.ty && l.ty < Pcy + 3)
            segment();
        else
            canvas.arc({l.tx, l.ty, l.hx, l.hy}, {l.hx, l.tx}, {l.hx, l.tx});
        break;
    case 3:
        if (l.tx == Pcx)
            l.hx = Pcx;
        if (l.ty == Pcy) {
            l.hy = Pcy;
            segment();
        } else {
            const QPoint outline[5]
                    = {{l.tx, l.ty}, {l.hx, l.ty}, {l.hx, l.hy}, {l.tx, l.hy}, {l.tx, l.ty}};
            canvas.polyline(outline);
        }
        break;
    default:
        break;
    }
}

void VelocityState::rebirth(int i, const VelocityOptions &opts, int W, int H,
                            RandomGenerator &random, const EffectClock &clock)
{
    int nx, ny;
    if (opts.clock) {
        const QTime t = clock.localTime();
        FClockHour = quint16(t.hour());
        FClockMin = quint16(t.minute());
        FClockSec = quint16(t.second());
        FClockMSec = quint16(t.msec());
        const double pi = std::numbers::pi;
        double a;
        if (i < 25)
            a = (3 - (FClockHour + FClockMin / 60.0)) * pi / 6;
        else if (i < 50)
            a = (15 - (FClockMin + FClockSec / 60.0)) * pi / 30;
        else
            a = (15 - double(FClockSec)) * pi / 30;
        nx = Pcx + roundEven(std::cos(a) * kClockRadius);
        ny = Pcy - roundEven(std::sin(a) * kClockRadius);
    } else if (opts.roadMovie) {
        const int r1 = random.random(FVelDiv - 1);
        const int r2 = random.random(FVelDiv - 1);
        // The four groups start in the four quadrants around the centre.
        const int sx = (i < 25 || i >= 75) ? -1 : 1;
        const int sy = i < 50 ? -1 : 1;
        nx = Pcx + sx * (1 + r1);
        ny = Pcy + sy * (1 + r2);
    } else {
        nx = random.random(W);
        ny = random.random(H);
    }
    VelocityLine &l = FLines[i];
    l.tx = nx;
    l.ty = ny;
    if (nx == Pcx || ny == Pcy) {
        const int off = opts.clock ? 1 : 2;
        l.tx = Pcx + off;
        l.ty = Pcy + off;
    }
    l.hx = nx;
    l.hy = ny;
    FLineBright[i] = opts.clock ? 75 : 0;
}

void VelocityState::moveHead(int i, bool miniBlackHole)
{
    VelocityLine &l = FLines[i];
    const int dx = l.hx - Pcx, dy = l.hy - Pcy;
    if (miniBlackHole) {
        // No minimum step: heads within FVelDiv of the centre stand still.
        l.hx += dx / FVelDiv;
        l.hy += dy / FVelDiv;
        return;
    }
    auto step = [this](int d) { return std::abs(d) >= FVelDiv ? d / FVelDiv : (d > 0 ? 2 : -2); };
    l.hx += step(dx);
    l.hy += step(dy);
}

// A hand pointing exactly along an axis is kept straight, where the minimum
// step of the head would push it sideways.
void VelocityState::snapToAxis(int i)
{
    VelocityLine &l = FLines[i];
    auto vertical = [&] { l.tx = l.hx = Pcx; };
    auto horizontal = [&] { l.ty = l.hy = Pcy; };
    const int h = FClockHour, m = FClockMin, s = FClockSec;
    if (i < 25) {
        if (m == 0 && oneOf(h, {0, 6, 12, 18}))
            vertical();
        if (m == 0 && oneOf(h, {3, 9, 15, 21}))
            horizontal();
    } else if (i < 50) {
        if (oneOf(m, {0, 30}))
            vertical();
        if (oneOf(m, {15, 45}))
            horizontal();
    } else {
        if (oneOf(s, {0, 30}))
            vertical();
        if (oneOf(s, {15, 45}))
            horizontal();
    }
}

void VelocityState::drawCrosshair(Canvas &canvas)
{
    const int W = canvas.width(), H = canvas.height();
    quint32 colour;
    if (FLockHit) {
        colour = kLockColour;
        FLockHit = false;
    } else {
        colour = (Pcx == W / 2 && Pcy == H / 2) ? kCentredColour : kMovedColour;
    }
    canvas.setPenColor(colour);
    canvas.setPenWidth(1);
    const int strokes[4][4] = {{Pcx, Pcy - 10, Pcx, Pcy - 6},
                               {Pcx, Pcy + 6, Pcx, Pcy + 10},
                               {Pcx - 10, Pcy, Pcx - 6, Pcy},
                               {Pcx + 6, Pcy, Pcx + 10, Pcy}};
    for (const auto &s : strokes) {
        canvas.moveTo(s[0], s[1]);
        canvas.lineTo(s[2], s[3]);
    }
    const QPoint p(Pcx + 6, Pcx - 6);
    canvas.arc({Pcx - 6, Pcy - 6, Pcx + 6, Pcy + 6}, p, p);
}

void VelocityState::moveCentre(const VelocityOptions &opts, int W, int H, RandomGenerator &random)
{
    auto clamp = [&] {
        if (Pcx < 0)
            Pcx = 0;
        if (Pcy < 0)
            Pcy = 0;
        if (Pcx >= W)
            Pcx = W - 1;
        if (Pcy >= H)
            Pcy = H - 1;
    };
    if (opts.clock) {
        const int r = random.random(15);
        if (Pcx < FTargetX && (r == 0 || r == 2))
            Pcx += 1;
        if (Pcx > FTargetX && (r == 0 || r == 2))
            Pcx -= 1;
        if (Pcy < FTargetY && r == 2)
            Pcy += 1;
        if (Pcy > FTargetY && r == 1)
            Pcy -= 1;
        clamp();
        if (std::abs(Pcx - FTargetX) <= 1) {
            FTargetX = random.random(W / 4) + (W / 8) * 3;
            FTargetY = random.random(H / 5) + (H / 10) * 4;
        }
    } else if (Pmouse) {
        Pcx = FMouseX;
        Pcy = FMouseY;
    } else {
        const int r = random.random(3);
        if (Pcx < FTargetX)
            Pcx += r == 0 ? Pmvc : r == 2 ? 1 : 0;
        if (Pcx > FTargetX)
            Pcx -= r == 0 ? 1 : r == 2 ? Pmvc : 0;
        if (Pcy < FTargetY)
            Pcy += r == 0 ? Pmvc : r == 2 ? 1 : 0;
        if (Pcy > FTargetY)
            Pcy -= r == 1 ? 1 : r == 2 ? Pmvc : 0;
        clamp();
        if (std::abs(Pcx - FTargetX) <= 1) {
            FTargetX = random.random(W);
            FTargetY = random.random(H);
        }
    }
}

VelocityTick VelocityState::tick(const VelocityOptions &opts, Canvas &canvas,
                                 RandomGenerator &random, const EffectClock &clock)
{
    const int W = canvas.width(), H = canvas.height();
    const bool warmed = opts.roadMovie || opts.clock;
    VelocityTick result;

    canvas.setBrushColor(0);
    canvas.fillRect({0, 0, W, H});
    if (warmed && FVelWarm == 0)
        FVelWarm = 1;

    if (opts.clock) {
        const int x0 = (W / 8) * 3, x1 = (W / 8) * 5, y0 = (H / 10) * 4, y1 = (H / 10) * 6;
        Pcx = std::clamp(Pcx, x0, x1);
        Pcy = std::clamp(Pcy, y0, y1);
        if (FTargetX < x0 || FTargetX > x1)
            FTargetX = random.random(W / 4) + x0;
        if (FTargetY < y0 || FTargetY > y1)
            FTargetY = random.random(H / 5) + y0;
    }

    clock.reseed(random);

    const bool inWarmUp = warmed && FVelWarm >= 1 && FVelWarm <= 30;
    for (int i = 0; i < kLines; ++i) {
        const bool draw = !warmed || FVelWarm > 30;
        if (draw) {
            if (opts.clock) {
                drawClockLine(i, canvas, random);
            } else {
                drawFreeLine(i, canvas, random);
                const VelocityLine &l = FLines[i];
                const int need = Pform == 2 ? 200 : 90;
                if (Pdigi && l.tx > Pcx - 6 && l.ty > Pcy - 6 && l.hx < Pcx + 6 && l.hy < Pcy + 6
                    && FLineBright[i] > need)
                    FLockHit = true;
            }
        }

        if (inWarmUp)
            FLineBright[i] = 0;
        else if (FLineBright[i] < 230)
            FLineBright[i] = quint8(FLineBright[i] + 25);

        VelocityLine &l = FLines[i];
        l.tx = l.hx;
        l.ty = l.hy;
        if (l.tx < 0 || l.tx > W || l.ty < 0 || l.ty > H)
            rebirth(i, opts, W, H, random, clock);
        moveHead(i, opts.miniBlackHole);
        if (opts.clock && Pformt != 2)
            snapToAxis(i);
    }

    if (FLockHit && FLockCount < kLockLimit) {
        ++FLockCount;
        result.status = QStringLiteral("lock ") + QString::number(FLockCount);
    }

    if (opts.miniBlackHole && Pb && !opts.movement) {
        canvas.setBrushColor(0);
        canvas.setPenColor(0);
        const int r = FVelDiv + 2;
        canvas.rectangle({Pcx - r, Pcy - r, Pcx + r, Pcy + r});
    }

    if (opts.clock && Pdigit) {
        const quint32 colour = (Pcx == W / 2 && Pcy == H / 2) ? kClockTextColour : kMovedColour;
        canvas.setBrushClear();
        const QTime t = clock.localTime();
        canvas.textOut(Pcx - 23, Pcy - 10, clockText(t, QLocale()), clockFont(), colour);
    }

    if (!opts.clock && Pdigi)
        drawCrosshair(canvas);

    // The warm-up forces no repaint, but what it draws (the black picture,
    // the time) still reaches the screen when the window next paints.
    if (warmed) {
        if (FVelWarm > 30)
            result.repaint = true;
        else
            ++FVelWarm;
    } else {
        result.repaint = true;
    }
    result.update = !result.repaint;

    if (opts.movement)
        moveCentre(opts, W, H, random);
    return result;
}

void VelocityState::mouseMove(int x, int y)
{
    if (!Pmouse)
        return;
    FMouseX = x;
    FMouseY = y;
}

void VelocityState::clockChecked(int width, int height)
{
    Pcx = width / 2;
    Pcy = height / 2;
}

QString VelocityState::moveLevelStatus() const
{
    return QStringLiteral("MoveLevel ") + QString::number(Pmvc);
}

QString clockText(QTime time, const QLocale &locale)
{
    // Drop every unquoted run of 't' (the zone) with the blanks before it,
    // or after it when it opens the format; quoted text is kept as written.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            kept += c;
            continue;
        }
        if (quoted || c != u't') {
            kept += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u't')
            ++i;
        while (!kept.isEmpty() && kept.back().isSpace())
            kept.chop(1);
        if (kept.isEmpty())
            while (i + 1 < format.size() && format[i + 1].isSpace())
                ++i;
    }
    return locale.toString(time, kept.trimmed());
}

QFont VelocityState::clockFont()
{
    // A cell height of 17 pixels; the em of Times New Roman is about 0.9 of its cell.
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    font.setWeight(QFont::Medium);
    font.setStyleHint(QFont::Serif);
    return font;
}

} // namespace corvane

// The saver's show: settings read once, the book paged, then a finite state
// machine on two timers: a page stands, an animation runs, the next page.
#include "saver/SaverShow.h"

#include <QDateTime>
#include <QDir>
#include <QThread>

#include "core/Design.h"
#include "effects/Fades.h"
#include "settings/CorvaneSettings.h"
#include "settings/IniProfile.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"
#include "writing/PageComposer.h"

namespace corvane::saver {

namespace {

constexpr int kFrameMs = kEffectTickMs;

// An item of the program's settings table, read the way the program reads it.
class StoredItems
{
public:
    explicit StoredItems(const QString &path)
        : m_file(path.toStdString())
    {
    }
    int32_t integer(std::string_view name) const
    {
        for (const CorvaneSetting &s : corvaneSettings())
            if (s.name == name) {
                const int32_t fallback = settingAsInteger(s.defaultValue);
                const std::optional<std::string> v = m_file.read(s.section, s.ident);
                return v ? parseStoredInteger(*v).value_or(fallback) : fallback;
            }
        return 0;
    }
    // A stored boolean is true when its low byte is not zero, as the program reads it.
    bool boolean(std::string_view name) const { return (integer(name) & 0xFF) != 0; }
    std::string text(std::string_view name) const
    {
        for (const CorvaneSetting &s : corvaneSettings())
            if (s.name == name)
                return m_file.readString(s.section, s.ident, "");
        return {};
    }

private:
    IniProfile m_file;
};

EffectClock desktopClock()
{
    EffectClock clock;
    clock.utcMsOfDay = [] {
        return uint32_t(QDateTime::currentMSecsSinceEpoch() % (24LL * 60 * 60 * 1000));
    };
    clock.localTime = [] { return QTime::currentTime(); };
    return clock;
}

} // namespace

BookLook readBookLook(const QString &iniPath)
{
    const StoredItems ini(iniPath);
    BookLook look;
    look.writing.fadeOut = ini.boolean("LCheckBox5Checked");
    look.writing.fadeIn = ini.boolean("LCheckBox7Checked");
    look.writing.horizontal = ini.boolean("LCheckBox8Checked");
    look.writing.gothic = ini.boolean("LCheckBox15Checked");
    look.writing.FoColor = Colour(ini.integer("FoColor")) & 0xFFFFFF;
    look.writing.GColor = Colour(ini.integer("GColor")) & 0xFFFFFF;
    look.tenderly = ini.boolean("LCheckBox6Checked");
    look.keep = ini.boolean("LCheckBox11Checked");
    look.fileIn = ini.boolean("FFileIn");
    look.fileName = ini.text("FFileName");
    look.page = look.keep ? ini.integer("FPage") : 1;
    look.aozora = ini.boolean("Aozora");
    look.difference = {ini.boolean("LCheckBox1Checked"), ini.boolean("LCheckBox2Checked"),
                       ini.boolean("LCheckBox3Checked")};
    look.velocity = {ini.boolean("LCheckBox16Checked"), ini.boolean("LCheckBox17Checked"),
                     ini.boolean("LCheckBox18Checked"), ini.boolean("LCheckBox19Checked")};
    look.deepSeparation = ini.boolean("SepaCheckBoxChecked");
    look.deepBlack = ini.boolean("FBlackRect");
    return look;
}

SaverShow::SaverShow(const SaverOptions &options, const BookLook &look)
    : m_options(options)
    , m_look(look)
    , m_picture(kPictureWidth, kPictureHeight, QImage::Format_BGR888)
    , m_composer(std::make_unique<PageComposer>())
    , m_editor(std::make_unique<TEditor>())
    , m_clock(desktopClock())
    , m_canvas(&m_picture)
{
    m_picture.fill(toQColor(look.writing.GColor));
    // The same text the program would read now: the saved source, corvane.txt
    // in the current folder, or the built-in text.
    StartupText text = chooseStartupText(look.keep, look.fileIn, look.fileName,
                                         QFile::encodeName(QDir::currentPath()).toStdString());
    const bool normalise = text.origin == TextOrigin::Saved || text.normalise;
    m_pageCount = loadReading(*m_editor, std::move(text.bytes), normalise, look.aozora, m_marks);
    m_page = text.fromPageOne ? 1 : std::clamp(look.page, 1, std::max(m_pageCount, 1));
    m_deep.FBlackRect = look.deepBlack;
    m_deep.init(m_random, m_clock);

    m_phaseTimer.setSingleShot(true);
    connect(&m_phaseTimer, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Page && m_options.animationSeconds > 0)
            startAnimation();
        else
            writePage();
    });
    m_frameTimer.setInterval(kFrameMs);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] { frame(); });
}

SaverShow::~SaverShow() = default;

void SaverShow::begin()
{
    if (present)
        present();
    writePage();
}

FadeContext SaverShow::fadeContext()
{
    return {m_random,
            [this] {
                // One step a display frame, as in the window.
                if (present)
                    present();
                QThread::msleep(16);
            },
            m_look.tenderly, false};
}

void SaverShow::writePage()
{
    m_frameTimer.stop();
    m_phase = Phase::Page;
    const PageRows rows = pageRows(*m_editor, m_page);
    const std::vector<RowMark> marks = m_marks.pageMarks(m_page);
    const EcritureRows source{[] {}, [&rows] { return std::span<const std::string>(rows); },
                              [&] {
                                  return PageMarks{marks, m_marks.strings};
                              }};
    EcritureOptions options = m_look.writing;
    options.FFileIn = true; // the rows are given, not taken from a window
    Ecriture(m_picture, *m_composer, m_shown, options, source, fadeContext());
    if (present)
        present();
    m_page = m_page >= m_pageCount ? 1 : m_page + 1;
    m_phaseTimer.start(m_options.pageSeconds * 1000);
}

void SaverShow::startAnimation()
{
    m_phase = Phase::Animation;
    m_running = m_next;
    m_next = Animation((int(m_next) + 1) % 3);
    // Each start fades to its ground first, as the program's starts do.
    const FadeContext context = fadeContext();
    switch (m_running) {
    case Animation::Difference:
        PFadeOutB(m_picture, m_shown, context);
        m_difference.start(m_look.difference, m_canvas, m_random, m_clock, m_shown);
        break;
    case Animation::Velocity:
        PFadeOutB(m_picture, m_shown, context);
        m_velocity.start(m_look.velocity, m_canvas, m_random, m_clock, m_shown);
        break;
    case Animation::Deep:
        if (m_deep.FBlackRect)
            PFadeOutB(m_picture, m_shown, context);
        else
            PFadeOutW(m_picture, m_shown, context);
        m_deep.start(m_canvas);
        break;
    }
    m_shown.FBColor = true; // the next page fades in from the animation's ground
    m_shown.FPageShown = false;
    if (present)
        present();
    m_frameTimer.start();
    m_phaseTimer.start(m_options.animationSeconds * 1000);
}

void SaverShow::frame()
{
    switch (m_running) {
    case Animation::Difference:
        m_difference.tick(m_canvas, m_random);
        break;
    case Animation::Velocity:
        m_velocity.tick(m_look.velocity, m_canvas, m_random, m_clock);
        break;
    case Animation::Deep:
        m_deep.tick(m_look.deepSeparation, m_canvas, m_random);
        break;
    }
    if (present)
        present();
}

} // namespace corvane::saver

// What corvane-saver shows: the reader's book, page after page, written with
// the program's fades and colours, an animation between two pages. It reads
// the program's settings once and never writes them. The show draws on its
// own 481 x 351 picture; a window shows that picture (saver/main.cpp).
#pragma once
#include <QImage>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "effects/Canvas.h"
#include "effects/Deep.h"
#include "effects/Difference.h"
#include "effects/EffectCommon.h"
#include "effects/Random.h"
#include "effects/Velocity.h"
#include "saver/SaverOptions.h"
#include "text/AozoraLayout.h"
#include "writing/Ecriture.h"

namespace corvane {
class PageComposer;
class TEditor;
} // namespace corvane

namespace corvane::saver {

// The settings the show takes from the program's settings file.
struct BookLook
{
    EcritureOptions writing;
    bool tenderly = true;
    bool keep = true, fileIn = false;
    std::string fileName; // the saved source, as stored
    int page = 1;
    bool aozora = true; // an Aozora text read with its markup, as the reader reads it
    DifferenceOptions difference;
    VelocityOptions velocity;
    bool deepSeparation = false, deepBlack = true;
};
// Missing items and a missing file give the program's defaults.
BookLook readBookLook(const QString &iniPath);

class SaverShow : public QObject
{
public:
    SaverShow(const SaverOptions &options, const BookLook &look);
    ~SaverShow() override;

    const QImage &picture() const { return m_picture; }
    int pageCount() const { return m_pageCount; }
    std::function<void()> present; // show the picture now (a fade step or a frame)
    void begin();                  // writes the first page, then runs by itself

private:
    enum class Phase { Page, Animation };
    enum class Animation { Difference, Velocity, Deep };
    void writePage();
    void startAnimation();
    void frame();
    FadeContext fadeContext();

    SaverOptions m_options;
    BookLook m_look;
    QImage m_picture;
    std::unique_ptr<PageComposer> m_composer;
    std::unique_ptr<TEditor> m_editor;
    AozoraPages m_marks; // the text's annotations when read as an Aozora text
    int m_pageCount = 0;
    int m_page = 1;
    RandomGenerator m_random;
    EffectClock m_clock;
    Canvas m_canvas;
    DifferenceState m_difference;
    VelocityState m_velocity;
    DeepState m_deep;
    Animation m_next = Animation::Difference;
    Animation m_running = Animation::Difference;
    Phase m_phase = Phase::Page;
    PictureState m_shown; // what stands on the picture
    QTimer m_phaseTimer;  // end of a page's or an animation's time
    QTimer m_frameTimer;  // animation frames
};

} // namespace corvane::saver

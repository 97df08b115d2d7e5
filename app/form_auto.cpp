// Pages that turn themselves: the key "t" and the menu's "Auto" switch it;
// while on, autoTimer runs the forward command every interval, and any key
// or click starts the interval again. Optionally an animation of the user's
// choice fills the second half of each interval. Writes autoPages, the two
// timers and the menu's Auto items.
#include "app/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "app/Guarded.h"
#include "app/MenuStyle.h"

using namespace corvane;

namespace {

// Sees every key and click of the program, before whoever takes it.
class AutoRestart : public QObject
{
public:
    explicit AutoRestart(TForm1 &form)
        : QObject(&form)
        , m_form(form)
    {
        qApp->installEventFilter(this);
    }
    ~AutoRestart() override
    {
        if (qApp)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::KeyPress || t == QEvent::MouseButtonPress
            || t == QEvent::MouseButtonDblClick || t == QEvent::Wheel)
            m_form.restartAuto();
        return false;
    }

private:
    TForm1 &m_form;
};

struct AnimationChoice
{
    const char *caption;
    void (TForm1::*start)();
};
// clang-format off
constexpr AnimationChoice kBetween[kAutoAnimationCount] = {
    {"Nothing", nullptr},
    {"Difference", &TForm1::Effect1Click},
    {"Velocity", &TForm1::VelocityClick},
    {"Deep (Mu-gen)", &TForm1::RectButtonClick},
    {"plan de arts", &TForm1::fineartsClick},
};
// clang-format on

QString marked(const QString &caption, bool chosen)
{
    return (chosen ? QStringLiteral("\u2022 ") : QStringLiteral("   ")) + caption;
}

} // namespace

void TForm1::createAuto()
{
    autoTimer = new QTimer(this);
    connect(autoTimer, &QTimer::timeout, this, guarded([this] { autoTick(); }));
    autoHalfTimer = new QTimer(this);
    autoHalfTimer->setSingleShot(true);
    connect(autoHalfTimer, &QTimer::timeout, this, guarded([this] { autoHalfTick(); }));
    new AutoRestart(*this);

    // The Auto items follow the menu's own, after a rule of their own.
    auto add = [this](QAction *a) {
        PopupMenu1->addAction(a);
        return a;
    };
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N7"));

    autoAction = add(new QAction(QStringLiteral("Auto"), PopupMenu1));
    autoAction->setObjectName(QStringLiteral("autoAction"));
    autoAction->setStatusTip(QStringLiteral("Pages turn themselves  t"));
    connect(autoAction, &QAction::triggered, this, guarded([this] { toggleAuto(); }));

    autoSecondsMenu = new QMenu(QStringLiteral("Auto every"), PopupMenu1);
    autoSecondsMenu->setObjectName(QStringLiteral("autoSecondsMenu"));
    drawMenuItself(autoSecondsMenu, kMenuItemWidth, true);
    for (int s : kAutoSeconds) {
        QAction *a = autoSecondsMenu->addAction(QString());
        a->setData(s);
        a->setStatusTip(QStringLiteral("Auto interval, doubled in Slow"));
        connect(a, &QAction::triggered, this, guarded([this, s] { setAutoSeconds(s); }));
    }
    autoSecondsMenu->menuAction()->setObjectName(QStringLiteral("autoSecondsMenu"));
    add(autoSecondsMenu->menuAction())->setStatusTip(QStringLiteral("Auto interval"));

    autoBetweenMenu = new QMenu(QStringLiteral("Auto between"), PopupMenu1);
    autoBetweenMenu->setObjectName(QStringLiteral("autoBetweenMenu"));
    drawMenuItself(autoBetweenMenu, kMenuItemWidth, true);
    for (int i = 0; i < kAutoAnimationCount; ++i) {
        QAction *a = autoBetweenMenu->addAction(QString());
        a->setData(i);
        a->setStatusTip(QStringLiteral("Animation for the second half of the interval"));
        connect(a, &QAction::triggered, this, guarded([this, i] { setAutoAnimation(i); }));
    }
    autoBetweenMenu->menuAction()->setObjectName(QStringLiteral("autoBetweenMenu"));
    add(autoBetweenMenu->menuAction())->setStatusTip(QStringLiteral("Between pages"));
    showAutoChoices();
}

void TForm1::showAutoChoices()
{
    for (QAction *a : autoSecondsMenu->actions())
        a->setText(marked(QStringLiteral("%1 s").arg(a->data().toInt()),
                          a->data().toInt() == autoPages.seconds));
    for (QAction *a : autoBetweenMenu->actions())
        a->setText(marked(QString::fromLatin1(kBetween[a->data().toInt()].caption),
                          a->data().toInt() == autoPages.animation));
}

void TForm1::toggleAuto()
{
    autoPages.on = !autoPages.on;
    setStatus(QString::fromLatin1(autoPages.on ? kAutoOn : kAutoOff));
    showAutoChoices();
    restartAuto();
}

void TForm1::setAutoSeconds(int seconds)
{
    autoPages.seconds = nearestAutoSeconds(seconds);
    showAutoChoices();
    restartAuto();
}

void TForm1::setAutoAnimation(int which)
{
    autoPages.animation = which;
    autoPages.normalise();
    showAutoChoices();
    restartAuto();
}

void TForm1::restartAuto()
{
    if (!autoTimer)
        return;
    if (!autoPages.on) {
        autoTimer->stop();
        autoHalfTimer->stop();
        return;
    }
    const int interval = autoPages.intervalMs(checked(OptionBox::Slow));
    autoTimer->start(interval);
    if (autoPages.between() != AutoAnimation::None)
        autoHalfTimer->start(interval / 2);
    else
        autoHalfTimer->stop();
}

bool TForm1::autoMustWait() const
{
    // A page command or plasma build under way lets events run: the tick would
    // write inside it. A dialog (colour, save) keeps the picture as it is.
    return opensMustWait() || m_closing || QApplication::activeModalWidget() != nullptr;
}

void TForm1::autoTick()
{
    if (autoMustWait())
        return; // the next interval tries again
    TriButton1Click();
    restartAuto(); // the write took time: the next interval counts from its end
}

void TForm1::autoHalfTick()
{
    const AnimationChoice &c = kBetween[autoPages.animation];
    if (!c.start || autoMustWait() || busy())
        return;
    (this->*c.start)();
}

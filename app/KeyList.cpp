// The list of keys and menu items for the user (docs/keys.md), printed from
// the key tables and the window's context menu so that it cannot drift from
// what they do. Reads the tables and PopupMenu1; writes nothing.
#include "app/KeyTable.h"
#include "app/TForm1.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

namespace corvane {

namespace {

QString code(const QString &s)
{
    return QLatin1Char('`') + s + QLatin1Char('`');
}

QString quoted(const char *text)
{
    if (!text)
        return QString();
    const QString t = QString::fromLatin1(text);
    // A text ending in a space is followed by a number (as "bright " 90).
    if (t.endsWith(QLatin1Char(' ')))
        return QLatin1Char('"') + t + QStringLiteral("\" + number");
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString statusColumn(const char *wasSet, const char *wasNot)
{
    if (wasSet && wasNot)
        return quoted(wasSet) + QStringLiteral(" / ") + quoted(wasNot);
    return quoted(wasSet ? wasSet : wasNot);
}

QString keysColumn(const char *keys)
{
    if (!keys)
        return QStringLiteral("any key");
    QStringList list;
    for (int i = 0; keys[i]; ++i)
        list << code(QString(QLatin1Char(keys[i])));
    return list.join(QLatin1Char(' '));
}

// What each item of the context menu does, in the user's words.
struct MenuItemWords
{
    const char *name, *does;
};
constexpr MenuItemWords kMenuWords[] = {
        {"RunR1", "start Difference"},
        {"Deep1", "start Deep"},
        {"RunalongA1", "stop the running animation"},
        {"Velocity1", "start Velocity"},
        {"plandeartsA1", "start plan de arts"},
        {"Bitmapsave1", "save the picture as a bitmap"},
        {"FColorF1", "choose the text colour"},
        {"BgColorB1", "choose the background colour"},
        {"BgRandomM1", "a random background colour"},
        {"AboutT1", "the About screen"},
        {"LeafL1", "set the bookmark at this page"},
        {"GoG1", "go to the bookmark"},
        {"Ecriture1", "the next page"},
        {"BackPage1", "the previous page"},
        {"Reset2", "back to page 1"},
        {"aozoraItem", "switch the Aozora reading mode"},
        {"Small2", "hide to the notification area"},
        {"Exit2", "close the program"},
        {"autoAction", "Auto: the next page every interval, or no more"},
        {"autoSecondsMenu", "the Auto interval: 30, 60, 120 or 300 s, doubled in Slow"},
        {"autoBetweenMenu", "the animation for the second half of each interval, or none"},
        {"fullScreenAction", "the picture alone on the whole screen (F11; Esc goes back)"},
};

QString menuItemDoes(const QString &name)
{
    for (const MenuItemWords &w : kMenuWords)
        if (name == QLatin1String(w.name))
            return QString::fromLatin1(w.does);
    return QStringLiteral("(undescribed)");
}

QString row(const QStringList &cells)
{
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}

} // namespace

QString keysMarkdown(const TForm1 &form)
{
    QString md;
    md += QStringLiteral(
            "# Keys and menu items\n\n"
            "<!-- Printed from the key tables (app/form_keys.cpp) and the context menu "
            "(app/form_menu.cpp) by\n"
            "     CORVANE_WRITE_KEYS=1 build/tests/test_app --gtest_filter='KeyList.*'; the test "
            "fails when they differ. -->\n\n"
            "The window sees every key before the control that has the focus. Keys are compared "
            "exactly: "
            "only the lower-case letters listed act, and Shift or Caps Lock turns them into other "
            "keys.\n\n"
            "## Character keys\n\n"
            "Tested in this order; every matching step acts, so one key may do several things. "
            "The status text appears in the hint line at the top right; a toggle shows the first "
            "text when it switches the option off, the second when it switches it on. Names in "
            "`code` are the program's own, for developers.\n\n");
    md += row({QStringLiteral("Step"), QStringLiteral("Key"), QStringLiteral("Condition"),
               QStringLiteral("Action"), QStringLiteral("Status text")});
    md += row({QStringLiteral("---"), QStringLiteral("---"), QStringLiteral("---"),
               QStringLiteral("---"), QStringLiteral("---")});
    for (const KeyPressStep &s : keyPressSteps())
        md += row({QString::number(s.step), keysColumn(s.keys),
                   QString::fromLatin1(describe(s.when)), QString::fromLatin1(s.does),
                   statusColumn(s.wasSet, s.wasNot)});

    md += QStringLiteral(
            "\n## Other keys\n\nTested in this order, before the character keys; every matching "
            "row acts.\n\n");
    md += row({QStringLiteral("Key (code)"), QStringLiteral("Condition"), QStringLiteral("Action"),
               QStringLiteral("Status text")});
    md += row({QStringLiteral("---"), QStringLiteral("---"), QStringLiteral("---"),
               QStringLiteral("---")});
    for (const KeyDownStep &s : keyDownSteps())
        md += row({QString::fromLatin1(s.name), QString::fromLatin1(describe(s.when)),
                   QString::fromLatin1(s.does), statusColumn(s.wasSet, s.wasNot)});

    md += QStringLiteral(
            "\n## Context menu\n\nA right click on the window, or the key `y`, opens it. The "
            "shortcuts work anywhere in the window, with the menu open or not.\n\n");
    md += row({QStringLiteral("Item"), QStringLiteral("Action"), QStringLiteral("Shortcut"),
               QStringLiteral("Hint")});
    md += row({QStringLiteral("---"), QStringLiteral("---"), QStringLiteral("---"),
               QStringLiteral("---")});
    for (const QAction *a : form.PopupMenu1->actions()) {
        if (a->isSeparator()) {
            md += row({QStringLiteral("(separator)"), QString(), QString(), QString()});
            continue;
        }
        const QString keys = a->shortcut().toString(QKeySequence::PortableText);
        md += row({QLatin1Char('"') + a->text() + QLatin1Char('"'), menuItemDoes(a->objectName()),
                   keys.isEmpty() ? QString() : code(keys),
                   a->statusTip().isEmpty()
                           ? QString()
                           : QLatin1Char('"') + a->statusTip() + QLatin1Char('"')});
    }
    return md;
}

} // namespace corvane

// The popup menus' own drawing: every item filled with 0xFFB3B3, the caption
// from x = 15 in the menu's font and text colour, a separator as a dark and a
// light line across its middle; fixed item sizes, no frame or margin.
#include "app/MenuStyle.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include "core/Design.h"

namespace corvane {

namespace {

constexpr uint32_t kMenuFace = 0xFFB3B3;  // item background, 0x00BBGGRR
constexpr uint32_t kRuleDark = 0x1A9185;  // upper line of a separator
constexpr uint32_t kRuleLight = 0xA7EFE8; // lower line of a separator
constexpr int kTextLeft = 15;             // caption's left edge within the item

bool isSeparator(const QStyleOptionMenuItem &item)
{
    return item.menuItemType == QStyleOptionMenuItem::Separator;
}

} // namespace

MenuStyle::MenuStyle(int itemWidth, bool ownSeparators)
    : m_itemWidth(itemWidth)
    , m_ownSeparators(ownSeparators)
{
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuItem || !item || (isSeparator(*item) && !m_ownSeparators)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The same whether highlighted or not; only the caption is written, never
    // the shortcut text.
    const QRect r = item->rect;
    painter->save();
    painter->fillRect(r, toQColor(kMenuFace));
    if (isSeparator(*item)) {
        const int mid = r.top() + r.height() / 2;
        // QRect's right() is the last pixel; the lines stop one short of the edges.
        painter->setPen(toQColor(kRuleDark));
        painter->drawLine(r.left() + 1, mid, r.right() - 1, mid);
        painter->setPen(toQColor(kRuleLight));
        painter->drawLine(r.left() + 1, mid + 1, r.right() - 1, mid + 1);
    } else {
        const QString caption = item->text.section(QLatin1Char('\t'), 0, 0);
        painter->setPen(item->palette.color(item->state & State_Enabled ? QPalette::Active
                                                                        : QPalette::Disabled,
                                            QPalette::Text));
        painter->drawText(r.adjusted(kTextLeft, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    }
    painter->restore();
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                  const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (!isSeparator(*item))
        return {m_itemWidth, kMenuItemHeight};
    if (m_ownSeparators)
        return {m_itemWidth, kMenuSeparatorHeight};
    // The platform's separator at its own height, but no wider than the items:
    // the menu takes the width of its widest entry.
    return {m_itemWidth, QProxyStyle::sizeFromContents(type, option, size, widget).height()};
}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                           const QWidget *widget) const
{
    // The items fill the menu to its edge: no frame or margin of the style's own.
    switch (metric) {
    case PM_MenuPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void drawMenuItself(QMenu *menu, int itemWidth, bool ownSeparators)
{
    auto *style = new MenuStyle(itemWidth,
                                ownSeparators); // the application's style for everything else
    style->setParent(menu);
    menu->setStyle(style);
}

} // namespace corvane

// The look of the window's two popup menus, the context menu PopupMenu1 and
// the tray menu PopupMenu2: the window draws their items itself, flat lilac
// whether highlighted or not, the caption from x = 15, and a two-tone rule
// for a separator.
#pragma once
#include <QProxyStyle>

class QMenu;

namespace corvane {

inline constexpr int kMenuItemWidth = 105; // PopupMenu1's items and separators, pixels
inline constexpr int kTrayItemWidth = 60;  // PopupMenu2's items ("Show", "Close")
inline constexpr int kMenuItemHeight = 25;
inline constexpr int kMenuSeparatorHeight = 10;

class MenuStyle : public QProxyStyle
{
public:
    // ownSeparators false: the separators are the platform's own, at its size.
    MenuStyle(int itemWidth, bool ownSeparators);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;

private:
    int m_itemWidth;
    bool m_ownSeparators;
};

// Gives the menu this look; the style belongs to the menu.
void drawMenuItself(QMenu *menu, int itemWidth, bool ownSeparators);

} // namespace corvane

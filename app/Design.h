// Design numbers of the window and the picture, in one place.
#pragma once
#include <QColor>
#include <cstdint>

#include "effects/EffectCommon.h"

namespace corvane {

// kPictureWidth, kPictureHeight (Image1, pixels) come with the effects' common header.
inline constexpr int kPanelLeft = 27;       // Panel1 on the window face
inline constexpr int kPanelTop = 29;
inline constexpr int kFaceWidth = 680;      // the region bitmap covers the whole face
inline constexpr int kFaceHeight = 425;
inline constexpr uint32_t kFaceColour = 11253661; // 0xABB79D, the window colour

inline constexpr int kDeferredLoadMs = 500;     // Timer2
inline constexpr int kEffectTickMs = 55;        // Timer1, Timer3, Timer5
inline constexpr int kEffectTickSlowMs = 110;
inline constexpr int kArtsTickMs = 7000;        // Timer4
inline constexpr int kArtsTickSlowMs = 12000;

// Colours are stored and computed as 0x00BBGGRR, red in the low byte, as the
// settings file keeps them. This is the one place that turns them into Qt's.
inline QColor toQColor(uint32_t bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

inline uint32_t fromQColor(const QColor &c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

} // namespace corvane

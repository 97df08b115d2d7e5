// The design numbers of the window, the picture and the page, and the colour
// type, in one place below every subsystem: code elsewhere names these
// constants instead of repeating the numbers.
#pragma once
#include <QColor>
#include <cstddef>
#include <cstdint>

namespace corvane {

// A colour 0x00BBGGRR, red in the low byte: in fields, in the settings file
// and in drawing alike. The high byte is always 0.
using Colour = uint32_t;

// This and fromQColor are the only bridges between the program's colours and Qt's.
inline QColor toQColor(Colour bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

inline Colour fromQColor(const QColor &c)
{
    return Colour(c.red()) | (Colour(c.green()) << 8) | (Colour(c.blue()) << 16);
}

// The picture Image1 and the black panel holding it on the window face.
inline constexpr int kPictureWidth = 481;
inline constexpr int kPictureHeight = 351;
inline constexpr int kPanelLeft = 27;
inline constexpr int kPanelTop = 29;

// The window face: the region bitmap covers it whole.
inline constexpr int kFaceWidth = 680;
inline constexpr int kFaceHeight = 425;

// Pages: rows of at most kRowColumns display columns (the wrap width of the
// window's editor), kPageRows rows to a page, and no page row holding more
// than kRowByteLimit bytes.
inline constexpr int kRowColumns = 36;
inline constexpr int kPageRows = 13;
inline constexpr std::size_t kRowByteLimit = 255;

// The fixed "Tenderly" grain adds 0..kGrainAmount-1 to every colour byte.
inline constexpr int kGrainAmount = 15;

inline constexpr Colour kDefaultTextColour = 15197922; // 0xE7E6E2, FoColor when nothing is stored
inline constexpr Colour kDefaultBackground = 5266509;  // 0x505C4D, GColor when nothing is stored
inline constexpr Colour kFaceColour = 11253661;        // 0xABB79D, the window colour
inline constexpr Colour kLightGrey = 15198183;         // 0xE7E7E7, Deep's and "Deep White"'s ground

// Timer intervals in milliseconds; the slow ones apply while "Slow" is checked.
inline constexpr int kDeferredLoadMs = 500; // Timer2, once after start-up
inline constexpr int kEffectTickMs = 55;    // Timer1, Timer3, Timer5
inline constexpr int kEffectTickSlowMs = 110;
inline constexpr int kArtsTickMs = 7000; // Timer4
inline constexpr int kArtsTickSlowMs = 12000;
// Pages that turn themselves: the interval before "Slow" doubles it, seconds.
inline constexpr int kAutoDefaultSeconds = 60;

} // namespace corvane

#pragma once

#include <QFont>
#include <QRgb>
#include <QStringList>
#include <QtGlobal>

// The viewer's navy theme for the message boxes, the same colours its skins draw every other
// window in. The boxes are drawn here rather than from a skin file: a box must still appear
// when start-up fails because the skins are missing.
namespace MessageBoxTheme {

inline constexpr QRgb kBackground = qRgb(26, 27, 54);
inline constexpr QRgb kLine = qRgb(38, 37, 95);
inline constexpr QRgb kStrip = qRgb(19, 20, 41);
inline constexpr QRgb kFooter = qRgb(23, 24, 47);
inline constexpr QRgb kCaption = qRgb(228, 229, 255);
inline constexpr QRgb kText = qRgb(255, 255, 255);
inline constexpr QRgb kFocus = qRgb(46, 200, 216);

inline constexpr QRgb kCloseGlyph = qRgb(169, 171, 214);
inline constexpr QRgb kCloseHover = qRgb(229, 72, 77);
inline constexpr QRgb kClosePressed = qRgb(185, 58, 62);

inline constexpr QRgb kPrimaryTop = qRgb(58, 214, 228);
inline constexpr QRgb kPrimaryBottom = qRgb(31, 171, 187);
inline constexpr QRgb kPrimaryHoverTop = qRgb(106, 228, 239);
inline constexpr QRgb kPrimaryHoverBottom = qRgb(43, 188, 203);
inline constexpr QRgb kPrimaryPressed = qRgb(23, 135, 147);
inline constexpr QRgb kPrimaryLabel = qRgb(14, 16, 38);
inline constexpr QRgb kPrimaryPressedLabel = qRgb(232, 251, 253);

inline constexpr QRgb kPill = qRgb(38, 39, 90);
inline constexpr QRgb kPillEdge = qRgb(58, 58, 133);
inline constexpr QRgb kPillHover = qRgb(48, 49, 107);
inline constexpr QRgb kPillPressed = qRgb(23, 60, 79);
inline constexpr QRgb kPillLabel = qRgb(230, 231, 255);

inline constexpr QRgb kLogoTop = qRgb(54, 210, 224);
inline constexpr QRgb kLogoBottom = qRgb(75, 79, 196);
inline constexpr QRgb kLogoInner = qRgb(20, 21, 48);
inline constexpr QRgb kLogoRing = qRgb(95, 220, 232);
inline constexpr QRgb kLogoDot = qRgb(255, 213, 74);

inline constexpr QRgb kCritical = qRgb(229, 72, 77);
inline constexpr QRgb kQuestion = qRgb(46, 200, 216);
inline constexpr QRgb kExclamation = qRgb(255, 213, 74);
inline constexpr QRgb kInformation = qRgb(91, 111, 232);

// The skins' font: the Traditional Chinese face first, so both languages share one look.
inline QFont font(int pixelSize, QFont::Weight weight = QFont::Normal) {
    QFont result;
    result.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans CJK SC"),
                        QStringLiteral("DejaVu Sans")});
    result.setPixelSize(pixelSize);
    result.setWeight(weight);
    return result;
}

}  // namespace MessageBoxTheme

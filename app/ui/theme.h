#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QDateTimeEdit;

// The design tokens of the one visual theme and the small painting helpers
// built on them. State is process-wide and GUI-thread only; the colour getters
// answer for the current mode, so every widget that reads them at paint time
// follows a switch of mode or accent. Only ThemeManager switches the mode.
namespace Theme {

QColor canvas();
QColor surface();
QColor surfaceMuted();
QColor border();
QColor borderStrong();
QColor textPrimary();
QColor textMuted();
QColor textDisabled();
// The user's accent when it parses as a colour, else the theme's.
QColor accent();
QColor accentMuted();
QColor danger();

// 1 = dark, anything else light.
void setMode(int dark);
bool isDark();

// The accent exactly as the user gave it; empty means the default.
QString accentName();
void setAccent(const QString &accent);

QString sansFamily();
QString iconFontFamily();
// An empty family is ignored.
void setIconFontFamily(const QString &family);

// Black or white, whichever contrasts more with `background` by its relative
// luminance: black on yellow, white on navy.
QColor textOn(const QColor &background);

// "#rrggbb" for opaque colours, else "rgba(r, g, b, a.aaa)".
QString cssColor(const QColor &color);

// A 14x14 round swatch; text that is not a colour draws "#9aa0a6".
QIcon colorDotIcon(const QString &color);
// One glyph of the icon font, centred in a size x size square at the
// application's device pixel ratio. Draws with the fallback font when the
// icon font is not loaded.
QIcon glyphIcon(char16_t codePoint, int size, const QColor &color);

QString checkListStyleSheet();
void applyFirstDayOfWeek(QDateTimeEdit *edit, Qt::DayOfWeek day);

// ":/styles/calendar.qss" with every @token replaced; empty when the resource
// is missing.
QString stylesheet();

} // namespace Theme

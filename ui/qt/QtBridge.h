#pragma once

// Private to ui/: the conversions between the controls' values and Qt's.

#include "ui/TColor.h"
#include "ui/TFont.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <string>

class QObject;
class TControl;

// GBK bytes to Qt text and back.
QString ToQt(const std::string& gbk);
std::string FromQt(const QString& text);

// A system colour is looked up in the application's palette.
QColor ToQColor(TColor color);

// Families tried for a font name, nearest first; Chinese glyphs come from
// fontconfig's fallback.
QStringList FontFamilies(const std::string& name);
QFont ToQFont(const TFont& font);

// The control a widget belongs to, or nullptr for Qt's inner widgets.
void SetControlOf(QObject& widget, TControl* control);
TControl* ControlOf(const QObject* widget);

// Small builders for the fixed-position controls of the pages: every control stands where the layout puts it.
#pragma once
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

enum class TFrameLook { Raised, Sunken };

// A framed panel at a fixed place.
QFrame* MakePanel(QWidget* parent, int left, int top, int width, int height,
                  TFrameLook look = TFrameLook::Raised);
// A label sized to its text at (left, top).
QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top);
// A bold label; a heading when pixelSize is given (16 pixels for the page titles).
QLabel* MakeBoldLabel(QWidget* parent, const QString& text, int left, int top, int pixelSize = 0);
// A sunken static text of fixed size that wraps its lines (warnings, descriptions).
QLabel* MakeStaticText(QWidget* parent, int left, int top, int width, int height);
QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top, int width, int height);
// A 32 x 32 picture of the program's own.
enum class TIcon { GoogleEarth, Orbiter, FlightResults };
QLabel* MakePicture(QWidget* parent, TIcon icon, int left, int top);

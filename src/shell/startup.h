#pragma once

#include <QDate>
#include <QIcon>
#include <QImage>
#include <QString>

class QTranslator;
class QWidget;

// Program-wide texts and the checks made once at program begin.
namespace kovanta {

// The application title: message box captions and the task bar. The main window's caption
// differs from it by a second blank ("VEMO-KOVANTA  Rezepturendisplay").
QString applicationTitle();
QString mainWindowCaption();

// The warning shown when the system date lies before 1 January 1999, or an empty text when
// today is later. The date is written as dd.MM.yyyy.
QString y2kWarning(const QDate& today);

// Loads Qt's own German texts (standard buttons, file and print dialogs, print preview) when
// they are installed, so that the dialogs Qt draws speak the language of the rest of the
// program. Returns the installed translator (owned by the application object), or nullptr when
// none could be loaded; the program then shows Qt's English texts and carries on.
QTranslator* installGermanQtTexts();

// Shows the warning for today's date in a message box when there is one.
void showY2kWarningIfNeeded(QWidget* parent = nullptr);

// The program icon: a green dome with a white "K", drawn at the sizes a desktop asks for.
// The installed icons (packaging/) are drawn by the same painter; the SVG follows its shapes.
QIcon programIcon();
// One size of it, transparent around the dome.
QImage programIconImage(int size);

} // namespace kovanta

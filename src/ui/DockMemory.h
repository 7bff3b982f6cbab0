// Remembers whether a dock is shown from one start to the next: choosing it in
// the View menu and closing it with its own button both count. Hiding it for
// another reason (the window closing) does not.
#pragma once

#include <QString>

class Preferences;
class QDockWidget;

// Keeps the view preference key up to date with the dock's choices; the
// caller shows the dock at start as the preference says.
void rememberDockShown(QDockWidget &dock, Preferences &preferences, const QString &key);

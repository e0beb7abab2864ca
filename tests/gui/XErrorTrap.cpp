// Kept apart from JUCE code: Xlib's macros clash with JUCE names.
#include <X11/Xlib.h>

namespace
{
int ignoreXError (Display*, XErrorEvent*)
{
    return 0;
}

// Before JUCE touches X: a console program gets neither JUCE's XInitThreads() nor its tolerant
// error handler (a JUCEApplication installs them), and without a window manager the first
// window makes the server report an error that Xlib's default handler turns into an exit.
const bool xPrepared = []
{
    XInitThreads();
    XSetErrorHandler (ignoreXError);
    return true;
}();
} // namespace

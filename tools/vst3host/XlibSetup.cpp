#include "XlibSetup.h"

#include <X11/Xlib.h>

namespace
{
int ignoreXError (Display*, XErrorEvent*)
{
    return 0;
}
} // namespace

void prepareXlibForPluginHosting()
{
    XInitThreads();
    XSetErrorHandler (ignoreXError);
}

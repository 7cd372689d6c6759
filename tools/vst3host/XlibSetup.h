#pragma once

// Prepares Xlib for a host that is not a framework application (so the
// framework does not do it) and that loads plug-ins which talk to the X server
// from their own threads: enables Xlib's thread support and installs an error
// handler that ignores X errors instead of ending the process. Without a window
// manager some atoms do not exist, and property requests on them fail
// harmlessly. Must run before any other Xlib call.
void prepareXlibForPluginHosting();

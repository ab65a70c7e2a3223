// Windows that our layer shows inside native windows (an X11 host's, or a
// host built on another copy of this layer) have no host message loop that
// dispatches their messages. The editor's idle pass calls this instead.
#pragma once

namespace win32subset {

// Reads the native events and dispatches the messages of every hosted
// window. Inside a window procedure (a knob's drag loop) it only reads the
// events: the messages wait until the procedure returns. Without hosted
// windows it does nothing at all.
void dispatchHostedWindowMessages();

}  // namespace win32subset

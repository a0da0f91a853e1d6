// Ends the menus and dialogs this thread has open, as Escape would: the
// tracked menu (EndMenu) and every dialog window of the thread (message
// boxes, the prompt dialog) with IDCANCEL.
#pragma once

namespace wlk::app {

void CloseThreadMenusAndDialogs();

}  // namespace wlk::app

#pragma once
// Every command of the main window's menus and start panel, wired once to
// the part of the window that does it.

namespace ui {

class TForm1;

void wireMenus(TForm1& window);

}  // namespace ui

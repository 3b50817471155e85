#include "app/core/MenuState.h"

#include "app/core/CommandIds.h"

PopupMenuState PopupItemStates(int position, int selected, int rows, int items, bool autoConvert) {
  PopupMenuState state{};
  if (position == 1) {
    state.count = 5;
    state.items[0] = {ID_EDIT_ADDITEM, true, false};
    state.items[1] = {ID_EDIT_EDITITEM, selected == 1, false};
    state.items[2] = {ID_EDIT_DELETEITEMS, selected >= 1, false};
    state.items[3] = {ID_EDIT_SELECTALL, rows > 0 && selected != rows, false};
    state.items[4] = {ID_EDIT_DESELECTALL, rows > 0 && selected > 0, false};
  } else if (position == 2) {
    state.count = 4;
    state.items[0] = {ID_CONVERT_ALL, items > 0, false};
    state.items[1] = {ID_CONVERT_SELECTED, selected >= 1, false};
    state.items[2] = {ID_CONVERT_CHANGED, items > 0, false};
    // Watching an empty project is allowed: items added later join it.
    state.items[3] = {ID_CONVERT_AUTO, true, autoConvert};
  }
  return state;
}

#include "app/core/MenuState.h"

#include "app/core/CommandIds.h"

PopupMenuState PopupItemStates(int position, int selected, int rows, int items) {
  PopupMenuState state{};
  if (position == 1) {
    state.count = 5;
    state.items[0] = {ID_EDIT_ADDITEM, true};
    state.items[1] = {ID_EDIT_EDITITEM, selected == 1};
    state.items[2] = {ID_EDIT_DELETEITEMS, selected >= 1};
    state.items[3] = {ID_EDIT_SELECTALL, rows > 0 && selected != rows};
    state.items[4] = {ID_EDIT_DESELECTALL, rows > 0 && selected > 0};
  } else if (position == 2) {
    state.count = 2;
    state.items[0] = {ID_CONVERT_ALL, items > 0};
    state.items[1] = {ID_CONVERT_SELECTED, selected >= 1};
  }
  return state;
}

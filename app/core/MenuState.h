// Which Edit and Convert menu items are enabled for the list's selection.
#pragma once

struct MenuItemState {
  int id;
  bool enabled;
  bool checked;
};

// The items a popup menu governs and whether each is enabled and checked.
struct PopupMenuState {
  int count;  // 0: the popup is left as it is
  MenuItemState items[5];
};

// `position` is the popup's index in the menu bar (1 Edit, 2 Convert);
// `selected` and `rows` count the list's selected and all rows, `items`
// the document's items; `autoConvert`: the automatic conversion is on.
PopupMenuState PopupItemStates(int position, int selected, int rows, int items,
                               bool autoConvert = false);

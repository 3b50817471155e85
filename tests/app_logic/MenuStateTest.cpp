// Menu enabling for each selection state.
#include <gtest/gtest.h>

#include "app/core/CommandIds.h"
#include "app/core/MenuState.h"

namespace {

// Enabled state of `id` in `state`; fails the test when the id is absent.
bool Enabled(const PopupMenuState& state, int id) {
  for (int i = 0; i < state.count; ++i)
    if (state.items[i].id == id) return state.items[i].enabled;
  ADD_FAILURE() << "no item " << id;
  return false;
}

struct EditRow {
  const char* name;
  int selected, rows;
  bool edit, remove, selectAll, deselectAll;
};

TEST(MenuStateTest, EditPopupFollowsSelection) {
  const EditRow rows[] = {
      {"empty list", 0, 0, false, false, false, false},
      {"none selected", 0, 3, false, false, true, false},
      {"one selected", 1, 3, true, true, true, true},
      {"several selected", 2, 3, false, true, true, true},
      {"all selected", 3, 3, false, true, false, true},
      {"one row, selected", 1, 1, true, true, false, true},
  };
  for (const EditRow& row : rows) {
    SCOPED_TRACE(row.name);
    const PopupMenuState state = PopupItemStates(1, row.selected, row.rows, row.rows);
    EXPECT_TRUE(Enabled(state, ID_EDIT_ADDITEM));
    EXPECT_EQ(row.edit, Enabled(state, ID_EDIT_EDITITEM));
    EXPECT_EQ(row.remove, Enabled(state, ID_EDIT_DELETEITEMS));
    EXPECT_EQ(row.selectAll, Enabled(state, ID_EDIT_SELECTALL));
    EXPECT_EQ(row.deselectAll, Enabled(state, ID_EDIT_DESELECTALL));
  }
}

struct ConvertRow {
  const char* name;
  int selected, items;
  bool autoConvert;
  bool all, selectedOnes, changed;
};

TEST(MenuStateTest, ConvertPopupFollowsItemsSelectionAndAutoConversion) {
  const ConvertRow rows[] = {
      {"no items", 0, 0, false, false, false, false},
      {"none selected", 0, 2, false, true, false, true},
      {"some selected", 2, 2, false, true, true, true},
      {"watching an empty project", 0, 0, true, false, false, false},
      {"watching", 1, 2, true, true, true, true},
  };
  for (const ConvertRow& row : rows) {
    SCOPED_TRACE(row.name);
    const PopupMenuState state =
        PopupItemStates(2, row.selected, row.items, row.items, row.autoConvert);
    EXPECT_EQ(row.all, Enabled(state, ID_CONVERT_ALL));
    EXPECT_EQ(row.selectedOnes, Enabled(state, ID_CONVERT_SELECTED));
    EXPECT_EQ(row.changed, Enabled(state, ID_CONVERT_CHANGED));
    EXPECT_TRUE(Enabled(state, ID_CONVERT_AUTO));
    for (int i = 0; i < state.count; ++i)
      EXPECT_EQ(row.autoConvert && state.items[i].id == ID_CONVERT_AUTO, state.items[i].checked);
  }
  EXPECT_EQ(0, PopupItemStates(0, 1, 1, 1).count);  // File popup untouched
}

}  // namespace

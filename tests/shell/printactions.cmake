# Printing from the main window: each tab's printout through the print dispatch, the menu items,
# errors, and the clipboard copies of the preview.
kovanta_add_test(test_printactions SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_printactions.cpp
                 LIBS kovanta_shell GUI)

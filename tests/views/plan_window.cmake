# The menu plan and requirements list inside the main window, end to end.
kovanta_add_test(test_planwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_planwindow.cpp
                 LIBS kovanta_shell GUI)

# Menu plans as files and the quick filter, in the main window.
kovanta_add_test(test_planfiles SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_planfiles.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_quickfilter SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_quickfilter.cpp
                 LIBS kovanta_shell GUI)

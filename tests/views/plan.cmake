kovanta_add_test(test_menuplan SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_menuplan.cpp
                 LIBS kovanta_views kovanta_grid GUI)

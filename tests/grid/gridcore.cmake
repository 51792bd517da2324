kovanta_add_test(test_gridcore SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_gridcore.cpp
                 LIBS kovanta_grid_core)
kovanta_add_test(test_numberentry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_numberentry.cpp
                 LIBS kovanta_grid_core)
kovanta_add_test(test_astringgrid SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_astringgrid.cpp
                 LIBS kovanta_grid GUI)
kovanta_add_test(test_gridsetup SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_gridsetup.cpp
                 LIBS kovanta_shell GUI)

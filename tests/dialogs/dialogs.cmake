kovanta_add_test(test_dirtree SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_dirtree.cpp
                 LIBS kovanta_dialogs GUI)
kovanta_add_test(test_pfaddatendefinition
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_pfaddatendefinition.cpp
                 LIBS kovanta_dialogs GUI)

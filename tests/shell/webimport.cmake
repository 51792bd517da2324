kovanta_add_test(test_webimport_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_webimport_shell.cpp
                 LIBS kovanta_shell GUI)

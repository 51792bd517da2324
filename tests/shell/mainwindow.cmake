kovanta_add_test(test_mainwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mainwindow.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_recipereading SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipereading.cpp
                 LIBS kovanta_shell kovanta_recipegen GUI)
kovanta_add_test(test_shellparts SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_shellparts.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_mainactions SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mainactions.cpp
                 LIBS kovanta_shell GUI)

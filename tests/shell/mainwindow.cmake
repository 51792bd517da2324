kovanta_add_test(test_mainwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mainwindow.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_recipereading SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipereading.cpp
                 LIBS kovanta_shell kovanta_recipegen GUI)
kovanta_add_test(test_shellparts SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_shellparts.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_mainactions SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mainactions.cpp
                 LIBS kovanta_shell GUI)
# The shell's units reach the window through ports, never include it back; no unit of the
# program grows past 600 lines with its header.
add_test(NAME check_structure
         COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/check_structure.py ${PROJECT_SOURCE_DIR}/src
                 --cycles shell --max-lines 600 .)

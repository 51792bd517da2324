kovanta_add_test(test_webrecipe SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_webrecipe.cpp
                 LIBS kovanta_webformat)

kovanta_add_test(test_http SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_http.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/scriptedserver.h LIBS kovanta_net)

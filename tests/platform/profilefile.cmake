kovanta_add_test(test_profilefile SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_profilefile.cpp
                 LIBS kovanta_platform)
kovanta_add_test(test_filesearch SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_filesearch.cpp
                 LIBS kovanta_platform)
kovanta_add_test(test_atomicfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_atomicfile.cpp
                 LIBS kovanta_platform)

kovanta_add_test(test_recipegen SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipegen.cpp
                 LIBS kovanta_recipe kovanta_recipegen)

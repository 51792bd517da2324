kovanta_add_test(test_requirements SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_requirements.cpp
                 LIBS kovanta_recipe)

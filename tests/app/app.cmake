kovanta_add_test(test_programplaces SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_programplaces.cpp
                 LIBS kovanta_app)
kovanta_add_test(test_recipescan SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipescan.cpp
                 LIBS kovanta_app kovanta_recipe)

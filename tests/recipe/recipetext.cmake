kovanta_add_test(test_recipetext SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipetext.cpp
                 LIBS kovanta_recipe)

kovanta_add_test(test_planfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_planfile.cpp
                 LIBS kovanta_recipe)
kovanta_add_test(test_requirementscsv SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_requirementscsv.cpp
                 LIBS kovanta_recipe)
kovanta_add_test(test_recipefilter SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipefilter.cpp
                 LIBS kovanta_recipe)

kovanta_add_fuzzer(fuzz_recipetext SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_recipetext.cpp
                   LIBS kovanta_recipe MIN_EDGES 915)

kovanta_add_test(test_jsonld SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_jsonld.cpp
                 LIBS kovanta_jsonld kovanta_recipe)

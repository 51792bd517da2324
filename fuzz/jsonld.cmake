kovanta_add_fuzzer(fuzz_jsonld SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_jsonld.cpp
                   LIBS kovanta_jsonld kovanta_recipe MIN_EDGES 3200)

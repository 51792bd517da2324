kovanta_add_fuzzer(fuzz_requirements SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_requirements.cpp
                   LIBS kovanta_recipe MIN_EDGES 800)

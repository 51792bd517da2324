kovanta_add_fuzzer(fuzz_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_reader.cpp
                   LIBS kovanta_recipe MIN_EDGES 685)

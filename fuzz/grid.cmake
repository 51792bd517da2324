kovanta_add_fuzzer(fuzz_numberentry SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_numberentry.cpp
                   LIBS kovanta_grid_core MIN_EDGES 580)

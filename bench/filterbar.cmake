kovanta_add_bench(bench_filterbar SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_filterbar.cpp
                  LIBS kovanta_shell GUI)

kovanta_add_bench(bench_sort SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_sort.cpp
                  LIBS kovanta_grid_core)

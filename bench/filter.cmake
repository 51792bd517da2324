kovanta_add_bench(bench_filter SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_filter.cpp
                  LIBS kovanta_recipe)

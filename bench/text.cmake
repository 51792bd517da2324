kovanta_add_bench(bench_preview SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_preview.cpp
                  LIBS kovanta_views kovanta_recipe GUI)

kovanta_add_bench(bench_requirements SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_requirements.cpp
                  LIBS kovanta_recipe)

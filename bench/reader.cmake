kovanta_add_bench(bench_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_reader.cpp
                  LIBS kovanta_recipe kovanta_recipegen)

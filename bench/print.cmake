# kovanta_recipegen comes from tools/, which is added after this folder: linked by name.
kovanta_add_bench(bench_print SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_print.cpp
                  LIBS kovanta_print_qt kovanta_recipegen GUI)

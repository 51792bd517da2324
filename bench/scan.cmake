# kovanta_recipegen comes from tools/, which is added after this folder: linked by name.
kovanta_add_bench(bench_scan SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_scan.cpp
                  LIBS kovanta_shell kovanta_recipegen GUI)
add_dependencies(bench_scan rezeptur)

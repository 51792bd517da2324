# kovanta_recipegen comes from tools/, which is added after this folder: linked by name.
kovanta_add_bench(bench_memory SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_memory.cpp
                  LIBS kovanta_shell kovanta_recipegen GUI)
add_dependencies(bench_memory rezeptur)

kovanta_add_test(test_program_help SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_help.cpp)
# Runs the three built programs.
add_dependencies(test_program_help kovanta rezeptur rezeptur-print)

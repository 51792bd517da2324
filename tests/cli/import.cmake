kovanta_add_test(test_rezeptur_import SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_import_cli.cpp
                 LIBS kovanta_platform)
# Runs the built companion.
add_dependencies(test_rezeptur_import rezeptur)

kovanta_add_test(test_rezeptur_print SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_cli.cpp
                 LIBS kovanta_recipe)
# Runs the built companion, which hands `print` on to rezeptur-print.
add_dependencies(test_rezeptur_print rezeptur rezeptur-print)

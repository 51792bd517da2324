kovanta_add_test(test_rezeptur_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_list.cpp
                 LIBS kovanta_recipe)
# Runs the built companion on the bundled samples.
add_dependencies(test_rezeptur_list rezeptur kovanta_samples)

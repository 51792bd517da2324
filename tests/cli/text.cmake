kovanta_add_test(test_rezeptur_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_text.cpp
                 LIBS kovanta_recipe)
# Runs the built companion.
add_dependencies(test_rezeptur_text rezeptur kovanta_samples)

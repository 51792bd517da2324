kovanta_add_test(test_rezeptur_requirements
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_requirements_cli.cpp LIBS kovanta_recipe)
# Runs the built companion on the golden directories under tests/data/requirements.
add_dependencies(test_rezeptur_requirements rezeptur)

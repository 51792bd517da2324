kovanta_add_test(test_doc_commands SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_doc_commands.cpp)
# Runs the built companion on the command lines of the docs.
add_dependencies(test_doc_commands rezeptur)

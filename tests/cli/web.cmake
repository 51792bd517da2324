kovanta_add_test(test_rezeptur_web SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_web.cpp
                 LIBS kovanta_platform)
# Runs the built companion.
add_dependencies(test_rezeptur_web rezeptur)

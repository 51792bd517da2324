kovanta_add_test(test_quantities SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_quantities.cpp
                 LIBS kovanta_recipe)
kovanta_add_test(test_records SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_records.cpp
                 LIBS kovanta_recipe)
kovanta_add_test(test_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_reader.cpp
                 LIBS kovanta_recipe)

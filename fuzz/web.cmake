kovanta_add_fuzzer(fuzz_web_answer SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_answer.cpp
                   LIBS kovanta_net MIN_EDGES 565)
kovanta_add_fuzzer(fuzz_web_page SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_page.cpp
                   LIBS kovanta_webformat MIN_EDGES 290)
kovanta_add_fuzzer(fuzz_web_drop SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_drop.cpp
                   LIBS kovanta_webimport_qt MIN_EDGES 1000)
